#pragma once
// EM38-4 drift control: the channels averaged at the standard drift-control
// position become the eight drift references. The references in force before
// are kept, and put back when the operator discards the new set.

#include <array>

#include "procedures/procedure_step.h"
#include "serial/decode_em38mk2.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

struct DriftControl {
  int flag = 0;  // -3 while drift readings are collected
  int samples = 20;
  int counter = 0;
  std::array<double, 8> sums{};
  std::array<double, 8> references{};
  std::array<double, 8> previous{};
  bool collected = false;  // waiting for the answer to the closing box
};

bool drift_collecting(const DriftControl& d);

// The number of drift samples of the settings, at least 1.
int drift_sample_count(const Settings& s);

// "Confirm Drift Control Procedure": "Position EM38-MK2 in Standard Drift
// Control Position." (EM38-4 likewise), "Tap OK to Start Procedure or  CANCEL to stop".
OperatorMessage drift_start_question(InstrumentType instrument_type);

// The answer to the start question. OK starts the collection (EM38-4; the
// EM38-MK2 has no drift readings to collect), Cancel redraws.
ProcedureStep drift_start(DriftControl& d, InstrumentType instrument_type, int samples, bool ok);

// One decoded EM38-4 reading: "C1: %8.2f" .. "C4: %8.2f" (the conductivity of
// each pair), "Drift Control", "%3d of %3d"; the last one asks
// "Drift Procedure - DONE".
ProcedureStep drift_on_reading(DriftControl& d, const Em38_4Reading& r);

// OK keeps the new references, Cancel restores the previous ones. Either way
// the port is purged, the last-record tick stamped and the window redrawn.
ProcedureStep drift_answer(DriftControl& d, int answer);

}  // namespace quelor
