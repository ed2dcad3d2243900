#pragma once
// The tilt meter: streams roll and pitch sentences at its output rate and
// answers the rate command "[1D<rate>" CR with ">New Output Data Rate".
// It holds its stream while a command is being received and for a short
// while after the port is opened, so that the program's read of the answer
// does not start inside a sentence.

#include <string>
#include <string_view>

#include "devsim/line_record.h"
#include "devsim/readings.h"

namespace quelor::devsim {

struct TiltState {
  int rate_hz = 5;
  std::string command;  // bytes from "[" on
  double command_since = 0;
  double quiet_until = 0;  // no sentences before this time (seconds)
  int bad_checksums_left = 0;
};

// Quiet time after the program opens the port, seconds.
constexpr double kTiltQuietAfterOpen = 0.3;

TiltState initial_tilt_state(int rate_index);

bool tilt_streams(const TiltState& s, double now);

// Bytes from the program; returns the answer to send at once.
std::string tilt_input(TiltState& s, std::string_view bytes, double now);

void tilt_tick(TiltState& s, double now);

// Roll and pitch of a walking operator: the step rhythm plus a small lean.
TiltReading tilt_reading(const WalkPoint& w, double time, Rng* rng);

// The next sentence, with a wrong checksum while some are still due.
std::string next_tilt_sentence(TiltState& s, const TiltReading& r);

}  // namespace quelor::devsim
