#include "gps/units.h"

#include <cstdio>

namespace quelor {

namespace {

struct ReadoutUnit {
  double metres_per_unit;
  const char* format;
};

// Indexed by the display unit; entry 0 is the geodetic display (no read-out).
constexpr ReadoutUnit kReadoutUnits[] = {
    {1.0, nullptr},
    {1.0, "%12.2f m"},
    {kInternationalFoot, "%12.2f ft"},
    {kUsSurveyFoot, "%12.2f USft"},
};

}  // namespace

double metres_per_unit(int working_unit) {
  switch (working_unit) {
    case kUnitFeet: return kInternationalFoot;
    case kUnitUsFeet: return kUsSurveyFoot;
    default: return 1.0;
  }
}

double metres_to_working_unit(double metres, int working_unit) { return metres / metres_per_unit(working_unit); }

double rts_metres_to_working_unit(double metres, int working_unit) {
  switch (working_unit) {
    case kUnitFeet: return metres * kFeetPerMetre;
    case kUnitUsFeet: return metres * kUsFeetPerMetre;
    default: return metres;
  }
}

double rts_feet_to_metres(double feet, int rts_units) {
  return feet * (rts_units == kRtsUsSurveyFeet ? kUsSurveyFoot : kInternationalFoot);
}

std::string grid_readout_text(double metres, int display_unit) {
  if (display_unit <= kDisplayGeodetic || display_unit > kDisplayUsFeet) return {};
  const ReadoutUnit& unit = kReadoutUnits[display_unit];
  char buf[64];
  std::snprintf(buf, sizeof buf, unit.format, metres / unit.metres_per_unit);
  return buf;
}

}  // namespace quelor
