#pragma once
// When a long command (a grid, a report) shows its progress: only once the
// work has run longer than a second, by the caller's clock (seconds of a
// steady clock), not by the size of its input. From then on every step is
// shown; a command done within the second says nothing.

namespace quelor {

inline constexpr double kProgressAfterSeconds = 1.0;

struct ProgressGate {
  double started = 0.0;  // the clock when the work began
  bool open = false;     // a step has been shown
};

// Whether the step reached at `now` is shown (and from then on every step).
bool progress_due(ProgressGate& gate, double now);

}  // namespace quelor
