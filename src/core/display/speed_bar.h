#pragma once
// The speed bar: filled from the left to speed x pixels per speed unit.

namespace quelor {

struct SpeedScale {
  double minimum = 0.0;
  double maximum = 5.0;
};

// A new maximum at or below the minimum (0 or less) keeps the previous one.
double accepted_speed_maximum(double entered, const SpeedScale& previous);

// W_s / (maximum - minimum); 0 for an empty scale.
double speed_pixels_per_unit(int width, const SpeedScale& scale);

// The filled length in pixels, clamped to 0 ... width.
int speed_fill(double speed, int width, const SpeedScale& scale);

// "m/s", "ft/s", "km/h", "mph" by the speed bar units (0..3).
const char* speed_unit_text(int units);

}  // namespace quelor
