#pragma once
// EM38-MK2 offset calibration on a monopod: two seconds of vertical-dipole
// records, up to 60 s for the operator to rotate the instrument, one second
// of settling, two seconds of horizontal-dipole records, then 1.5 s of a
// closing text before the beep. Driven by the decoded records and by the
// logging window's timer ticks, so a silent instrument cannot hang it.
//
// The six calibration values (settings `em38mk2_calibration`): vertical
// in-phase offset coil 1, coil 2, horizontal in-phase offset coil 1, coil 2,
// conductivity offset coil 1, coil 2.

#include <array>
#include <cstdint>

#include "io/clock.h"
#include "procedures/procedure_step.h"
#include "serial/decode_em38mk2.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

using Em38Mk2Values = std::array<double, 6>;

enum Em38Mk2SubState : int {
  kWaitHorizontal = 0,
  kPrepareHorizontal = 1,
  kCollectHorizontal = 2,
  kCalibrationCompleted = 3,
  kVerticalFailed = 4,
  kHorizontalFailed = 5,
  kHorizontalNotDetected = 6,
};

struct Em38Mk2Calibration {
  int flag = 0;   // -1 while a calibration runs
  int phase = 0;  // 1 vertical, 2 horizontal part, 0 off
  int sub_state = 0;
  std::uint32_t phase_start = 0;
  int samples = 0;
  // Conductivity and in-phase of coil 1 and coil 2: vertical [0..3], horizontal [4..7].
  std::array<double, 8> sums{};
  std::array<double, 2> vertical_conductivity{};  // means of the vertical part
  Em38Mk2Values saved{};                          // the values before the calibration
};

inline constexpr int kCalibrationMinimumSamples = 30;

// The decoder offsets of each dipole from the six values. While a
// calibration runs the decoder gets zero offsets, so the means are those of
// the instrument's own values and a second calibration does not flip them.
Em38Mk2Offsets em38mk2_offsets(const Em38Mk2Values& values);
Em38Mk2Offsets em38mk2_decoder_offsets(const Em38Mk2Calibration& c, const Settings& s);

bool em38mk2_calibrating(const Em38Mk2Calibration& c);

// "CALIBRATION": "Place  EM38-MK2  on  Monopod" (EM38-4: "Place  EM38-4  on
// Monopod"), "in  Vertical  Dipole  Mode", "and  press  YES  when  ready".
OperatorMessage calibration_start_question(InstrumentType instrument_type);

// Before the question: the current values go to the saved copy.
void em38mk2_prepare(Em38Mk2Calibration& c, const Settings& s);
// The operator's answer. YES pauses the GPS and starts the vertical part.
ProcedureStep em38mk2_start(Em38Mk2Calibration& c, bool yes, Clock& clock);

// One decoded record while the calibration runs.
ProcedureStep em38mk2_on_reading(Em38Mk2Calibration& c, Settings& s, const Em38Mk2Reading& r, Clock& clock);
// The survey ends while the calibration runs: the values before it come
// back, unless it has completed (its values are saved and written already).
void em38mk2_abandon(Em38Mk2Calibration& c, Settings& s);

// One timer tick while the calibration runs.
ProcedureStep em38mk2_on_tick(Em38Mk2Calibration& c, Settings& s, Clock& clock);

}  // namespace quelor
