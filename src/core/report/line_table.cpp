#include "report/line_table.h"

#include <algorithm>
#include <cmath>

#include "survey/gps_fix_handler.h"

namespace quelor {

namespace {

double distance(PlanePoint a, PlanePoint b) { return std::hypot(b.easting - a.easting, b.northing - a.northing); }

}  // namespace

std::optional<FixStep> fix_step(const SurveyFix& previous, const SurveyFix& fix) {
  if (previous.segment != fix.segment || previous.line != fix.line) return std::nullopt;
  const double t = seconds_between_fixes(previous.time_of_day, fix.time_of_day);
  if (!(t > 0)) return std::nullopt;
  return FixStep{distance(previous.position, fix.position), t};
}

std::vector<LineSummary> line_table(const SurveyData& survey) {
  std::vector<LineSummary> rows(survey.lines.size());
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].line = static_cast<int>(i);
  for (std::size_t i = 0; i < rows.size() && i < survey.line_readings.size(); ++i) {
    const LineReadings& l = survey.line_readings[i];
    rows[i].readings = l.readings;
    rows[i].positioned = l.positioned;
    rows[i].length = l.length;
    rows[i].start = l.start;
    rows[i].end = l.end;
  }
  std::vector<double> moving(rows.size(), 0.0), walked(rows.size(), 0.0);
  for (std::size_t i = 1; i < survey.fixes.size(); ++i) {
    const SurveyFix& a = survey.fixes[i - 1];
    const SurveyFix& b = survey.fixes[i];
    const auto step = fix_step(a, b);
    if (!step) continue;
    LineSummary& row = rows[static_cast<std::size_t>(b.line)];
    walked[static_cast<std::size_t>(b.line)] += step->distance;
    moving[static_cast<std::size_t>(b.line)] += step->seconds;
    row.max_speed = std::isfinite(row.max_speed) ? std::max(row.max_speed, step->speed()) : step->speed();
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (moving[i] > 0) rows[i].mean_speed = walked[i] / moving[i];
    if (rows[i].length > 0) rows[i].readings_per_metre = static_cast<double>(rows[i].positioned) / rows[i].length;
  }
  return rows;
}

}  // namespace quelor
