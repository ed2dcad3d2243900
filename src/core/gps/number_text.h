#pragma once
// Lenient number reading of NMEA field text, as the C library's atoi and atof
// read it (leading number, the rest ignored, 0 when there is none), but safe
// for any bytes: integers saturate instead of overflowing.

#include <string_view>

namespace quelor {

// Optional sign and decimal digits at the start; 0 without digits.
int leading_int(std::string_view text);

// The longest floating-point number at the start (strtod rules); 0 without.
double leading_double(std::string_view text);

// Hexadecimal digits at the start; false when there is none. Saturates at
// 0xFFFFFFFF.
bool leading_hex(std::string_view text, unsigned& value);

}  // namespace quelor
