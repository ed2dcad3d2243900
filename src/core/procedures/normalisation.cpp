#include "procedures/normalisation.h"

#include "datafile/record_layout.h"

namespace quelor {

namespace {

std::vector<std::string> progress(int percent) {
  return {"Normalization:", format_text("%3d %c", percent, '%')};
}

}  // namespace

ProcedureStep normalisation_start(Em61Procedures& p, const CurrentRing& ring) {
  ProcedureStep step;
  if (p.state != kProcedureNormal || !ring_enabled(ring) || ring_full(ring)) return step;
  p.state = kProcedureNormalisation;
  step.disable_buttons = true;
  step.message = progress(0);
  return step;
}

ProcedureStep normalisation_on_reading(Em61Procedures& p, const CurrentRing& ring) {
  ProcedureStep step;
  if (p.state != kProcedureNormalisation) return step;
  const std::size_t n = ring.values.size();
  if (n == 0 || ring_full(ring)) {
    p.state = kProcedureNormal;
    step.message = progress(100);
    step.ended = true;
    return step;
  }
  step.message = progress(static_cast<int>(ring.count * 100 / n));
  return step;
}

}  // namespace quelor
