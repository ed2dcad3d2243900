#pragma once
// Incremental drawing of the profiles and bars at every reading, straight
// into the windows' device contexts, from the rules of the display core.

#include <windows.h>

#include <span>

#include "display/profile_step.h"

namespace quelor {

struct DisplayReading {
  std::span<const double> values;  // in channel order
  int identity = 0;                // what the channels mean (dipole): a change restarts the traces
  bool bars = true;                // false: the bars keep their last state
  bool profile = true;             // false: the profiles do not step (reading_steps_profile)
  bool first_is_inphase = false;   // EM38 in-phase record: its value on the in-phase scale
};

// One profile step in each profile window and the bar update.
void draw_reading_step(const DisplayReading& reading);

// The frame and scale lines of a profile window; its traces start again.
void paint_profile_frame(HWND window, HDC dc);

// The bars of a bar window from the last values (after a repaint).
void paint_bars(HWND window, HDC dc);

// Repaints every profile, decay and bar window: frames and scale lines, the
// bars from the last values.
void invalidate_profile_windows();

// Forgets traces and bars (new scale, blanked displays, new survey).
void reset_reading_displays();

}  // namespace quelor
