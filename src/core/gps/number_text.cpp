#include "gps/number_text.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace quelor {

namespace {

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

int leading_int(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) {
      value = static_cast<long long>(INT_MAX) + 1;
      // Keep consuming digits; the value stays saturated.
    }
  }
  if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

double leading_double(std::string_view text) {
  // strtod needs a terminated string; fields are short, longer text is cut.
  char buf[256];
  const std::size_t n = text.size() < sizeof buf - 1 ? text.size() : sizeof buf - 1;
  if (n > 0) std::memcpy(buf, text.data(), n);
  buf[n] = '\0';
  return std::strtod(buf, nullptr);
}

bool leading_hex(std::string_view text, unsigned& value) {
  value = 0;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const int d = hex_digit(text[i]);
    if (d < 0) break;
    value = value > 0x0FFFFFFFu ? 0xFFFFFFFFu : value * 16u + static_cast<unsigned>(d);
  }
  return i > 0;
}

}  // namespace quelor
