#pragma once
// What the remarks of a data file mean to a crew lead: a table from the
// remark texts the program writes to plain words, and the count of readings
// a "Lost" remark tells.

#include <string>
#include <string_view>
#include <vector>

#include "report/survey_data.h"

namespace quelor {

// "logging started", "pause", "instrument connection break", ... ; a
// comment is "comment"; an unknown remark is "remark".
std::string_view remark_meaning(char tag, std::string_view text);

// "Lost %6u": the readings the full reading queue dropped; 0 for any other.
long lost_readings(std::string_view text);

// The remarks by meaning, in the order each meaning first appears, with
// their count and the times of the first and the last.
struct RemarkGroup {
  std::string meaning;
  long count = 0;
  double first = kNoTime, last = kNoTime;
};
std::vector<RemarkGroup> remark_groups(const std::vector<SurveyRemark>& remarks);

}  // namespace quelor
