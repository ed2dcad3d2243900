#include "report/survey_time.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace quelor {

namespace {

constexpr double kDay = 86400.0;
constexpr double kQuarterHour = 900.0;

}  // namespace

SurveyTimeSpan survey_time_span(const SurveyData& s) {
  SurveyTimeSpan span;
  for (const LineReadings& l : s.line_readings) {
    if (!std::isfinite(l.earliest)) continue;
    span.first = std::isfinite(span.first) ? std::min(span.first, l.earliest) : l.earliest;
    span.last = std::isfinite(span.last) ? std::max(span.last, l.latest) : l.latest;
  }
  std::vector<double> offsets;
  for (const SurveyFix& f : s.fixes) {
    if (!std::isfinite(f.time) || !std::isfinite(f.time_of_day)) continue;
    double d = std::fmod(f.time - f.time_of_day, kDay);  // within a day, from -12 h to +14 h
    if (d < -12 * 3600.0) d += kDay;
    if (d > 14 * 3600.0) d -= kDay;
    offsets.push_back(d);
  }
  if (!offsets.empty()) {
    std::nth_element(offsets.begin(), offsets.begin() + static_cast<std::ptrdiff_t>(offsets.size() / 2), offsets.end());
    span.utc_offset_minutes = static_cast<int>(std::lround(offsets[offsets.size() / 2] / kQuarterHour) * 15);
  }
  return span;
}

std::string utc_offset_text(const std::optional<int>& minutes) {
  if (!minutes) return "time zone unknown";
  char text[16];
  std::snprintf(text, sizeof text, "UTC%c%02d:%02d", *minutes < 0 ? '-' : '+', std::abs(*minutes) / 60,
                std::abs(*minutes) % 60);
  return text;
}

}  // namespace quelor
