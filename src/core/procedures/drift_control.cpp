#include "procedures/drift_control.h"

#include <algorithm>
#include <cmath>

#include "datafile/record_layout.h"
#include "variant/variant.h"

namespace quelor {

bool drift_collecting(const DriftControl& d) { return d.flag == -3; }

int drift_sample_count(const Settings& s) {
  // The second of the three trailing doubles of the EM38-4 block (20 by default).
  const double n = s.em38_4.values_f[1];
  if (!std::isfinite(n) || n < 1.0) return 1;
  return static_cast<int>(std::min(n, 10000.0));
}

OperatorMessage drift_start_question(InstrumentType instrument_type) {
  const char* place = instrument_type == kEm38_4 ? "Position EM38-4 in Standard Drift Control Position."
                                                 : "Position EM38-MK2 in Standard Drift Control Position.";
  return procedure_box("Confirm Drift Control Procedure", {place, "Tap OK to Start Procedure or  CANCEL to stop"},
                       DialogTemplate::kOkCancel);
}

ProcedureStep drift_start(DriftControl& d, InstrumentType instrument_type, int samples, bool ok) {
  ProcedureStep step;
  step.ended = true;
  if (!ok || instrument_type != kEm38_4) {
    d.flag = 0;
    return step;
  }
  d.flag = -3;
  d.samples = std::max(1, samples);
  d.counter = 0;
  d.sums = {};
  d.collected = false;
  step.ended = false;
  step.message = std::vector<std::string>{"Drift Control", format_text("%3d of %3d", 0, d.samples)};
  return step;
}

ProcedureStep drift_on_reading(DriftControl& d, const Em38_4Reading& r) {
  ProcedureStep step;
  if (!drift_collecting(d) || d.collected) return step;
  ++d.counter;
  for (std::size_t i = 0; i < 8; ++i) d.sums[i] += r.slots[i];
  std::vector<std::string> lines;
  for (std::size_t pair = 0; pair < 4; ++pair)
    lines.push_back(format_text("C%d: %8.2f", static_cast<int>(pair + 1), r.slots[pair * 2]));
  lines.push_back("Drift Control");
  lines.push_back(format_text("%3d of %3d", d.counter, d.samples));
  step.message = lines;
  if (d.counter < d.samples) return step;
  d.previous = d.references;
  for (std::size_t i = 0; i < 8; ++i) d.references[i] = d.sums[i] / d.samples;
  d.collected = true;
  step.ask =
      procedure_box("Drift Procedure - DONE", {"Drift Collection Completed.", "Tap OK to Accept or Cancel to Discard"},
                    DialogTemplate::kOkCancel);
  return step;
}

ProcedureStep drift_answer(DriftControl& d, int answer) {
  ProcedureStep step;
  if (!d.collected) return step;
  if (answer != 1) d.references = d.previous;
  d.collected = false;
  d.flag = 0;
  step.stamp_last_record = true;
  step.ended = true;
  return step;
}

}  // namespace quelor
