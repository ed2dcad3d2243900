#include "serial/text_fields.h"

#include <array>
#include <cmath>
#include <cctype>
#include <cstdlib>

namespace quelor {

double text_atof(std::string_view text) {
  std::array<char, 64> buffer{};
  const std::size_t n = text.size() < buffer.size() - 1 ? text.size() : buffer.size() - 1;
  for (std::size_t i = 0; i < n; ++i) buffer[i] = text[i];
  return std::atof(buffer.data());
}

double record_atof(std::span<const std::uint8_t> record, std::size_t first, std::size_t count) {
  if (first >= record.size()) return 0.0;
  if (count > record.size() - first) count = record.size() - first;
  return text_atof({reinterpret_cast<const char*>(record.data() + first), count});
}

std::optional<std::string_view> text_field(std::string_view text, int n, char separator) {
  if (n < 1) return std::nullopt;
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t sep = text.find(separator, start);
    if (sep == std::string_view::npos) return std::nullopt;
    start = sep + 1;
  }
  const std::size_t end = text.find(separator, start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

namespace {

std::size_t skip_digits(std::string_view s, std::size_t i, int& digits) {
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    ++i;
    ++digits;
  }
  return i;
}

}  // namespace

std::optional<double> numeric_field(std::string_view field) {
  const std::size_t star = field.find('*');
  if (star != std::string_view::npos) field = field.substr(0, star);
  std::size_t i = 0;
  int digits = 0;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) ++i;
  i = skip_digits(field, i, digits);
  if (i < field.size() && field[i] == '.') i = skip_digits(field, i + 1, digits);
  if (digits == 0) return std::nullopt;
  if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < field.size() && (field[j] == '+' || field[j] == '-')) ++j;
    int exponent_digits = 0;
    j = skip_digits(field, j, exponent_digits);
    if (exponent_digits == 0) return std::nullopt;
    i = j;
  }
  if (i != field.size()) return std::nullopt;
  const double value = text_atof(field);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::uint16_t be_u16(std::span<const std::uint8_t> record, std::size_t first) {
  const unsigned high = first < record.size() ? record[first] : 0;
  const unsigned low = first + 1 < record.size() ? record[first + 1] : 0;
  return static_cast<std::uint16_t>(high << 8 | low);
}

std::int16_t be_s16(std::span<const std::uint8_t> record, std::size_t first) {
  return static_cast<std::int16_t>(be_u16(record, first));
}

}  // namespace quelor
