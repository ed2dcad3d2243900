#include "survey/palette.h"

namespace quelor {

const char* em38_4_calibration_text(int state) {
  switch (state) {
    case 1: return "Calib: ON";
    case 2: return "Calib/Offset: ON";
    default: return "Calib: OFF";
  }
}

}  // namespace quelor
