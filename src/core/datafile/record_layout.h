#pragma once
// Fixed-length records of the survey data file: L bytes, the tag in column 0,
// L-1 characters, a line feed in column L-1. Fields are appended in order; a
// field that overflows its columns pushes the rest right and the tail is lost
// at the line feed.

#include <cstdint>
#include <string>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

// 27 in general; 24 for EM31-MK2 in the navigation line; 47 EM38-4; 65 CS-21.
int record_length(const Variant& v);

// printf into a std::string (C locale formats only: numbers and %s).
std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Text padded with spaces (or cut) to exactly `width` characters.
std::string fit_text(std::string_view text, std::size_t width);

// Text from outside (operator, file names, GPS receiver, tilt meter) with
// every character outside 32-126 replaced by '?', so that a stray line feed
// or control byte can never break the record framing.
std::string printable_text(std::string_view text);

// The record from its fields: cut to L-1 characters, padded with `fill` to
// L-1, then the line feed.
std::string finish_record(std::string body, int record_length, char fill = ' ');

// Record of the data part: `body` cut to the L-11 columns before the tick
// field, spaces, "%10lu" of the tick in columns L-11 to L-2, line feed.
std::string ticked_record(std::string_view body, std::uint32_t tick, int record_length);

// "%10lu" of a 32-bit tick.
std::string tick_field(std::uint32_t tick);

}  // namespace quelor
