#pragma once
// What a running instrument procedure reads of a reading: the one
// interpretation, with a decode context whose offsets are those the
// procedure needs, turned into the readings the procedures take.

#include <string_view>

#include "reading/reading_meaning.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"

namespace quelor {

// The procedures that find offsets (the EM38-MK2 and EM38-4 calibrations,
// the EM61 nulling) read the instrument's own values: the context with no
// calibration offsets and no nulls.
DecodeContext without_offsets(DecodeContext c);

// The EM38-MK2 reading of a meaning: the slots of its export columns
// (conductivity and in-phase of each coil in the record's dipole), the dipole.
Em38Mk2Reading em38mk2_procedure_reading(const ReadingMeaning& m);

// The EM38-4 reading: conductivity and in-phase of each pair, the further values.
Em38_4Reading em38_4_procedure_reading(const ReadingMeaning& m);

// The EM61 reading the nulling and the filter calibration average: the
// channels in the order of the null values (EM61-MK2 channels 1-4; EM61-LX2
// early and late of the left coil, then of the right one).
Em61Reading em61_procedure_reading(const ReadingMeaning& m, const DecodeContext& c);

}  // namespace quelor
