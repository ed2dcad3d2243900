#pragma once
// The reading handler of the EM31-MK2, EM38 and EM34-3 ("T" records): decode,
// decide whether the reading is logged, the reading record for the writer,
// station advance, counters and the values for the displays and the colour map.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "datafile/data_records.h"
#include "reading/reading_meaning.h"
#include "serial/decode_em31.h"
#include "survey/em34_station_group.h"
#include "survey/survey_record.h"

namespace quelor {

inline constexpr std::size_t kEm31RecordWidth = 13;

// What the handler needs besides the decode context (options, view and
// scale: `DecodeContext`, shared with the other handlers).
struct ReadingContext {
  std::uint32_t now = 0;  // for the elapsed time
  // EM34-3 in Manual mode: accepted readings are held in this station group
  // instead of being written at once (nullptr: written at once).
  Em34StationGroup* station_group = nullptr;
  // Station averaging: samples taken after each trigger press (0: none, the
  // press's own record is held).
  int samples_per_reading = 0;
};

struct ReadingOutcome {
  ReadingMeaning meaning;     // every value shown, profiled and mapped
  double first_value = 0.0;   // channel 1
  double second_value = 0.0;  // channel 2 (EM31-MK2 in-phase)
  bool has_second_value = false;
  bool logged = false;
  bool held = false;               // EM34-3 Manual: held in the station group
  bool group_full = false;         // ask the operator to confirm the group
  bool sampling = false;           // an automatic sample of a station average
  std::string reading_count_text;  // "Rdg: %1d of %1d"

  std::string record;           // the instrument record padded to 13 characters
  int readings_since_last = 0;  // '2'-'6' in column 0 when 2..6
  std::uint32_t tick = 0;
  std::optional<int> colour_step;  // stored in the colour-index buffer
  bool redraw_bars = true;         // not for an EM31-MK2 record with status bit 0
  bool marker_shown = false;       // "Marker" outside Manual mode
  // status texts (set when logged)
  std::string station_text;       // "%-11.2f"
  std::string survey_count_text;  // "%-7d"
  std::string line_count_text;    // "%-6d"
  std::string elapsed;            // "%02d:%02d:%02d"

  // The writer's input; valid while this outcome lives.
  ReadingInput reading_input() const { return {record, tick, readings_since_last}; }
};

// Manual mode: a marked record sets write-enable to +1 when it was 0, else
// -1; an unmarked record sets 0. Auto and Wheel: always +1.
int next_write_enable(int write_enable, bool marker, int survey_mode);

// EM34-3 Manual: the readings of a confirmed station, written now, enter
// the segment buffers of their coil spacings (read as the file holds them,
// station averages included).
void map_confirmed_station(SurveyRecord& survey, const DecodeContext& decode, const ConfirmedStation& station);

// The instrument record padded with spaces to the 13 characters of its
// reading record.
std::string padded_t_record(std::span<const std::uint8_t> record);

// One reading that arrived at `tick`, read by interpret_reading with
// `decode` (its Manual-mode option is taken from the survey mode). Writes
// nothing itself: the caller hands reading_input() to
// DataFileWriter::write_reading when `logged`.
ReadingOutcome handle_t_reading(SurveyRecord& survey, const ReadingContext& context, const DecodeContext& decode,
                                std::span<const std::uint8_t> record, std::uint32_t tick);

}  // namespace quelor
