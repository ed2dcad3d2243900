#pragma once
// The texts of the logging window's status area that do not need the map:
// state, line and station, GPS block labels, file, totals, speed, map size,
// instrument block and the lost-connection notice.

#include <array>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {

// "Map Size:%5ld m", "Map Size:%5ld ft" or "Map Size:%5ld US-ft" by map units.
std::string map_size_text(long map_size, int map_units);

// "Lost", "Connection,", "trying": drawn centred, 5 pixels below the top.
const std::array<const char*, 3>& lost_connection_lines();

// The dilution label by the GPS sentence index: 1 "HDOP:", 3 or 4 "GDOP:",
// 7 with SLAM data "SLAM Conf.:", otherwise "PDOP:".
std::string dilution_label(int gps_sentence, bool slam);

// The profile scale labels of the instrument (maximum, minimum).
struct ScaleLabels {
  std::string top;
  std::string bottom;
};
ScaleLabels conductivity_scale_labels(InstrumentType instrument_type, double minimum, double maximum);
// "%0.0fppt"; the EM38-4 by its in-phase units (1: "%0.0fmS/m").
ScaleLabels inphase_scale_labels(InstrumentType instrument_type, int em38_4_inphase_units, double minimum,
                                 double maximum);

// The rows of the instrument block ("Instrument", "Disabled", "GXY Mode"
// without an instrument). `narrow_panel`: a status panel under 301 pixels,
// where the EM61-LX2 shows "B:" and "T:" for its battery and current.
std::vector<std::string> instrument_block_rows(const Settings& s, InstrumentType instrument_type, bool instrument_used,
                                               int coil_spacing_m, char coil_letter, bool narrow_panel = false);

struct GpsBlockTexts {
  bool disabled = false;        // only "GPS Disabled"
  std::string positions_label;  // "Positions: "
  std::string positions;        // "%-6d"
  std::string dilution_label;
  std::string dilution = "N/A";  // until the GSA handler fills it
  std::string satellites_label;  // "Sat:" unless the sentence is 7 or 8
  std::string quality_label;     // "RTS" for the total station's sentences 7 and 8
  std::string first_label;       // "Lon:" / "E:"
  std::string second_label;      // "Lat:" / "N:"
  std::string height_label;      // "Z:" with a UTM choice
};
GpsBlockTexts gps_block_texts(const Settings& s, const SurveyRecord& survey, bool slam);

struct StatusTexts {
  std::string map_size;  // with the GPS in use
  std::string state;     // "Logging (Auto)" ...
  std::string line_label = "Curr. Line:";
  std::string line;
  std::string station_label = "Station:      ";
  std::string station;  // "%-11.2f"
  std::string file;     // "File: %s", or "File:" and spaces
  std::string stations_label = "Tot. Stns:";
  std::string stations;  // "%-7d"
  std::string time_label = "Tot. Time:";
  std::string time;  // "%02d:%02d:%02d"
  bool speed_row = false;
  std::string speed_label = "Speed:";
  std::string speed;          // "%5.2f m/s" ... in the speed bar units
  std::string speed_maximum;  // "%0.1f", right-aligned
  GpsBlockTexts gps;
  std::vector<std::string> instrument_rows;
  // EM38-4: "Calib: OFF", "Calib: ON" or "Calib/Offset: ON" by the
  // calibration the settings hold (empty for the others).
  std::string calibration;
};

struct StatusInput {
  InstrumentType instrument_type = kEm31Mk2;
  bool instrument_used = true;
  bool gps_used = true;
  bool slam = false;
  int coil_spacing_m = 0;  // EM34-3
  char coil_letter = 'V';  // EM34-3
  std::uint32_t now = 0;
  long review_map_size = 0;   // in map review: the size zoom and fit gave it; 0 outside review
  bool narrow_panel = false;  // the status panel is under 301 pixels wide
};

StatusTexts status_texts(const Settings& s, const SurveyRecord& survey, const StatusInput& input);

}  // namespace quelor
