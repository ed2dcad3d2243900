#include "display/profile_step.h"

namespace quelor {

ProfileScroll profile_scroll(int w) {
  ProfileScroll s;
  s.width = w - 11 > 0 ? w - 11 : 0;
  s.clear_left = w - 11;
  s.clear_right = w - 9;
  s.newest_x = w - 10;
  s.previous_x = w - 12;
  return s;
}

TraceDraw trace_step(TraceState& t, int new_row, int identity) {
  if (!t.enabled) return {};
  TraceDraw d;
  if (t.started && t.identity == identity) {
    d = {TraceDraw::kLine, t.last_row, new_row};
  } else {
    d = {TraceDraw::kPoint, new_row, new_row};
    t.started = true;
    t.identity = identity;
  }
  t.last_row = new_row;
  return d;
}

void restart_traces(std::array<TraceState, kMaxTraces>& traces) {
  for (TraceState& t : traces) t.started = false;
}

bool reading_steps_profile(bool logging, bool written) { return !logging || written; }

}  // namespace quelor
