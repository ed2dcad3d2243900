#pragma once
// The vertical bar gauges: only the band between the last drawn top and the
// new one is painted. A bar spans from its baseline (row 0 when the whole
// scale is below zero, the zero row when it contains zero, the bottom row
// when it is all above zero) to the reading's row.

#include <array>

namespace quelor {

struct BarState {
  bool initialised = false;
  int top = 0;  // the row drawn last, within 0 ... height
};

struct BarBand {
  int top = 0;          // first row
  int bottom = 0;       // one past the last row
  bool filled = false;  // the channel's brush, else the background
};

struct BarPaint {
  bool frame = false;  // first call: the frame one pixel inside the window
  std::array<BarBand, 2> bands{};
  int band_count = 0;
};

int bar_baseline(int zero_mode, int zero_row, int height);

// The bands to paint for a reading at `new_row` (any row: clipped to the window).
BarPaint bar_update(BarState& bar, int new_row, int height, int zero_mode, int zero_row);

}  // namespace quelor
