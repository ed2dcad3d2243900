#include "setup/entry_text.h"

#include <cmath>
#include <cstdio>

#include "settings/value_text.h"

namespace quelor {

namespace {

// Characters past the ASCII range end the number, as they would for wcstod.
std::string ascii_prefix(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) {
    if (c == 0 || static_cast<unsigned>(c) > 0x7F) break;
    out += static_cast<char>(c);
  }
  return out;
}

bool has_digit_before_end_of_number(const std::string& text) {
  for (char c : text) {
    if (c >= '0' && c <= '9') return true;
    if (c != ' ' && c != '\t' && c != '+' && c != '-' && c != '.') return false;
  }
  return false;
}

}  // namespace

std::optional<double> entered_number(std::wstring_view text) {
  const std::string ascii = ascii_prefix(text);
  if (!has_digit_before_end_of_number(ascii)) return std::nullopt;
  const double value = parse_double(ascii);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double entered_number_or_zero(std::wstring_view text) { return entered_number(text).value_or(0.0); }

std::wstring format_entry(const char* pattern, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return widen_text(buffer);
}

std::wstring format_entry_int(const char* pattern, int value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return widen_text(buffer);
}

}  // namespace quelor
