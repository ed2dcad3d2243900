#include "procedures/lx2_filter_calibration.h"

#include <algorithm>

#include "datafile/record_layout.h"
#include "procedures/nulling.h"

namespace quelor {

namespace {

constexpr const char* kCoilName[2] = {"Left", "Right"};

double& coil_factor(Settings& s, int coil) {
  return coil == 0 ? s.left_coil_filter_factor : s.right_coil_filter_factor;
}

ProcedureStep back_to_normal(Em61Procedures& p, ProcedureStep step = {}) {
  p.state = kProcedureNormal;
  p.filter.box = FilterBox::kNone;
  step.clear_status_flags = true;
  step.ended = true;
  return step;
}

ProcedureStep ask(Em61Procedures& p, FilterBox box, OperatorMessage m, bool beep) {
  p.filter.box = box;
  ProcedureStep step;
  step.ask = std::move(m);
  step.beep = beep;
  return step;
}

// One coil says "Calibration Failed." first; the two-coil box says it after
// the range.
ProcedureStep failed_box(Em61Procedures& p, const Settings& s, int coil) {
  const std::string name = kCoilName[coil];
  const double previous = coil == 0 ? s.left_coil_filter_factor : s.right_coil_filter_factor;
  std::vector<std::string> lines{format_text("Calculated Filter Factor for %s Coil ( %.1f )", name.c_str(),
                                             p.filter.factor[static_cast<std::size_t>(coil)]),
                                 " is out of valid range ( 125 to 1000 ).",
                                 format_text("Program restores previous value ( %.1f )", previous)};
  lines.insert(p.filter.two_coils ? lines.begin() + 2 : lines.begin(), "Calibration Failed.");
  return ask(p, coil == 0 ? FilterBox::kLeftFailed : FilterBox::kRightFailed,
             procedure_box("Filter Factor " + name + " Coil", lines, DialogTemplate::kOk), true);
}

ProcedureStep complete_box(Em61Procedures& p, const Settings& s) {
  const FilterCalibrationRun& f = p.filter;
  std::string first;
  if (f.two_coils) {
    first = format_text("Filter Factor for Left  Sensor = %.1f", s.left_coil_filter_factor) +
            (f.restored[0] ? " (restored)" : "") +
            format_text("\r\n Filter Factor for Right Sensor = %.1f", s.right_coil_filter_factor) +
            (f.restored[1] ? " (restored)" : "");
  } else {
    first = format_text("Filter Factor = %.1f", s.left_coil_filter_factor);
  }
  return ask(p, FilterBox::kComplete,
             procedure_box("Filter Calibration Complete",
                           {first, "Press OK to accept the calibration", "or CANCEL to restore previous values"},
                           DialogTemplate::kOkCancel),
             false);
}

// The next box after the failure box of `after` (-1: none shown yet).
ProcedureStep next_result_box(Em61Procedures& p, Settings& s, int after) {
  const FilterCalibrationRun& f = p.filter;
  const int coils = f.two_coils ? 2 : 1;
  for (int coil = after + 1; coil < coils; ++coil)
    if (f.restored[static_cast<std::size_t>(coil)]) return failed_box(p, s, coil);
  // One coil out of range ends the calibration with the previous nulling; two
  // coils always reach the completion box (a coil out of range shows
  // " (restored)"), whose OK keeps the new nulling.
  const bool all_failed = std::all_of(f.restored.begin(), f.restored.begin() + coils, [](bool r) { return r; });
  if (all_failed && !f.two_coils) {
    s.channel_null_values = p.nulling.calibration_saved;
    return back_to_normal(p);
  }
  return complete_box(p, s);
}

// The factors are computed; each coil in range takes its new factor.
ProcedureStep filter_result(Em61Procedures& p, Settings& s) {
  FilterCalibrationRun& f = p.filter;
  const int coils = f.two_coils ? 2 : 1;
  for (int coil = 0; coil < coils; ++coil) {
    const std::size_t c = static_cast<std::size_t>(coil);
    const double ratio = f.sums[c * 2] / f.sums[c * 2 + 1];  // means over the same count
    f.factor[c] = filter_factor_from_ratio(ratio);
    f.previous_factor[c] = coil_factor(s, coil);
    f.restored[c] = !filter_factor_valid(f.factor[c]);
    if (f.restored[c]) continue;
    f.previous_ratio[c] = f.ratio[c];
    f.ratio[c] = ratio;
    coil_factor(s, coil) = f.factor[c];
  }
  return next_result_box(p, s, -1);
}

void restore_previous(Em61Procedures& p, Settings& s) {
  FilterCalibrationRun& f = p.filter;
  for (int coil = 0; coil < 2; ++coil) {
    const std::size_t c = static_cast<std::size_t>(coil);
    if (f.restored[c] || (coil == 1 && !f.two_coils)) continue;
    coil_factor(s, coil) = f.previous_factor[c];
    f.ratio[c] = f.previous_ratio[c];
  }
  s.channel_null_values = p.nulling.calibration_saved;
}

ProcedureStep accept(Em61Procedures& p, Settings& s) {
  const FilterCalibrationRun& f = p.filter;
  ProcedureStep step;
  step.save_settings = true;
  step.writes.push_back(
      {ConstantWrite::Kind::kNullValues, constant_pairs(s.channel_null_values, p.nulling.calibration_saved), false});
  const double right_previous = f.two_coils ? f.previous_factor[1] : s.right_coil_filter_factor;
  step.writes.push_back(
      {ConstantWrite::Kind::kLx2Constants,
       {{s.left_coil_filter_factor, f.previous_factor[0]}, {s.right_coil_filter_factor, right_previous}}});
  return back_to_normal(p, step);
}

}  // namespace

double filter_factor_from_ratio(double r) { return r <= 3.1 ? 108.0 * r + 18.0 : 128.0 * r - 44.0; }

double ratio_from_filter_factor(double f) { return f <= 352.8 ? (f - 18.0) / 108.0 : (f + 44.0) / 128.0; }

bool filter_factor_valid(double f) { return f >= 125.0 && f <= 1000.0; }

ProcedureStep filter_calibration_start(Em61Procedures& p, bool two_coils, int nulling_samples, int filter_samples) {
  if (p.state != kProcedureNormal) return {};
  p.filter.two_coils = two_coils;
  p.filter.samples = std::max(1, filter_samples);
  p.filter.box = FilterBox::kNone;
  return nulling_start(p, nulling_samples, true);
}

ProcedureStep filter_part_two(Em61Procedures& p, ProcedureStep step) {
  const OperatorMessage m = p.filter.two_coils
                                ? procedure_box("Filter Calibration Part 2",
                                                {"Ready to calculate Filter Factors", "Place coil(s) on the ground.",
                                                 "Press OK when you are ready to start"},
                                                DialogTemplate::kOkCancel)
                                : procedure_box("Calibration Part 2",
                                                {"Ready to calculate Filter Factor", "Place coil(s) on the ground.",
                                                 "Press  OK  when  you are ready to start"},
                                                DialogTemplate::kOkCancel);
  p.filter.box = FilterBox::kPart2;
  step.ask = m;
  step.beep = true;
  return step;
}

ProcedureStep filter_on_reading(Em61Procedures& p, Settings& s, const Em61Reading& r) {
  if (p.state != kProcedureFilterFactor || p.filter.box != FilterBox::kNone) return {};
  FilterCalibrationRun& f = p.filter;
  const int values = f.two_coils ? 4 : 2;
  for (int i = 0; i < values; ++i) f.sums[static_cast<std::size_t>(i)] += r.channels[static_cast<std::size_t>(i)];
  ++f.counter;
  ProcedureStep step;
  step.message = std::vector<std::string>{"Calculating:", format_text("%3d of %3d", f.counter, f.samples)};
  if (f.counter < f.samples) return step;
  ProcedureStep result = filter_result(p, s);
  result.message = step.message;
  return result;
}

ProcedureStep filter_answer(Em61Procedures& p, Settings& s, int answer) {
  FilterCalibrationRun& f = p.filter;
  const bool ok = answer == 1;
  switch (f.box) {
    case FilterBox::kPart2:
      if (!ok) {
        s.channel_null_values = p.nulling.calibration_saved;
        return back_to_normal(p);
      }
      f.sums = {};
      f.counter = 0;
      f.restored = {};
      f.box = FilterBox::kNone;
      p.state = kProcedureFilterFactor;
      return {};
    case FilterBox::kLeftFailed: return next_result_box(p, s, 0);
    case FilterBox::kRightFailed: return next_result_box(p, s, 1);
    case FilterBox::kComplete:
      if (ok) return accept(p, s);
      restore_previous(p, s);
      return back_to_normal(p);
    case FilterBox::kNone: break;
  }
  return {};
}

}  // namespace quelor
