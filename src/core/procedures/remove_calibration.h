#pragma once
// Remove Calibration of the EM38-MK2 and the EM38-4: the factors are cleared,
// the settings saved and the cleared constants written with the values they
// replace.

#include "procedures/procedure_step.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// "Delete Calibration": "Are you sure you want to", "delete Calibration
// factors ?", "press  YES  or  NO".
OperatorMessage remove_calibration_question();

// YES: clears the instrument's calibration; nothing for other instruments.
ProcedureStep remove_calibration(Settings& s, InstrumentType instrument_type);

}  // namespace quelor
