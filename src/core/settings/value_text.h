#pragma once
// Text of one settings value, as the settings files hold it: printf-style
// "%d", "%ld", "%f" (C locale, six decimals) when writing; atoi, atol and atof
// (leading number, anything else gives 0) when reading.

#include <string>
#include <string_view>

#include "settings/settings.h"

namespace quelor {

std::string format_int(int value);          // "%d"
std::string format_long(long value);        // "%ld" of a 32-bit long
std::string format_colour(ColorRef value);  // "%ld" of the COLORREF
std::string format_double(double value);    // "%f"

// atoi: leading blanks, a sign and digits; garbage gives 0; values beyond the
// 32-bit range are held at its ends.
int parse_int(std::string_view text);
// atol of a 32-bit long (as on Windows), held at the 32-bit range.
long parse_long(std::string_view text);
// atol into a COLORREF: the 32-bit pattern of the long.
ColorRef parse_colour(std::string_view text);
// atof: leading blanks, then the longest decimal number; garbage gives 0.
double parse_double(std::string_view text);

// Wide text written one byte per character: the high byte of each is dropped.
std::string narrow_text(std::wstring_view text);
// Wide text as 8-bit text that cannot break a line: printable Latin-1
// characters (0x20-0x7E, 0xA0-0xFF) keep their byte, every other character
// (controls, and those whose dropped high byte would leave a CR, LF or other
// control byte, such as U+040A and U+040D) becomes '?'.
std::string narrow_printable(std::wstring_view text);
// The same for 8-bit text.
std::string printable_bytes(std::string_view text);
// Strictly printable ASCII (0x20-0x7E), anything else '?': text for devices.
std::string narrow_ascii(std::wstring_view text);
// 8-bit text widened character by character (bytes read as 0..255).
std::wstring widen_text(std::string_view text);

}  // namespace quelor
