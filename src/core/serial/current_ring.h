#pragma once
// The running average of the EM61 transmitter current used for current
// normalisation: the last N currents, their write position and their sum.

#include <cstddef>
#include <vector>

namespace quelor {

struct CurrentRing {
  std::vector<double> values;  // N slots; empty = normalisation off
  std::size_t position = 0;    // next slot written
  std::size_t count = 0;       // slots holding a current (N once full)
  double sum = 0.0;
};

// A ring of `size` slots (0 turns normalisation off). Allocates once.
CurrentRing make_current_ring(std::size_t size);

bool ring_enabled(const CurrentRing& ring);
bool ring_full(const CurrentRing& ring);

// Puts one current in the ring; the oldest drops out once it is full. The sum
// is recomputed whenever the write position wraps, so rounding cannot drift.
void ring_push(CurrentRing& ring, double current);

// Mean of the currents held (0 when none).
double ring_mean(const CurrentRing& ring);

}  // namespace quelor
