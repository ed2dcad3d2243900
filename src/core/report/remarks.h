#pragma once
// What the remarks of a data file mean to a crew lead: a table from the
// remark texts the program writes to plain words, and the count of readings
// a "Lost" remark tells.

#include <string>
#include <string_view>

namespace quelor {

// "logging started", "pause", "instrument connection break", ... ; a
// comment is "comment"; an unknown remark is "remark".
std::string_view remark_meaning(char tag, std::string_view text);

// "Lost %6u": the readings the full reading queue dropped; 0 for any other.
long lost_readings(std::string_view text);

}  // namespace quelor
