#include "settings/value_text.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace quelor {

namespace {

constexpr bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view skip_blanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_blank(text[i])) ++i;
  return text.substr(i);
}

// Sign and digits at the start of `text`, held at the 32-bit range.
std::int32_t parse_int32(std::string_view text) {
  text = skip_blanks(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

template <class T>
std::string to_text(T value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string format_int(int value) { return to_text(value); }

std::string format_long(long value) { return to_text(static_cast<std::int32_t>(value)); }

std::string format_colour(ColorRef value) { return to_text(static_cast<std::int32_t>(value)); }

std::string format_double(double value) {
  char buffer[400];  // DBL_MAX in fixed notation has 309 digits before the point
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

int parse_int(std::string_view text) { return parse_int32(text); }

long parse_long(std::string_view text) { return parse_int32(text); }

ColorRef parse_colour(std::string_view text) { return static_cast<ColorRef>(parse_int32(text)); }

double parse_double(std::string_view text) {
  text = skip_blanks(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text[0] == '+' || text[0] == '-') return 0.0;
  double value = 0.0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  // Out of range: strtod gives HUGE_VAL, or a value tending to 0.
  if (result.ec == std::errc::result_out_of_range) {
    bool tiny = false;
    for (const char* p = text.data(); p != result.ptr; ++p) {
      if (*p == 'e' || *p == 'E') {
        tiny = p + 1 != result.ptr && p[1] == '-';
        break;
      }
    }
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

std::string narrow_text(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out += static_cast<char>(static_cast<unsigned>(c) & 0xFFu);
  return out;
}

namespace {
bool printable_ascii(unsigned c) { return c >= 0x20 && c <= 0x7E; }
bool printable_latin1(unsigned c) { return printable_ascii(c) || (c >= 0xA0 && c <= 0xFF); }

template <typename Keep>
std::string narrow_keeping(std::wstring_view text, Keep keep) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    const unsigned code = static_cast<unsigned>(c);
    out += keep(code) ? static_cast<char>(code) : '?';
  }
  return out;
}
}  // namespace

std::string narrow_printable(std::wstring_view text) { return narrow_keeping(text, printable_latin1); }

std::string narrow_ascii(std::wstring_view text) { return narrow_keeping(text, printable_ascii); }

std::string printable_bytes(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (!printable_latin1(static_cast<unsigned char>(c))) c = '?';
  return out;
}

std::wstring widen_text(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

}  // namespace quelor
