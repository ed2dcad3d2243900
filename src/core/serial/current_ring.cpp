#include "serial/current_ring.h"

namespace quelor {

CurrentRing make_current_ring(std::size_t size) {
  CurrentRing ring;
  ring.values.assign(size, 0.0);
  return ring;
}

bool ring_enabled(const CurrentRing& ring) { return !ring.values.empty(); }

bool ring_full(const CurrentRing& ring) { return ring_enabled(ring) && ring.count == ring.values.size(); }

void ring_push(CurrentRing& ring, double current) {
  if (!ring_enabled(ring)) return;
  double& slot = ring.values[ring.position];
  if (ring.count == ring.values.size()) {
    ring.sum -= slot;
  } else {
    ++ring.count;
  }
  slot = current;
  ring.sum += current;
  if (++ring.position == ring.values.size()) {
    ring.position = 0;
    ring.sum = 0.0;
    for (double v : ring.values) ring.sum += v;
  }
}

double ring_mean(const CurrentRing& ring) { return ring.count == 0 ? 0.0 : ring.sum / static_cast<double>(ring.count); }

}  // namespace quelor
