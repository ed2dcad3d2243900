#include "gps/fields.h"

namespace quelor {

bool extract_field(std::string_view text, int n, char separator, std::string_view& out) {
  if (n < 1) return false;
  std::size_t begin = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t sep = text.find(separator, begin);
    if (sep == std::string_view::npos) return false;
    begin = sep + 1;
  }
  const std::size_t end = text.find(separator, begin);
  out = text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
  return true;
}

}  // namespace quelor
