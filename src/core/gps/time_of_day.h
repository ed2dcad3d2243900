#pragma once
// NMEA time of day: "hhmmss.ss" to seconds since midnight.

#include <string_view>

namespace quelor {

// hours = the first two characters, minutes = the next two, seconds = the
// rest as a floating value (each read leniently, 0 when not a number).
double time_of_day_seconds(std::string_view field);

}  // namespace quelor
