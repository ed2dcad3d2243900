#pragma once
// EM38-4 instrument calibration: five seconds of vertical-dipole readings,
// the operator rotates the unit, one second of settling, five seconds of
// horizontal readings; conductivity offset = mean vertical - 2 x mean
// horizontal for each coil pair. The optional carrier-effect part then takes
// five seconds without and five seconds on the carrier; each carrier offset
// is the difference of the two means. Timed steps advance on readings and on
// timer ticks; readings are collected with every offset at zero. A
// collection that ends without a reading (a silent instrument) fails the
// calibration: the previous values stay, nothing is saved or written.

#include <array>
#include <cstdint>

#include "io/clock.h"
#include "procedures/procedure_step.h"
#include "serial/decode_em38mk2.h"
#include "settings/settings.h"

namespace quelor {

enum class Em38_4Stage {
  kOff,
  kVertical,
  kHorizontalSettle,
  kHorizontal,
  kCarrierOffSettle,
  kCarrierOff,
  kCarrierOnSettle,
  kCarrierOn,
  kBox,  // waiting for the answer to `box`
};

enum class Em38_4Box {
  kNone,
  kRotate,
  kAccept,
  kCarrierQuestion,
  kCompleted,
  kRemoveCarrier,
  kMountCarrier,
  kCarrierCompleted,
  kFailed,  // a collection without a single reading: nothing to average
};

struct Em38_4CalibrationRun {
  int flag = 0;  // -1 while the calibration runs
  Em38_4Stage stage = Em38_4Stage::kOff;
  Em38_4Box box = Em38_4Box::kNone;
  std::uint32_t stage_start = 0;
  int samples = 0;
  std::array<double, 8> sums{};  // conductivity, in-phase of each pair
  std::array<double, 8> vertical_means{};
  std::array<double, 8> reference_means{};  // without the carrier
  Em38_4Calibration previous;               // restored on Cancel
};

bool em38_4_calibrating(const Em38_4CalibrationRun& c);
// The decoder's calibration: zero while the calibration runs.
Em38_4Calibration em38_4_decoder_calibration(const Em38_4CalibrationRun& c, const Settings& s);

// The answer to calibration_start_question(kEm38_4).
ProcedureStep em38_4_start(Em38_4CalibrationRun& c, const Settings& s, bool yes, Clock& clock);
ProcedureStep em38_4_on_reading(Em38_4CalibrationRun& c, Settings& s, const Em38_4Reading& r, Clock& clock);
ProcedureStep em38_4_on_tick(Em38_4CalibrationRun& c, Settings& s, Clock& clock);
// The answer to the step's box: 1 for OK / YES, 0 for CANCEL / NO.
ProcedureStep em38_4_answer(Em38_4CalibrationRun& c, Settings& s, int answer, Clock& clock);

}  // namespace quelor
