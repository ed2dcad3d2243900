#include "procedures/nulling.h"

#include <algorithm>

#include "datafile/record_layout.h"
#include "procedures/lx2_filter_calibration.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

std::vector<std::string> progress(const Em61Procedures& p) {
  const NullingRun& n = p.nulling;
  if (p.state == kProcedureFilterNulling) return {"Offset", "Nulling:", format_text("%3d of %3d", n.taken, n.samples)};
  return {"Nulling:", format_text("%2d of %2d", n.taken, n.samples)};
}

// The start reading: the offsets in force are kept and set to zero, so the
// readings that follow are decoded without them.
void begin(Em61Procedures& p, Settings& s) {
  NullingRun& n = p.nulling;
  n.previous = s.channel_null_values;
  if (p.state == kProcedureFilterNulling) n.calibration_saved = s.channel_null_values;
  s.channel_null_values = {};
  n.sums = {};
  n.taken = 0;
  n.counter = 1;
}

}  // namespace

OperatorMessage nulling_question() {
  return procedure_box("NULLING", {"DO YOU WANT TO PERFORM NULLING"}, DialogTemplate::kYesNo);
}

ProcedureStep nulling_start(Em61Procedures& p, int samples, bool filter_part) {
  ProcedureStep step;
  if (p.state != kProcedureNormal) return step;
  p.state = filter_part ? kProcedureFilterNulling : kProcedureNulling;
  p.nulling.counter = 0;
  p.nulling.taken = 0;
  p.nulling.samples = std::max(1, samples);
  step.clear_status_flags = true;
  step.disable_buttons = true;
  step.message = progress(p);
  return step;
}

ProcedureStep nulling_on_reading(Em61Procedures& p, Settings& s, const Em61Reading& r, InstrumentType instrument_type,
                                 bool writes_record) {
  if (p.state != kProcedureNulling && p.state != kProcedureFilterNulling) return {};
  NullingRun& n = p.nulling;
  ProcedureStep step;
  if (n.counter == 0) {
    begin(p, s);
    step.message = progress(p);
    return step;
  }
  // Add, then test, then count: the offsets are the mean of `samples` readings.
  for (int i = 0; i < r.channel_count && i < 4; ++i)
    n.sums[static_cast<std::size_t>(i)] += r.channels[static_cast<std::size_t>(i)];
  ++n.taken;
  step.message = progress(p);
  if (n.counter != n.samples) {
    ++n.counter;
    return step;
  }
  for (std::size_t i = 0; i < 4; ++i) s.channel_null_values[i] = n.sums[i] / n.samples;
  if (p.state == kProcedureFilterNulling) return filter_part_two(p, step);
  p.state = kProcedureNormal;
  step.save_settings = true;  // the null values are kept for the next survey ("Last Survey")
  if (writes_record) {
    const bool lx2 = has_trait(instrument_type, Trait::kNullPairs);
    step.writes.push_back({ConstantWrite::Kind::kNullValues, constant_pairs(s.channel_null_values, n.previous), !lx2});
  }
  step.ended = true;
  return step;
}

}  // namespace quelor
