#include "datafile/intact_length.h"

#include "datafile/record_cursor.h"

namespace quelor {

std::size_t intact_length(std::string_view file) {
  const DataFile f = open_data_file(file);
  if (f.record_length == 0) return file.size();
  const std::size_t length = static_cast<std::size_t>(f.record_length);
  std::size_t end = file.size() - f.trailing_bytes();
  while (end >= length && file.substr(end - length, length).find_first_not_of('\0') == std::string_view::npos)
    end -= length;
  return end;
}

}  // namespace quelor
