#pragma once
// Lines of a settings file: each ends with CR LF. A line is handed out without
// its CR and cut at a NUL byte (the stored line is a C string).

#include <cstddef>
#include <optional>
#include <string_view>

namespace quelor {

struct LineReader {
  std::string_view text;
  std::size_t position = 0;
};

// The next line without its line end, or nothing at the end of the text. A
// last fragment without LF is not a line (a file cut while being written).
// Only a CR is dropped before the LF: a bare LF ending loses no character.
std::optional<std::string_view> next_line(LineReader& reader);

}  // namespace quelor
