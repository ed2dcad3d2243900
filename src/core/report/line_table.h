#pragma once
// The report's table of lines: for each line block, its length walked with
// positions, its readings and readings per metre, the mean and maximum speed
// between its GPS fixes, and its time.

#include <optional>
#include <vector>

#include "report/survey_data.h"

namespace quelor {

struct LineSummary {
  int line = 0;  // index into SurveyData::lines
  long readings = 0;
  long positioned = 0;              // readings with a position
  double length = 0.0;              // metres, between consecutive positioned readings
  double readings_per_metre = 0.0;  // positioned readings / length; 0 without length
  double mean_speed = kNoTime;      // m/s: distance over time between its fixes; NaN without two fixes
  double max_speed = kNoTime;       // m/s: the fastest fix-to-fix step
  double start = kNoTime;           // local time of its first and last reading
  double end = kNoTime;
};

// The step between two fixes of one line and path segment, timed as the live
// speed is: by the sentences' times of day (past midnight wrapped). Nothing
// across lines or segments or without time.
struct FixStep {
  double distance = 0.0;  // metres
  double seconds = 0.0;
  double speed() const { return distance / seconds; }
};
std::optional<FixStep> fix_step(const SurveyFix& previous, const SurveyFix& fix);

std::vector<LineSummary> line_table(const SurveyData& survey);

}  // namespace quelor
