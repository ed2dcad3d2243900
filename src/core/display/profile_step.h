#pragma once
// One step of a scrolling profile: the newest reading is drawn at x = w - 10
// after the content has moved 2 pixels to the left. A trace joins its new
// row to the last one only when it was started and its identity (what its
// channel means, e.g. the dipole) has not changed; otherwise it starts again
// with a single point.

#include <array>

namespace quelor {

inline constexpr int kMaxTraces = 16;
inline constexpr int kProfileScrollPixels = 2;

struct TraceState {
  bool enabled = true;
  bool started = false;
  int identity = 0;
  int last_row = 0;
};

struct ProfileScroll {
  int source_x = kProfileScrollPixels;  // copied from here ...
  int target_x = 0;                     // ... to here
  int width = 0;                        // w - 11
  int clear_left = 0;                   // white columns w - 11 ... w - 9
  int clear_right = 0;
  int newest_x = 0;    // w - 10
  int previous_x = 0;  // w - 12
};

ProfileScroll profile_scroll(int window_width);

// What to draw for one trace: nothing (disabled), a point at the new row, or
// a line from the last row to the new one.
struct TraceDraw {
  enum Kind { kNothing, kPoint, kLine } kind = kNothing;
  int from_row = 0;
  int to_row = 0;
};

TraceDraw trace_step(TraceState& trace, int new_row, int identity);

// Whether a reading steps the profiles: while logging only a reading that is
// written (or, EM34-3 Manual, accepted into its station group), so that each
// step is a record of the file; in Monitoring and Stand By every reading.
bool reading_steps_profile(bool logging, bool written);

// Unstarts every trace (a cleared window, a new scale).
void restart_traces(std::array<TraceState, kMaxTraces>& traces);

}  // namespace quelor
