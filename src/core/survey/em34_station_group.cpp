#include "survey/em34_station_group.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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
                       std::uint32_t tick, std::optional<std::pair<int, int>> averaged) {
  if (group.full()) return true;  // a full group waits for the operator's answer
  Em34HeldReading held;
  held.record.assign(record.begin(), record.end());
  if (held.record.size() < kEm31RecordWidth) held.record.resize(kEm31RecordWidth, ' ');
  held.tick = tick;
  held.orientation = decoded.dipole;
  held.spacing_m = em34_spacing_of_slot(decoded.dipole_code);
  held.range = decoded.range;
  held.value = value;
  held.averaged = averaged;
  group.readings.push_back(std::move(held));
  return group.full();
}

namespace {

// The five-character record values of columns 2-6 and 7-11 (0 when absent).
int record_value(std::string_view record, std::size_t at) {
  if (record.size() < at + 5) return 0;
  return std::atoi(std::string(record.substr(at, 5)).c_str());
}

int rounded_mean(long sum, int n) { return static_cast<int>(std::lround(static_cast<double>(sum) / n)); }

}  // namespace

void start_em34_sampling(Em34StationGroup& group, const Em31Reading& decoded, std::string_view record,
                         std::uint32_t tick, int samples) {
  Em34Sampling& s = group.sampling;
  s = Em34Sampling{};
  s.active = true;
  s.wanted = samples < 1 ? 1 : samples;
  s.record.assign(record.begin(), record.end());
  s.tick = tick;
  s.decoded = decoded;
}

std::optional<bool> add_em34_sample(Em34StationGroup& group, std::string_view record, double value) {
  Em34Sampling& s = group.sampling;
  if (!s.active) return std::nullopt;
  ++s.taken;
  s.first_sum += record_value(record, 2);
  s.second_sum += record_value(record, 7);
  s.value_sum += value;
  if (s.taken < s.wanted) return std::nullopt;
  s.active = false;
  const std::pair<int, int> averaged{rounded_mean(s.first_sum, s.taken), rounded_mean(s.second_sum, s.taken)};
  return hold_em34_reading(group, s.decoded, s.value_sum / s.taken, s.record, s.tick, averaged);
}

std::string sampling_text(const Em34StationGroup& group) {
  char text[48];
  std::snprintf(text, sizeof text, "Sample %-3d of %-3d", group.sampling.taken, group.sampling.wanted);
  return text;
}

void hold_em34_sentences(Em34StationGroup& group, const HeldSentences& sentences) {
  for (const HeldSentence* h : {&sentences.position, &sentences.gsa})
    if (!h->text.empty()) group.sentences.push_back(*h);
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
  for (std::size_t i = 0; i < records.size(); ++i)
    out.push_back({records[i], ticks[i], 0, i < averaged.size() ? averaged[i] : std::nullopt});
  return out;
}

ConfirmedStation confirm_station_group(SurveyRecord& survey, Em34StationGroup& group) {
  ConfirmedStation c;
  if (group.readings.empty()) return c;
  for (Em34HeldReading& r : group.readings) {
    c.records.push_back(std::move(r.record));
    c.ticks.push_back(r.tick);
    c.averaged.push_back(r.averaged);
  }
  c.sentences = std::move(group.sentences);
  group.sentences.clear();
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

void drop_station_group(Em34StationGroup& group) {
  group.readings.clear();
  group.sentences.clear();
  group.sampling = Em34Sampling{};
}

}  // namespace quelor
