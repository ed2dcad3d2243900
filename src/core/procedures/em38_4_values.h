#pragma once
// Where the EM38-4 calibration lives in the settings (the twelve and eight
// calibration doubles of the EM38-4 block) and its 28 constant records.
//   twelve: conductivity offsets of the four coil pairs (record order
//           1.00, 0.88, 0.50, 0.75 m), their in-phase offsets, their
//           carrier-effect conductivity offsets;
//   eight:  carrier-effect in-phase offsets, the two offsets of positions
//           18-21, two reserved values.
// Constant records "O1".."OI" hold the eighteen offsets in that order;
// "OJ".."OS" are reserved and hold 0.

#include <array>

#include "serial/decode_em38mk2.h"
#include "settings/settings.h"

namespace quelor {

Em38_4Calibration em38_4_calibration(const Em38_4Block& block);
void set_em38_4_calibration(Em38_4Block& block, const Em38_4Calibration& c);

std::array<double, 28> em38_4_constants(const Em38_4Calibration& c);

// The status panel's calibration state: 0 "Calib: OFF", 1 "Calib: ON",
// 2 "Calib/Offset: ON" (carrier-effect offsets in force).
int em38_4_calibration_state(const Em38_4Calibration& c);

}  // namespace quelor
