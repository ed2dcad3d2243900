#include "gps/number_text.h"

#include <climits>
#include <cmath>
#include <cstdint>
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

namespace {

// strtod needs a terminated string; fields are short, longer text is cut.
double strtod_of(std::string_view text) {
  char buf[256];
  const std::size_t n = text.size() < sizeof buf - 1 ? text.size() : sizeof buf - 1;
  if (n > 0) std::memcpy(buf, text.data(), n);
  buf[n] = '\0';
  return std::strtod(buf, nullptr);
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double leading_double(std::string_view text) {
  // The plain decimal form of NMEA fields, read in place: with at most 15
  // digits the digits and the power of ten are exact doubles, so their
  // quotient is the correctly rounded value strtod gives. Every other form
  // (blanks, exponent, hexadecimal, inf, nan, long digit strings) goes to strtod.
  const std::size_t size = text.size();
  std::size_t i = 0;
  const bool negative = size > 0 && text[0] == '-';
  if (size > 0 && (text[0] == '-' || text[0] == '+')) i = 1;
  std::uint64_t mantissa = 0;
  int digits = 0, decimals = 0;
  for (; i < size && is_digit(text[i]); ++i, ++digits) mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
  if (i < size && text[i] == '.') {
    for (++i; i < size && is_digit(text[i]); ++i, ++digits, ++decimals)
      mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
  }
  const bool plain = digits > 0 && digits <= 15 &&
                     (i == size || (text[i] != 'e' && text[i] != 'E' && text[i] != 'x' && text[i] != 'X'));
  if (!plain) return strtod_of(text);
  const double value = static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
  return negative ? -value : value;
}

bool fixed_point_text(double value, int width, int decimals, char* out, std::size_t& length) {
  constexpr double kLimit = 9007199254740992.0;  // 2^53
  static constexpr std::uint64_t kScale[] = {1, 10, 100, 1000};
  if (!std::isfinite(value) || std::fabs(value) >= kLimit || decimals < 0 || decimals > 3 || width > 40) return false;
  // |value| = mantissa x 2^-shift exactly, mantissa < 2^53.
  // Read from the bits, not frexp/ldexp (library calls on the fix path).
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << 52) - 1;
  const std::uint64_t mantissa = biased == 0 ? bits & kFractionMask : (bits & kFractionMask) | (std::uint64_t{1} << 52);
  const int shift = 1075 - (biased == 0 ? 1 : biased);  // >= 0 below 2^53
  const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kScale[decimals];
  std::uint64_t units = 0;  // |value| x 10^decimals, rounded to nearest
  if (shift == 0) {
    units = static_cast<std::uint64_t>(scaled);
  } else if (shift < 128) {
    const unsigned __int128 one = 1;
    units = static_cast<std::uint64_t>(scaled >> shift);
    const unsigned __int128 rest = scaled - (static_cast<unsigned __int128>(units) << shift);
    const unsigned __int128 half = one << (shift - 1);
    if (rest == half) return false;
    if (rest > half) ++units;
  } else if (mantissa != 0) {
    if (scaled >= (static_cast<unsigned __int128>(1) << 127)) return false;  // cannot happen below 2^53
  }
  // digits[0] is the last decimal; at least one digit before the point.
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units > 0);
  while (n <= decimals) digits[n++] = '0';
  char text[48];
  std::size_t t = 0;
  if (std::signbit(value)) text[t++] = '-';
  for (int i = n - 1; i >= decimals; --i) text[t++] = digits[i];
  if (decimals > 0) {
    text[t++] = '.';
    for (int i = decimals - 1; i >= 0; --i) text[t++] = digits[i];
  }
  const std::size_t pad = static_cast<std::size_t>(width) > t ? static_cast<std::size_t>(width) - t : 0;
  for (std::size_t i = 0; i < pad; ++i) out[i] = ' ';
  std::memcpy(out + pad, text, t);
  length = pad + t;
  out[length] = '\0';
  return true;
}

bool decimal_field_text(std::string_view field, int width, int decimals, char* out, std::size_t& length) {
  constexpr int kExactDigits = 15;  // integer digits + decimals printed stay below 2^53
  if (decimals < 0 || decimals > 3 || width > 40) return false;
  std::size_t i = 0;
  const bool negative = !field.empty() && field[0] == '-';
  if (!field.empty() && (field[0] == '-' || field[0] == '+')) i = 1;
  while (i + 1 < field.size() && field[i] == '0' && is_digit(field[i + 1])) ++i;  // leading zeros
  const std::size_t int_begin = i;
  while (i < field.size() && is_digit(field[i])) ++i;
  const std::size_t int_digits = i - int_begin;
  std::size_t frac_begin = i, frac_digits = 0;
  if (i < field.size() && field[i] == '.') {
    frac_begin = ++i;
    while (i < field.size() && is_digit(field[i])) ++i;
    frac_digits = i - frac_begin;
  }
  if (i != field.size() || int_digits + frac_digits == 0 || frac_digits > static_cast<std::size_t>(decimals) ||
      int_digits + static_cast<std::size_t>(decimals) > kExactDigits)
    return false;
  // Written straight into `out`: a copy from a buffer just written byte by
  // byte stalls on the stores.
  const std::size_t shown = (negative ? 1 : 0) + (int_digits == 0 ? 1 : int_digits) +
                            (decimals > 0 ? 1 + static_cast<std::size_t>(decimals) : 0);
  std::size_t t = 0;
  while (t + shown < static_cast<std::size_t>(width)) out[t++] = ' ';
  if (negative) out[t++] = '-';
  if (int_digits == 0) out[t++] = '0';
  for (std::size_t k = 0; k < int_digits; ++k) out[t++] = field[int_begin + k];
  if (decimals > 0) {
    out[t++] = '.';
    for (int k = 0; k < decimals; ++k)
      out[t++] = static_cast<std::size_t>(k) < frac_digits ? field[frac_begin + static_cast<std::size_t>(k)] : '0';
  }
  length = t;
  out[length] = '\0';
  return true;
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
