#pragma once
// EM34-3 Manual mode: readings are taken in station groups of the configured
// number of readings per station. Each accepted reading (one per trigger
// press) is held; a full group is confirmed by the operator, then written
// with one record each and the station advances once.

#include <cstdint>
#include <string>
#include <vector>

#include "datafile/data_records.h"
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
};

struct Em34StationGroup {
  int size = 1;  // readings per station
  std::vector<Em34HeldReading> readings;
  bool full() const { return static_cast<int>(readings.size()) >= size; }
};

// Coil spacing of an EM34-3 slot (0-2 vertical, 3-5 horizontal: 10, 20, 40 m).
int em34_spacing_of_slot(int slot);

// "Rdg: %1d of %1d"
std::string station_group_count_text(const Em34StationGroup& group);

// Holds an accepted reading; true when the group is now full (ask the operator).
bool hold_em34_reading(Em34StationGroup& group, const Em31Reading& decoded, double value,
                       std::string_view record, std::uint32_t tick);

// The confirmation list: one line per held reading,
// "%d  Vertical    20 m   12.34 mS/m  (range 100)".
std::vector<std::string> station_group_lines(const Em34StationGroup& group);

struct ConfirmedStation {
  std::vector<std::string> records;  // the records held, for the writer
  std::vector<std::uint32_t> ticks;
  std::string stations_text;         // "%-6d" of the stations of the survey
  // The writer's input (valid while this lives), one record each.
  std::vector<ReadingInput> inputs() const;
};

// OK: the readings of the group go to the file, the station advances once,
// the counters count them; the group is emptied.
ConfirmedStation confirm_station_group(SurveyRecord& survey, Em34StationGroup& group);

// Cancel: the group is dropped.
void drop_station_group(Em34StationGroup& group);

}  // namespace quelor
