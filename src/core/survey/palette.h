#pragma once
// The colour map's palette (see map/palette.h) and the EM38-4 calibration
// state text of the status panel.

#include "map/palette.h"

namespace quelor {

// EM38-4 calibration state as the status panel shows it: 0 off, 1 on,
// 2 calibration and offset on.
const char* em38_4_calibration_text(int state);

}  // namespace quelor
