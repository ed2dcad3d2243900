#include "display/profile_scale.h"

#include <algorithm>
#include <cmath>

namespace quelor {

namespace {

constexpr double kRowLimit = 1e6;

void add(ScaleLines& lines, int row) {
  if (lines.count < kMaxScaleLines) lines.rows[static_cast<std::size_t>(lines.count++)] = row;
}

// Lines at zero +- k x step while they stay strictly inside the window.
void add_steps(ScaleLines& lines, int height, double maximum, double p, double step) {
  if (!(step > 0.0)) return;
  for (int k = 1;; ++k) {
    const int row = value_row(k * step, maximum, p);
    if (row <= 0 || lines.count >= kMaxScaleLines) break;
    add(lines, row);
  }
  for (int k = 1;; ++k) {
    const int row = value_row(-k * step, maximum, p);
    if (row >= height || lines.count >= kMaxScaleLines) break;
    add(lines, row);
  }
}

}  // namespace

double pixels_per_unit(int height, double minimum, double maximum) {
  if (!(maximum > minimum)) return 0.0;
  return height / (maximum - minimum);
}

int value_row(double v, double maximum, double p) {
  const double row = std::trunc((maximum - v) * p);
  if (!std::isfinite(row))
    return std::isnan(row) ? 0 : row > 0 ? static_cast<int>(kRowLimit) : -static_cast<int>(kRowLimit);
  return static_cast<int>(std::clamp(row, -kRowLimit, kRowLimit));
}

int zero_mode(double minimum, double maximum) {
  if (minimum >= 0.0) return kAllAboveZero;
  if (maximum <= 0.0) return kAllBelowZero;
  return kContainsZero;
}

ScaleLines scale_lines(int height, double minimum, double maximum) {
  ScaleLines lines;
  if (height <= 0 || !(maximum > minimum)) return lines;
  if (zero_mode(minimum, maximum) != kContainsZero) {
    for (int k = 1; k <= 4; ++k) add(lines, static_cast<int>(std::trunc(height - (height + 1) * 0.2 * k)));
    return lines;
  }
  const double p = pixels_per_unit(height, minimum, maximum);
  const int zero = value_row(0.0, maximum, p);
  add(lines, zero);
  lines.main_is_zero = true;
  // Each part counts as at least one pixel, so the ratio never divides by zero.
  const int upper = std::max(zero, 1);
  const int lower = std::max(height - zero, 1);
  const int f = static_cast<int>(std::lround(static_cast<double>(std::max(upper, lower)) / std::min(upper, lower)));
  const double larger_limit = upper >= lower ? std::fabs(maximum) : std::fabs(minimum);
  const double smaller_limit = upper >= lower ? std::fabs(minimum) : std::fabs(maximum);
  const double step = f <= 1 ? smaller_limit / 4.0 : larger_limit / std::min(f, 5);
  add_steps(lines, height, maximum, p, step);
  return lines;
}

ScaleLimits accepted_scale(double minimum, double maximum) {
  if (!(minimum < maximum)) return {minimum, minimum + 100.0};
  return {minimum, maximum};
}

}  // namespace quelor
