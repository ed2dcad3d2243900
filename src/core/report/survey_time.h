#pragma once
// When a survey was walked: the local time span of its readings and the
// time zone of the local clock, told by the fixes (their GPS time of day is
// UTC, their local time comes from the file's time marks).

#include <optional>
#include <string>

#include "report/survey_data.h"

namespace quelor {

struct SurveyTimeSpan {
  double first = kNoTime, last = kNoTime;  // local seconds since midnight
  std::optional<int> utc_offset_minutes;   // local minus UTC, to a quarter hour
};

SurveyTimeSpan survey_time_span(const SurveyData& survey);

// "UTC+01:00", "UTC-05:30"; "time zone unknown" without an offset.
std::string utc_offset_text(const std::optional<int>& minutes);

}  // namespace quelor
