#pragma once
// EM34-3 Manual mode: readings are taken in station groups of the configured
// number of readings per station. Each accepted reading (one per trigger
// press) is held; a full group is confirmed by the operator, then written
// with one record each and the station advances once.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "datafile/data_records.h"
#include "gps/manual_buffers.h"
#include "serial/decode_em31.h"
#include "survey/survey_record.h"

namespace quelor {

struct Em34HeldReading {
  std::string record;  // padded to 13 characters
  std::uint32_t tick = 0;
  char orientation = 'V';  // 'V' "Vertical", 'H' "Horizontal"
  int spacing_m = 10;
  double range = 0.0;
  double value = 0.0;
  std::optional<std::pair<int, int>> averaged;  // the two record values of a station average
};

// Station averaging: a trigger press starts `wanted` automatic samples whose
// record values and decoded values are averaged into one reading.
struct Em34Sampling {
  bool active = false;
  int wanted = 0;
  int taken = 0;
  long first_sum = 0;
  long second_sum = 0;
  double value_sum = 0.0;
  std::string record;  // the trigger press's record, which the averages fill
  std::uint32_t tick = 0;
  Em31Reading decoded;
};

struct Em34StationGroup {
  int size = 1;  // readings per station
  std::vector<Em34HeldReading> readings;
  std::vector<HeldSentence> sentences;  // GPS sentences held with the readings, logged on OK
  Em34Sampling sampling;
  bool full() const { return static_cast<int>(readings.size()) >= size; }
};

// Starts the samples of one trigger press.
void start_em34_sampling(Em34StationGroup& group, const Em31Reading& decoded, std::string_view record,
                         std::uint32_t tick, int samples);

// One automatic sample (its record and decoded value). nullopt while samples
// are still due; when the last arrived the averaged reading is held and the
// answer is whether the group is now full.
std::optional<bool> add_em34_sample(Em34StationGroup& group, std::string_view record, double value);

// "Sample %-3d of %-3d"
std::string sampling_text(const Em34StationGroup& group);

// Keeps the pending GPS sentences with the group.
void hold_em34_sentences(Em34StationGroup& group, const HeldSentences& sentences);

// Coil spacing of an EM34-3 slot (0-2 vertical, 3-5 horizontal: 10, 20, 40 m).
int em34_spacing_of_slot(int slot);

// "Rdg: %1d of %1d"
std::string station_group_count_text(const Em34StationGroup& group);

// Holds an accepted reading; true when the group is now full (ask the operator).
bool hold_em34_reading(Em34StationGroup& group, const Em31Reading& decoded, double value, std::string_view record,
                       std::uint32_t tick, std::optional<std::pair<int, int>> averaged = std::nullopt);

// The confirmation list: one line per held reading,
// "%d  Vertical    20 m   12.34 mS/m  (range 100)".
std::vector<std::string> station_group_lines(const Em34StationGroup& group);

struct ConfirmedStation {
  std::vector<HeldSentence> sentences;  // logged first, with the 'p' flag
  std::vector<std::string> records;     // the records held, for the writer
  std::vector<std::uint32_t> ticks;
  std::vector<std::optional<std::pair<int, int>>> averaged;
  std::string stations_text;  // "%-6d" of the stations of the survey
  // The writer's input (valid while this lives), one record each.
  std::vector<ReadingInput> inputs() const;
};

// OK: the readings of the group go to the file, the station advances once,
// the counters count them; the group is emptied.
ConfirmedStation confirm_station_group(SurveyRecord& survey, Em34StationGroup& group);

// Cancel: the group is dropped.
void drop_station_group(Em34StationGroup& group);

}  // namespace quelor
