#pragma once
// EM61-MK2 normalisation: the ring of the last N transmitter currents that
// the decoder fills with every reading is first filled whole; the progress
// is the share of the ring filled. Once full, normal logging resumes and the
// decoder keeps the ring and its sum current. It runs from the start of the
// survey, before any reading is shown or written.

#include <cstddef>

#include "procedures/em61_procedures.h"
#include "procedures/procedure_step.h"
#include "serial/current_ring.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

inline constexpr std::size_t kMaxNormalisationSize = 10000;

// The ring a survey of this instrument starts with: N of the settings for
// the EM61-MK2 (at most kMaxNormalisationSize), 0 (normalisation off) for
// every other instrument and for N <= 0.
std::size_t normalisation_size(const Settings& s, InstrumentType instrument_type);

// Starts the normalisation when the ring is on (N > 0), not yet full, and
// nothing else runs: "Normalization:" and "  0 %", the buttons disabled.
ProcedureStep normalisation_start(Em61Procedures& p, const CurrentRing& ring);

// After the decoder put this reading's current into the ring: "Normalization:"
// and "%3d %c" (position x 100 / N, '%'); the full ring reports 100 % and
// ends the procedure.
ProcedureStep normalisation_on_reading(Em61Procedures& p, const CurrentRing& ring);

}  // namespace quelor
