#pragma once
// What a crew lead should look at on each line: walked faster than the
// speed bar's maximum (more than a tenth of its timed fix-to-fix steps),
// fewer readings per metre than half the survey's median line, fixes below
// the GPS warning mask (more than a tenth of them, with the worst values
// seen), and GPS outages: runs of readings logged without a position, with
// their local times.

#include <vector>

#include "gps/warning.h"
#include "report/line_table.h"
#include "report/survey_data.h"

namespace quelor {

struct LineLimits {
  double max_speed = 0.0;  // m/s; 0: no speed flag
  GpsWarningLimits gps{};  // the warning mask's settings
};

struct LineFlags {
  int line = 0;
  double seconds_timed = 0.0;  // between fixes
  double seconds_fast = 0.0;   // of those, above the maximum
  bool fast = false;
  bool sparse = false;
  long fixes = 0, poor_fixes = 0;  // fixes telling their quality; those below the mask
  bool poor_gps = false;
  int worst_quality = 0, fewest_satellites = 0;
  double worst_dilution = 0.0;
  std::vector<GpsOutage> outages;
};

inline constexpr double kFastShare = 0.1;     // of a line's timed steps
inline constexpr double kSparseShare = 0.5;   // of the median readings per metre
inline constexpr double kPoorGpsShare = 0.1;  // of a line's fixes

// The floor of readings per metre: half the median of the lines walked.
double readings_per_metre_floor(const std::vector<LineSummary>& lines);

std::vector<LineFlags> line_flags(const SurveyData& survey, const std::vector<LineSummary>& lines,
                                  const LineLimits& limits);

}  // namespace quelor
