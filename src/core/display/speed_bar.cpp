#include "display/speed_bar.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace quelor {

namespace {

struct SpeedUnit {
  const char* text;
  double from_metres;  // factor from metres per second
  double from_feet;    // factor from feet per second
};

constexpr std::array<SpeedUnit, 4> kSpeedUnits{{
    {"m/s", 1.0, 0.3048},
    {"ft/s", 3.28084, 1.0},
    {"km/h", 3.6, 1.0973},
    {"mph", 2.2369, 0.6818},
}};

const SpeedUnit& speed_unit(int units) {
  return kSpeedUnits[units >= 0 && units < static_cast<int>(kSpeedUnits.size()) ? static_cast<std::size_t>(units) : 0];
}

}  // namespace

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

const char* speed_unit_text(int units) { return speed_unit(units).text; }

SpeedView speed_view(const SpeedInput& in) {
  const SpeedUnit& unit = speed_unit(in.speed_bar_units);
  SpeedView v;
  v.value = in.speed * (in.map_units == 0 ? unit.from_metres : unit.from_feet);
  char text[48];
  std::snprintf(text, sizeof text, "%5.2f %s", v.value, unit.text);
  v.text = text;
  v.fill = speed_fill(v.value, in.bar_width, {0.0, in.bar_maximum});
  return v;
}

}  // namespace quelor
