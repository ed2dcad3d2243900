#include "display/bar_update.h"

#include <algorithm>

#include "display/profile_scale.h"

namespace quelor {

namespace {

void band(BarPaint& p, int a, int b, bool filled) {
  if (a == b || p.band_count >= 2) return;
  p.bands[static_cast<std::size_t>(p.band_count++)] = {std::min(a, b), std::max(a, b), filled};
}

}  // namespace

int bar_baseline(int mode, int zero_row, int height) {
  if (mode == kAllBelowZero) return 0;
  if (mode == kAllAboveZero) return height;
  return std::clamp(zero_row, 0, height);
}

BarPaint bar_update(BarState& bar, int new_row, int height, int mode, int zero_row) {
  BarPaint p;
  const int base = bar_baseline(mode, zero_row, height);
  if (!bar.initialised) {
    p.frame = true;
    bar.initialised = true;
    bar.top = base;
  }
  const int row = std::clamp(new_row, 0, height);
  const int last = bar.top;
  const bool last_above = last < base, new_above = row < base;
  if (last == base || row == base || last_above == new_above) {
    // Same side of the baseline: the bar grows (filled) or shrinks (background).
    const bool grows = std::abs(row - base) > std::abs(last - base);
    band(p, last, row, grows);
  } else {
    // Across the baseline: the old bar goes, the new one is painted from the baseline.
    band(p, last, base, false);
    band(p, base, row, true);
  }
  bar.top = row;
  return p;
}

}  // namespace quelor
