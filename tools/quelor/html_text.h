#pragma once
// Text for a self-contained HTML page: escaping, base64 data URIs, numbers.

#include <string>
#include <string_view>

namespace quelor::tool {

// &, <, >, " and ' as entities.
std::string html_escape(std::string_view text);

// "data:<type>;base64,..." of the bytes.
std::string data_uri(std::string_view type, std::string_view bytes);

// printf into a string.
std::string html_format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace quelor::tool
