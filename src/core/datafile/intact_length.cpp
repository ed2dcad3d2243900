#include "datafile/intact_length.h"

namespace quelor {

std::size_t intact_length(std::string_view file) {
  const std::size_t lf = file.find('\n');
  if (lf == std::string_view::npos) return file.size();
  const std::size_t length = lf + 1;
  std::size_t end = file.size() - file.size() % length;
  while (end >= length && file.substr(end - length, length).find_first_not_of('\0') == std::string_view::npos)
    end -= length;
  return end;
}

}  // namespace quelor
