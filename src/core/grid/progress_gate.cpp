#include "grid/progress_gate.h"

namespace quelor {

bool progress_due(ProgressGate& gate, double now) {
  if (!gate.open && now - gate.started > kProgressAfterSeconds) gate.open = true;
  return gate.open;
}

}  // namespace quelor
