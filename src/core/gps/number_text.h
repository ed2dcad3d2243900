#pragma once
// Lenient number reading of NMEA field text, as the C library's atoi and atof
// read it (leading number, the rest ignored, 0 when there is none), but safe
// for any bytes: integers saturate instead of overflowing.

#include <cstddef>
#include <string_view>

namespace quelor {

// Optional sign and decimal digits at the start; 0 without digits.
int leading_int(std::string_view text);

// The longest floating-point number at the start (strtod rules); 0 without.
double leading_double(std::string_view text);

// printf's "%<width>.<decimals>f" (decimals 0 to 3) written into `out`
// (at least 64 bytes) without printf. False, with nothing promised in `out`,
// for what it leaves to printf: a value exactly half-way between two
// results (C libraries differ there), a magnitude of 2^53 or more, a value
// that is not finite.
bool fixed_point_text(double value, int width, int decimals, char* out, std::size_t& length);

// Hexadecimal digits at the start; false when there is none. Saturates at
// 0xFFFFFFFF.
bool leading_hex(std::string_view text, unsigned& value);

}  // namespace quelor
