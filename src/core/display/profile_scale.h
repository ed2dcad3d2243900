#pragma once
// The vertical scale of the profile and bar windows: value to pixel row, the
// zero mode and the table of scale lines.

#include <array>

namespace quelor {

enum ZeroMode : int { kAllBelowZero = -1, kContainsZero = 0, kAllAboveZero = 1 };

inline constexpr int kMaxScaleLines = 9;

// Rows of the scale lines: entry 0 the main line, then the others.
struct ScaleLines {
  std::array<int, kMaxScaleLines> rows{};
  int count = 0;
  bool main_is_zero = false;  // drawn with the 2-pixel grey pen
};

// profile height / (maximum - minimum); 0 for an empty or reversed scale.
double pixels_per_unit(int height, double minimum, double maximum);

// trunc((maximum - v) x pixels per unit), from the top; values off the scale
// give rows outside the window (kept within +-1e6 so that drawing clips them).
int value_row(double v, double maximum, double pixels_per_unit);

// +1 when minimum >= 0, -1 when maximum <= 0, else 0.
int zero_mode(double minimum, double maximum);

// The scale lines of a window `height` pixels high.
ScaleLines scale_lines(int height, double minimum, double maximum);

// A scale is accepted only with minimum < maximum; otherwise the maximum
// becomes minimum + 100.
struct ScaleLimits {
  double minimum = 0.0;
  double maximum = 100.0;
};
ScaleLimits accepted_scale(double minimum, double maximum);

}  // namespace quelor
