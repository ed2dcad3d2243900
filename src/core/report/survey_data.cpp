#include "report/survey_data.h"

#include <algorithm>
#include <cstdio>

namespace quelor {

namespace {

double distance(PlanePoint a, PlanePoint b) { return std::hypot(b.easting - a.easting, b.northing - a.northing); }

// Within a pause of the previous reading: NaN times never break a run.
bool near_in_time(const SurveyReading& previous, const SurveyReading& r) {
  return !(std::fabs(r.time - previous.time) > kLineStepGap);
}

void add_time(LineReadings& l, double time) {
  if (!std::isfinite(time)) return;
  if (!std::isfinite(l.start)) l.start = time;
  l.end = time;
  l.earliest = std::isfinite(l.earliest) ? std::min(l.earliest, time) : time;
  l.latest = std::isfinite(l.latest) ? std::max(l.latest, time) : time;
}

void add_outage_reading(LineReadings& l, const SurveyReading& r) {
  const bool goes_on = l.last && !l.last->positioned && near_in_time(*l.last, r);
  if (!goes_on) l.outages.push_back({r.time, r.time, 0});
  l.outages.back().end = r.time;
  ++l.outages.back().readings;
}

// The run's last position is always the latest one; a last position within
// a step of the one before it gives way to the next.
void add_position(SurveyData& s, const SurveyReading& r) {
  const std::size_t n = s.positions.size();
  if (s.position_lines.empty() || s.position_lines.back().line != r.line) {
    s.position_lines.push_back({n, r.line});
  } else if (n >= s.position_lines.back().first + 2 &&
             distance(s.positions[n - 2], s.positions[n - 1]) < kKeptPositionStep) {
    s.positions.back() = r.position;
    return;
  }
  s.positions.push_back(r.position);
}

}  // namespace

void add_reading(SurveyData& s, const SurveyReading& r) {
  const std::size_t index = static_cast<std::size_t>(std::max(r.line, 0));
  if (s.line_readings.size() <= index) s.line_readings.resize(index + 1);
  LineReadings& l = s.line_readings[index];
  ++l.readings;
  add_time(l, r.time);
  if (r.positioned) {
    ++l.positioned;
    if (l.last_positioned && near_in_time(*l.last_positioned, r))
      l.length += distance(l.last_positioned->position, r.position);
    l.last_positioned = r;
    add_position(s, r);
  } else {
    add_outage_reading(l, r);
  }
  l.last = r;
}

long reading_count(const SurveyData& s) {
  long n = 0;
  for (const LineReadings& l : s.line_readings) n += l.readings;
  return n;
}

long positioned_count(const SurveyData& s) {
  long n = 0;
  for (const LineReadings& l : s.line_readings) n += l.positioned;
  return n;
}

std::string clock_text(double seconds) {
  if (!std::isfinite(seconds)) return "-";
  const long s = static_cast<long>(std::floor(seconds + 0.5)) % 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  return text;
}

}  // namespace quelor
