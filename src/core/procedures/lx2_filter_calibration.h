#pragma once
// EM61-LX2 filter-factor calibration: a nulling part (procedure state -2),
// a box, then a filter part (state -3) with the coil(s) on the ground. Per
// coil, ratio r = mean channel 1 / mean channel 2 and the filter factor
// F = 108 r + 18 (r <= 3.1) or 128 r - 44, valid from 125 to 1000. A mean of
// zero (0/0) gives no number and fails the range test like any bad factor.

#include "procedures/em61_procedures.h"
#include "procedures/procedure_step.h"
#include "serial/decode_em61.h"
#include "settings/settings.h"

namespace quelor {

double filter_factor_from_ratio(double ratio);
double ratio_from_filter_factor(double factor);
bool filter_factor_valid(double factor);  // false for NaN

// Starts the nulling part.
ProcedureStep filter_calibration_start(Em61Procedures& p, bool two_coils, int nulling_samples, int filter_samples);

// The box between the two parts (the nulling part ends with it).
ProcedureStep filter_part_two(Em61Procedures& p, ProcedureStep step);

// One decoded reading of the filter part (state -3).
ProcedureStep filter_on_reading(Em61Procedures& p, Settings& s, const Em61Reading& r);

// The answer to the step's box: 1 for OK, 0 for CANCEL.
ProcedureStep filter_answer(Em61Procedures& p, Settings& s, int answer);

}  // namespace quelor
