#pragma once
// What every reading handler does after it has written a reading record:
// the station advance, the line and survey counts and the status texts.

#include <cstdint>
#include <string>

#include "survey/survey_record.h"

namespace quelor {

struct LoggedTexts {
  std::string station;       // "%-11.2f"
  std::string survey_count;  // "%-7d"
  std::string line_count;    // "%-6d"
  std::string elapsed;       // "%02d:%02d:%02d"
};

// The station advances by its increment from the second written reading of
// a line on (the first is written at the line's start station); both counts
// grow by one; the readings-since-last-record counter restarts.
LoggedTexts count_logged_reading(SurveyRecord& survey, std::uint32_t now);

// The EM61 rule: a reading that arrived before logging started is not written.
bool arrived_while_logging(const SurveyRecord& survey, std::uint32_t tick);

}  // namespace quelor
