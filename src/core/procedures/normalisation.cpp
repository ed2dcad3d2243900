#include "procedures/normalisation.h"

#include <algorithm>

#include "datafile/record_layout.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

std::vector<std::string> progress(int percent) { return {"Normalization:", format_text("%3d %c", percent, '%')}; }

}  // namespace

std::size_t normalisation_size(const Settings& s, InstrumentType instrument_type) {
  if (!has_trait(instrument_type, Trait::kCurrentRing) || s.normalisation_size <= 0) return 0;
  return std::min(static_cast<std::size_t>(s.normalisation_size), kMaxNormalisationSize);
}

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
