#include "settings/line_reader.h"

namespace quelor {

std::optional<std::string_view> next_line(LineReader& reader) {
  std::string_view rest = reader.text.substr(reader.position);
  std::size_t lf = rest.find('\n');
  if (lf == std::string_view::npos) {
    reader.position = reader.text.size();
    return std::nullopt;
  }
  reader.position += lf + 1;
  std::string_view line = rest.substr(0, lf);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t nul = line.find('\0');
  if (nul != std::string_view::npos) line = line.substr(0, nul);
  return line;
}

}  // namespace quelor
