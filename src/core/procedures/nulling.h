#pragma once
// EM61 nulling: the channels averaged over a number of readings taken away
// from targets; the averages become the nulling offsets that the decoder
// subtracts from every later reading. The reading that starts the nulling is
// not used; the offsets are the mean of the `samples` readings after it.

#include "procedures/em61_procedures.h"
#include "procedures/procedure_step.h"
#include "serial/decode_em61.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// Asked first in Stand By only: "NULLING" / "DO YOU WANT TO PERFORM NULLING".
OperatorMessage nulling_question();

// Starts a nulling (allowed only in the normal procedure state): clears the
// sixteen status flags and disables the logging buttons. `filter_part` starts
// it as the first part of the EM61-LX2 filter calibration.
ProcedureStep nulling_start(Em61Procedures& p, int samples, bool filter_part = false);

// One decoded reading while the nulling runs. `s.channel_null_values` are
// the offsets; `writes_record` is true when a finished nulling writes its
// record (Stand By). The filter part ends by asking the box of its second part.
ProcedureStep nulling_on_reading(Em61Procedures& p, Settings& s, const Em61Reading& r, InstrumentType instrument_type,
                                 bool writes_record);

}  // namespace quelor
