#pragma once
// The speed bar: filled from the left to speed x pixels per speed unit, and
// the speed as it is shown, in the speed bar units.

#include <string>

namespace quelor {

struct SpeedScale {
  double minimum = 0.0;
  double maximum = 5.0;
};

// A new maximum at or below the minimum (0 or less) keeps the previous one.
double accepted_speed_maximum(double entered, const SpeedScale& previous);

// W_s / (maximum - minimum); 0 for an empty scale.
double speed_pixels_per_unit(int width, const SpeedScale& scale);

// The filled length in pixels of a speed in the scale's units, clamped to
// 0 ... width.
int speed_fill(double speed, int width, const SpeedScale& scale);

// "m/s", "ft/s", "km/h", "mph" by the speed bar units (0..3).
const char* speed_unit_text(int units);

// The speed of the last fixes as the speed row and the speed bar show it.
struct SpeedView {
  double value = 0.0;  // in the speed bar units
  std::string text;    // "%5.2f m/s", "%5.2f ft/s", "%5.2f km/h" or "%5.2f mph"
  int fill = 0;        // filled pixels of a bar `bar_width` wide
};

struct SpeedInput {
  double speed = 0.0;        // map units per second
  int map_units = 0;         // 0 metres, 1 feet, 2 US survey feet
  int speed_bar_units = 0;   // 0 m/s, 1 ft/s, 2 km/h, 3 mph; others m/s
  double bar_maximum = 5.0;  // `speed scale maximum`, in the speed bar units
  int bar_width = 0;
};

// Metres per second are converted by 1, 3.28084, 3.6 and 2.2369; feet per
// second (both kinds of feet) by 0.3048, 1, 1.0973 and 0.6818.
SpeedView speed_view(const SpeedInput& in);

}  // namespace quelor
