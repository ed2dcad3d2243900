#pragma once
// What the re-plot and `quelor map` read from a survey data file besides the
// swath records: the record length, the variant from the identification
// record, the survey's set-up digits, and the map origin from the first
// valid GPS position logged in the file.

#include <optional>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

struct SurveyFileInfo {
  int record_length = 0;
  Variant variant;
  int map_units = 0;         // record 1 column 15
  int survey_mode = 0;       // record 1 column 17
  bool two_sensors = false;  // Grad601 column 19, EM61-LX2 column 22 (list index 1)
  int gps_sentence = 1;      // record 3 column 19 ('A' in column 17: Pseudo GLL)
  int pseudo_gga_variant = 0;
  int zone = 0;  // record 4 columns 16-17 (0: not written)
};

// Nothing when the first 128 bytes hold no line feed or the program code is
// not one of the family's.
std::optional<SurveyFileInfo> read_survey_file_info(std::string_view bytes);

struct MapOrigin {
  double easting = 0.0;  // map units
  double northing = 0.0;
  int zone = 0;
};

// The first '@'/'#' sentence of the file's GPS format that gives a valid
// fix, projected in the file's zone (the longitude's zone when the file has
// none) and converted to the file's map unit. `rts_units` for total-station
// grid formats.
std::optional<MapOrigin> first_gps_position(std::string_view bytes, const SurveyFileInfo& info, int rts_units = 0);

}  // namespace quelor
