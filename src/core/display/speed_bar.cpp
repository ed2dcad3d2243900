#include "display/speed_bar.h"

#include <cmath>

namespace quelor {

double accepted_speed_maximum(double entered, const SpeedScale& previous) {
  return entered > previous.minimum && std::isfinite(entered) ? entered : previous.maximum;
}

double speed_pixels_per_unit(int width, const SpeedScale& s) {
  if (!(s.maximum > s.minimum)) return 0.0;
  return width / (s.maximum - s.minimum);
}

int speed_fill(double speed, int width, const SpeedScale& s) {
  const double px = (speed - s.minimum) * speed_pixels_per_unit(width, s);
  if (!(px > 0.0)) return 0;
  return px >= width ? width : static_cast<int>(px);
}

const char* speed_unit_text(int units) {
  static const char* const kUnits[] = {"m/s", "ft/s", "km/h", "mph"};
  return units >= 0 && units < 4 ? kUnits[units] : kUnits[0];
}

}  // namespace quelor
