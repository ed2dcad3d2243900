#pragma once
// EM61-MK2 normalisation: the ring of the last N transmitter currents that
// the decoder fills with every reading is first filled whole; the progress
// is the share of the ring filled. Once full, normal logging resumes and the
// decoder keeps the ring and its sum current.

#include "procedures/em61_procedures.h"
#include "procedures/procedure_step.h"
#include "serial/current_ring.h"

namespace quelor {

// Starts the normalisation when the ring is on (N > 0) and nothing else runs.
ProcedureStep normalisation_start(Em61Procedures& p, const CurrentRing& ring);

// After the decoder put this reading's current into the ring: "Normalization:"
// and "%3d %c" (position x 100 / N, '%'); the full ring reports 100 % and
// ends the procedure.
ProcedureStep normalisation_on_reading(Em61Procedures& p, const CurrentRing& ring);

}  // namespace quelor
