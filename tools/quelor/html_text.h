#pragma once
// Text for a self-contained HTML page: escaping, base64 data URIs, numbers.

#include <cstdio>
#include <string>
#include <string_view>

namespace quelor::tool {

// &, <, >, " and ' as entities.
std::string html_escape(std::string_view text);

// "data:<type>;base64,..." of the bytes.
std::string data_uri(std::string_view type, std::string_view bytes);

// printf into a string. MinGW-w64's C++ library takes its own printf, which
// knows %zu, not the Windows C runtime's: the format is checked as that one.
#ifdef __MINGW_PRINTF_FORMAT
std::string html_format(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
#else
std::string html_format(const char* format, ...) __attribute__((format(printf, 1, 2)));
#endif

}  // namespace quelor::tool
