#pragma once
// The rows of the numbers window of the binary and line instruments: one
// labelled value per channel, then the marker field.

#include <span>
#include <string>
#include <vector>

namespace quelor {

struct NumbersInput {
  int instrument_type = 0;
  bool two_sensors = false;
  std::span<const double> channels;
  bool marker = false;
};

// "HC #1:   12.34", "G #1:", "LE:", "ChE:", "Ch1:" ..., for EM38-4 one row
// per coil pair ("#1: 12.34 5.67", conductivity and in-phase), and "MARKER" (EM61
// marker records) or "Marker" (the others) when the marker is set.
std::vector<std::string> numbers_rows(const NumbersInput& in);

}  // namespace quelor
