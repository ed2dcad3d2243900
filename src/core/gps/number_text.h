#pragma once
// Lenient number reading of NMEA field text, as the C library's atoi and atof
// read it (leading number, the rest ignored, 0 when there is none), but safe
// for any bytes: integers saturate instead of overflowing.

#include <cstddef>
#include <string_view>

namespace quelor {

// The powers of ten a double holds exactly.
inline constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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

// The same text for a field that is a plain decimal ("-12.5", "0.9", "7."),
// from its own digits: the field's value is printed back exactly when it has
// no more decimals than asked and the digits stay within double precision.
// False for any other field (fixed_point_text then prints the value).
bool decimal_field_text(std::string_view field, int width, int decimals, char* out, std::size_t& length);

// Hexadecimal digits at the start; false when there is none. Saturates at
// 0xFFFFFFFF.
bool leading_hex(std::string_view text, unsigned& value);

}  // namespace quelor
