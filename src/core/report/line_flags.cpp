#include "report/line_flags.h"

#include <algorithm>
#include <cmath>

namespace quelor {

namespace {

constexpr double kShortestLine = 1.0;  // metres: shorter lines tell no readings per metre

// A fix tells its quality unless every field is empty (GLL and the pseudo
// formats carry none).
bool tells_quality(const SurveyFix& f) { return f.quality > 0 || f.satellites > 0 || f.dilution > 0; }

bool below_mask(const SurveyFix& f, const GpsWarningLimits& m) {
  return f.satellites < m.minimum_satellites || f.dilution > m.maximum_dilution ||
         f.quality < m.minimum_quality_index + 1;
}

void add_fix(LineFlags& flags, const SurveyFix& f, const GpsWarningLimits& mask) {
  if (!mask.enabled || !tells_quality(f)) return;
  if (flags.fixes == 0) {
    flags.worst_quality = f.quality;
    flags.fewest_satellites = f.satellites;
    flags.worst_dilution = f.dilution;
  }
  ++flags.fixes;
  flags.poor_fixes += below_mask(f, mask);
  flags.worst_quality = std::min(flags.worst_quality, f.quality);
  flags.fewest_satellites = std::min(flags.fewest_satellites, f.satellites);
  flags.worst_dilution = std::max(flags.worst_dilution, f.dilution);
}

}  // namespace

double readings_per_metre_floor(const std::vector<LineSummary>& lines) {
  std::vector<double> rates;
  for (const LineSummary& l : lines)
    if (l.length >= kShortestLine) rates.push_back(l.readings_per_metre);
  if (rates.empty()) return 0.0;
  std::nth_element(rates.begin(), rates.begin() + static_cast<std::ptrdiff_t>(rates.size() / 2), rates.end());
  return kSparseShare * rates[rates.size() / 2];
}

std::vector<LineFlags> line_flags(const SurveyData& s, const std::vector<LineSummary>& lines,
                                  const LineLimits& limits) {
  std::vector<LineFlags> flags(s.lines.size());
  for (std::size_t i = 0; i < flags.size(); ++i) flags[i].line = static_cast<int>(i);
  for (std::size_t i = 0; i < s.fixes.size(); ++i) {
    const SurveyFix& b = s.fixes[i];
    LineFlags& f = flags[static_cast<std::size_t>(b.line)];
    add_fix(f, b, limits.gps);
    if (i == 0) continue;
    const auto step = fix_step(s.fixes[i - 1], b);
    if (!step) continue;
    f.seconds_timed += step->seconds;
    if (limits.max_speed > 0 && step->speed() > limits.max_speed) f.seconds_fast += step->seconds;
  }
  for (std::size_t i = 0; i < flags.size() && i < s.line_readings.size(); ++i)
    flags[i].outages = s.line_readings[i].outages;
  const double floor = readings_per_metre_floor(lines);
  for (LineFlags& f : flags) {
    f.fast = f.seconds_timed > 0 && f.seconds_fast > kFastShare * f.seconds_timed;
    f.poor_gps = f.fixes > 0 && static_cast<double>(f.poor_fixes) > kPoorGpsShare * static_cast<double>(f.fixes);
  }
  for (const LineSummary& l : lines)
    if (l.length >= kShortestLine && l.readings_per_metre < floor)
      flags[static_cast<std::size_t>(l.line)].sparse = true;
  return flags;
}

}  // namespace quelor
