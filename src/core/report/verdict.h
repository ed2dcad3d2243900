#pragma once
// The report's verdict line: "complete", or what is missing and where
// (gaps wider than a swath with the lines on either side, lines walked
// without positions, readings lost, coverage that cannot be told, a file
// cut off or ending while logging, and each line's flags: too fast, too few
// readings per metre, GPS below the warning mask, GPS outages with their
// times).

#include <string>
#include <vector>

#include "report/coverage.h"
#include "report/line_flags.h"
#include "report/line_table.h"
#include "report/survey_data.h"

namespace quelor {

struct Verdict {
  bool complete = false;
  std::vector<std::string> findings;
  std::string text;  // "complete", or "incomplete: " and the findings joined by "; "
};

// Gaps listed one by one; the rest counted.
inline constexpr std::size_t kVerdictGaps = 8;
// A line is reported when more of its readings than this share lack a position.
inline constexpr double kUnpositionedShare = 0.05;

// A line's name as the report shows it ("3", or "day2.R31 line 3" when the
// survey spans several files).
std::string line_label(const SurveyData& survey, int line);

// The files whose last logging run has no pause after it.
std::vector<std::string> files_ending_while_logging(const SurveyData& survey);

Verdict survey_verdict(const SurveyData& survey, const std::vector<LineSummary>& lines, const Coverage& coverage,
                       const std::vector<LineFlags>& flags = {});

}  // namespace quelor
