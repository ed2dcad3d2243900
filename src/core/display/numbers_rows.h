#pragma once
// The rows of the numbers window of the binary and line instruments: one
// labelled value per channel, then the marker field.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "variant/variant.h"

namespace quelor {

struct NumbersInput {
  InstrumentType instrument_type = kEm31Mk2;
  bool two_sensors = false;
  std::span<const double> channels;
  bool marker = false;
};

// EM31-MK2, EM38 and EM34-3: the last record's values, its range and mode.
struct TRecordNumbers {
  InstrumentType instrument_type = kEm31Mk2;
  bool have_reading = false;
  double first_value = 0.0;            // conductivity; EM38: the record's value
  bool first_is_inphase = false;       // EM38 in-phase record
  std::optional<double> second_value;  // EM31-MK2 in-phase
  double range = 0.0;                  // the range's full-scale number
  char dipole = 'V';                   // 'V' or 'H'
  int coil_spacing_m = 0;              // EM34-3
  bool marker = false;
  std::string reading_count;  // EM34-3 Manual: "Rdg: %1d of %1d"
  int lines = 4;              // rows the window holds
};

// "C: %8.2f" (EM38 in-phase records "I:  %8.2f"), the EM31-MK2 in-phase
// "I:  %8.2f" or the EM34-3 coil spacing "Sep:  %4d m", then "Marker" and the
// reading count while they are set, then the range "Gain: %5d" and the mode
// "Dipole: Vertical" or "Dipole: Horiz.", as many as the window holds.
// Before the first reading only "C: ".
std::vector<std::string> t_record_numbers_rows(const TRecordNumbers& in);

// "HC #1:   12.34", "G #1:", "LE:", "ChE:", "Ch1:" ..., for EM38-4 one row
// per coil pair ("#1: 12.34 5.67", conductivity and in-phase), and "MARKER" (EM61
// marker records) or "Marker" (the others) when the marker is set.
std::vector<std::string> numbers_rows(const NumbersInput& in);

}  // namespace quelor
