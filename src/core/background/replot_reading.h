#pragma once
// The mapped value of a reading record of the survey data file, as the
// re-plot needs it: which records are readings, the value of the colour map
// view, its colour class (two-value instruments pack two classes).

#include <optional>
#include <string_view>

#include "settings/settings.h"

namespace quelor {

struct ReplotReading {
  int instrument_type = 0;
  int colour_map_view = 1;   // 0: positions view, no classes
  bool two_values = false;   // CS-21; Grad601 and EM61-LX2 with two sensors
  bool manual_em34 = false;  // EM34-3 in Manual mode: one strip per coil spacing
  double minimum = 0.0;      // of the scale of the mapped component
  double maximum = 500.0;
};

// Scale and packing from the settings (colour map view, the two scales,
// number of sensors). `two_sensors` as the data file says.
ReplotReading replot_reading(const Settings& s, int instrument_type, bool two_sensors, bool manual_mode);

// True when the record is a reading record of that instrument.
bool is_reading_record(int instrument_type, std::string_view record);

struct ReadingEntry {
  int entry = 0;  // class, or second class x 64 + first class
  int kind = 0;   // footprint kind: 0, or the EM34-3 Manual spacing 0..2
};

// The segment entry of a reading record; nothing for other records or a
// reading whose mapped value is missing.
std::optional<ReadingEntry> reading_entry(const ReplotReading& r, std::string_view record);

}  // namespace quelor
