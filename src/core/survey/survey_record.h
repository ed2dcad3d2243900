#pragma once
// The survey record: the per-survey state of the logging window that the
// reading handlers, the GPS-fix handler, the connection monitor and the
// logging commands read and change. Reset by the start of a survey.

#include <array>
#include <optional>
#include <cstdint>
#include <string>

#include "gps/survey_zone.h"
#include "map/segment_buffer.h"
#include "survey/survey_state.h"

namespace quelor {

inline constexpr int kColourIndexRowLength = kSegmentRowLength;
inline constexpr int kMaxGpsPositions = 28800;

// Two rows of colour steps of the readings of the current map segment.
using ColourIndexBuffer = SegmentBuffer;

struct SurveyRecord {
  int state = kStateClosed;
  int survey_mode = kModeAuto;
  int map_full = kMapNotFull;
  bool map_review = false;

  // data file
  bool file_open = false;
  std::string file_name;  // "File: %s"

  // line and station
  std::string line_name = "1";
  int line_count = 0;
  int line_direction = 2;  // 0 West, 1 South, 2 North, 3 East
  double start_station = 0.0;
  double station = 0.0;
  double station_increment = 1.0;
  bool station_advance = false;

  // counters
  int readings_in_line = 0;
  int readings_in_survey = 0;
  int stations_in_survey = 0;  // EM34-3 Manual station groups
  int readings_since_last_record = 0;
  int write_enable = 0;  // Manual mode: +1 write, 0 or -1 do not

  // logging time
  std::uint32_t start_tick = 0;          // start of the current logging period
  std::uint32_t earlier_logging_ms = 0;  // accumulated over earlier periods
  std::uint32_t gps_start_tick = 0;      // GPS sentences are logged from here

  // records per reading of the reader (1 outside Auto logging)
  int records_per_reading = 1;
  int configured_records_per_reading = 1;

  // connection monitor
  bool connection_lost = false;
  bool break_remarked = false;  // one remark per break

  // GPS
  int gps_position_count = 0;
  bool first_fix_done = false;
  SurveyZone zone;
  double reference_easting = 0.0;  // map units
  double reference_northing = 0.0;
  double reference_latitude = 0.0;
  double reference_longitude = 0.0;
  int reference_zone = 0;
  double previous_easting = 0.0;  // map units
  double previous_northing = 0.0;
  double previous_time_of_day = 0.0;  // seconds
  double speed = 0.0;                 // map units per second

  // The mapped readings since the previous fix (EM34-3 Manual: of its 10 m
  // spacing; the 20 m and 40 m spacings have their own).
  ColourIndexBuffer colour_index;
  std::array<ColourIndexBuffer, 2> spacing_index{};
  // Footprint kinds with a reading written since the previous fix, and the
  // kinds of the segment the last fix closed (EM34-3 Manual: a footprint is
  // drawn only for a spacing that had a reading).
  std::array<bool, 3> kind_readings{};
  std::array<bool, 3> kinds_closed{};

  // The survey's antenna offsets (metres), taken from the settings at the
  // start; a GPS-only survey zeroes them here, never in the settings. EM34-3
  // shifts the in-line one by its coil spacing.
  double working_gps_x_offset = 0.0;
  int working_dipole = 0;
  double working_gps_y_offset = 0.0;
  double saved_gps_y_offset = 0.0;               // what the settings file keeps
  std::array<double, 3> manual_gps_y_offsets{};  // Manual mode: for 10, 20, 40 m
};

// The segment buffer of a footprint kind (0 for every instrument but the
// EM34-3 in Manual mode).
ColourIndexBuffer& kind_buffer(SurveyRecord& r, int kind);
const ColourIndexBuffer& kind_buffer(const SurveyRecord& r, int kind);

// A written reading of that kind with its segment entry (none: not mapped).
void map_written_reading(SurveyRecord& r, int kind, std::optional<int> entry);

// Elapsed logging time: earlier periods plus the running one while Logging.
std::uint32_t elapsed_logging_ms(const SurveyRecord& r, std::uint32_t now);

// "%02d:%02d:%02d" of a duration in milliseconds.
std::string elapsed_text(std::uint32_t ms);

// The survey's antenna offsets to 0 (a GPS-only survey: the antenna is the
// sensor); the settings keep theirs.
void clear_survey_offsets(SurveyRecord& r);

// Clears the counters shown as survey totals (readings, lines, GPS positions,
// logging time, connection break).
void clear_survey_counters(SurveyRecord& r);

}  // namespace quelor
