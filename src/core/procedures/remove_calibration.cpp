#include "procedures/remove_calibration.h"

#include "procedures/em38_4_values.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

OperatorMessage remove_calibration_question() {
  return procedure_box("Delete Calibration",
                       {"Are you sure you want to", "delete Calibration factors ?", "press  YES  or  NO"},
                       DialogTemplate::kYesNo);
}

ProcedureStep remove_calibration(Settings& s, InstrumentType instrument_type) {
  ProcedureStep step;
  if (has_trait(instrument_type, Trait::kCalibrationOffsets)) {
    const std::array<double, 6> previous = s.em38mk2_calibration;
    s.em38mk2_calibration = {};
    step.writes.push_back({ConstantWrite::Kind::kEm38Mk2Constants, constant_pairs(s.em38mk2_calibration, previous)});
  } else if (has_trait(instrument_type, Trait::kCalibrationConstants)) {
    const Em38_4Calibration previous = em38_4_calibration(s.em38_4);
    Em38_4Calibration cleared = previous;
    cleared.conductivity_offset = {};
    cleared.inphase_offset = {};
    cleared.carrier_offset = {};
    cleared.carrier_inphase_offset = {};
    set_em38_4_calibration(s.em38_4, cleared);
    step.writes.push_back(
        {ConstantWrite::Kind::kEm38_4Constants, constant_pairs(em38_4_constants(cleared), em38_4_constants(previous))});
  } else {
    return step;
  }
  step.save_settings = true;
  return step;
}

}  // namespace quelor
