#include "survey/em34_station_group.h"

#include <array>
#include <cstdio>

#include "survey/reading_handler.h"

namespace quelor {

namespace {

constexpr std::array<int, 3> kSpacings{10, 20, 40};

}  // namespace

int em34_spacing_of_slot(int slot) {
  if (slot < 0 || slot > 5) return kSpacings[0];
  return kSpacings[static_cast<std::size_t>(slot % 3)];
}

std::string station_group_count_text(const Em34StationGroup& group) {
  char text[48];
  std::snprintf(text, sizeof text, "Rdg: %1d of %1d", static_cast<int>(group.readings.size()), group.size);
  return text;
}

bool hold_em34_reading(Em34StationGroup& group, const Em31Reading& decoded, double value, std::string_view record,
                       std::uint32_t tick) {
  if (group.full()) return true;  // a full group waits for the operator's answer
  Em34HeldReading held;
  held.record.assign(record.begin(), record.end());
  if (held.record.size() < kEm31RecordWidth) held.record.resize(kEm31RecordWidth, ' ');
  held.tick = tick;
  held.orientation = decoded.dipole;
  held.spacing_m = em34_spacing_of_slot(decoded.dipole_code);
  held.range = decoded.range;
  held.value = value;
  group.readings.push_back(std::move(held));
  return group.full();
}

std::vector<std::string> station_group_lines(const Em34StationGroup& group) {
  std::vector<std::string> lines;
  int n = 0;
  for (const Em34HeldReading& r : group.readings) {
    char text[96];
    std::snprintf(text, sizeof text, "%d  %-10s  %2d m  %8.2f mS/m  (range %g)", ++n,
                  r.orientation == 'H' ? "Horizontal" : "Vertical", r.spacing_m, r.value, r.range);
    lines.emplace_back(text);
  }
  return lines;
}

std::vector<ReadingInput> ConfirmedStation::inputs() const {
  std::vector<ReadingInput> out;
  for (std::size_t i = 0; i < records.size(); ++i) out.push_back({records[i], ticks[i]});
  return out;
}

ConfirmedStation confirm_station_group(SurveyRecord& survey, Em34StationGroup& group) {
  ConfirmedStation c;
  if (group.readings.empty()) return c;
  for (Em34HeldReading& r : group.readings) {
    c.records.push_back(std::move(r.record));
    c.ticks.push_back(r.tick);
  }
  if (survey.station_advance) survey.station += survey.station_increment;
  survey.station_advance = true;
  const int count = static_cast<int>(c.records.size());
  survey.readings_in_line += count;
  survey.readings_in_survey += count;
  ++survey.stations_in_survey;
  char text[32];
  std::snprintf(text, sizeof text, "%-6d", survey.stations_in_survey);
  c.stations_text = text;
  group.readings.clear();
  return c;
}

void drop_station_group(Em34StationGroup& group) { group.readings.clear(); }

}  // namespace quelor
