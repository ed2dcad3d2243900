#pragma once
// The simulator's event loop: carries bytes between the simulated devices and
// their ptys, reads control commands, keeps the record schedule.

#include <array>
#include <atomic>
#include <cstdio>

#include "devsim/pty_link.h"
#include "devsim/simulator.h"

namespace quelor::devsim {

struct LoopIo {
  std::array<PtyLink*, 3> links{};          // by Device; null when the device is off
  int stdin_fd = -1;                        // control commands; EOF just stops reading it
  int control_fd = -1;                      // FIFO opened read-write, never at EOF
  std::FILE* out = stdout;                  // status lines
  std::FILE* err = stderr;                  // control errors
  std::FILE* gps_capture = nullptr;         // bytes received on the GPS line, when kept
  const std::atomic<bool>* stop = nullptr;  // set by a signal or a test
};

// Runs until quit, --duration or *stop. Returns 0.
int run_loop(Simulator& sim, LoopIo& io);

// Seconds of a monotonic clock.
double monotonic_seconds();

}  // namespace quelor::devsim
