#include "procedures/em38mk2_calibration.h"

#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::uint32_t kCollectMs = 2000;
constexpr std::uint32_t kRotateMs = 60000;
constexpr std::uint32_t kPrepareMs = 1000;
constexpr std::uint32_t kClosingMs = 1500;

// Indices into the six values.
constexpr std::size_t kVerticalInphase = 0, kHorizontalInphase = 2, kConductivity = 4;

const char* closing_text(int sub_state) {
  switch (sub_state) {
    case kCalibrationCompleted: return "Calibration Completed - Wait for Beep";
    case kVerticalFailed: return "Vertical Mode Failed - Wait for Beep";
    case kHorizontalFailed: return "Horizontal Mode Failed - Wait for Beep";
    default: return "Horizontal Mode Not Detected - Wait for Beep";
  }
}

ProcedureStep show(const char* text) {
  ProcedureStep step;
  step.message = std::vector<std::string>{text};
  return step;
}

// Adds a record of the expected dipole to one half of the sums.
void collect(Em38Mk2Calibration& c, const Em38Mk2Reading& r, bool vertical) {
  const int slot = vertical ? 0 : 1;
  const std::size_t base = vertical ? 0 : 4;
  ++c.samples;
  for (std::size_t k = 0; k < 4; ++k) {
    const int index = slot + 2 * static_cast<int>(k);  // cond 1, in-phase 1, cond 2, in-phase 2
    if (r.slots.present[index]) c.sums[base + k] += r.slots.value[index];
  }
}

double mean(double sum, int count) { return sum / count; }

void enter_sub_state(Em38Mk2Calibration& c, int sub_state, std::uint32_t now) {
  c.phase = 2;
  c.sub_state = sub_state;
  c.phase_start = now;
}

ProcedureStep end_vertical(Em38Mk2Calibration& c, Settings& s, std::uint32_t now) {
  if (c.samples < kCalibrationMinimumSamples) {
    enter_sub_state(c, kVerticalFailed, now);
    return show(closing_text(kVerticalFailed));
  }
  s.em38mk2_calibration[kVerticalInphase] = mean(c.sums[1], c.samples);
  s.em38mk2_calibration[kVerticalInphase + 1] = mean(c.sums[3], c.samples);
  c.vertical_conductivity = {mean(c.sums[0], c.samples), mean(c.sums[2], c.samples)};
  enter_sub_state(c, kWaitHorizontal, now);
  ProcedureStep step = show("Rotate to Horizontal Mode within 60 seconds");
  step.beep = true;
  return step;
}

ProcedureStep end_horizontal(Em38Mk2Calibration& c, Settings& s, std::uint32_t now) {
  if (c.samples < kCalibrationMinimumSamples) {
    enter_sub_state(c, kHorizontalFailed, now);
    return show(closing_text(kHorizontalFailed));
  }
  Em38Mk2Values& v = s.em38mk2_calibration;
  v[kHorizontalInphase] = mean(c.sums[5], c.samples);
  v[kHorizontalInphase + 1] = mean(c.sums[7], c.samples);
  v[kConductivity] = c.vertical_conductivity[0] - 2.0 * mean(c.sums[4], c.samples);
  v[kConductivity + 1] = c.vertical_conductivity[1] - 2.0 * mean(c.sums[6], c.samples);
  enter_sub_state(c, kCalibrationCompleted, now);
  ProcedureStep step = show(closing_text(kCalibrationCompleted));
  step.save_settings = true;
  step.writes.push_back({ConstantWrite::Kind::kEm38Mk2Constants, constant_pairs(v, c.saved)});
  return step;
}

ProcedureStep finish(Em38Mk2Calibration& c, Settings& s) {
  if (c.sub_state != kCalibrationCompleted) s.em38mk2_calibration = c.saved;
  c.flag = 0;
  c.phase = 0;
  c.sub_state = 0;
  ProcedureStep step;
  step.beep = true;
  step.resume_gps = true;
  step.ended = true;
  return step;
}

ProcedureStep advance(Em38Mk2Calibration& c, Settings& s, const Em38Mk2Reading* r, std::uint32_t now) {
  const std::uint32_t elapsed = elapsed_ms(c.phase_start, now);
  if (c.phase == 1) {
    if (elapsed > kCollectMs) return end_vertical(c, s, now);
    if (r != nullptr && r->dipole == 'V') collect(c, *r, true);
    return show("Vertical Calibration");
  }
  switch (c.sub_state) {
    case kWaitHorizontal:
      if (r != nullptr && r->dipole == 'H') {
        enter_sub_state(c, kPrepareHorizontal, now);
        return show("Preparing for Horizontal Calibration");
      }
      if (elapsed > kRotateMs) {
        enter_sub_state(c, kHorizontalNotDetected, now);
        return show(closing_text(kHorizontalNotDetected));
      }
      return {};
    case kPrepareHorizontal:
      if (elapsed < kPrepareMs) return show("Preparing for Horizontal Calibration");
      c.samples = 0;
      enter_sub_state(c, kCollectHorizontal, now);
      return show("Horizontal Calibration");
    case kCollectHorizontal:
      if (elapsed > kCollectMs) return end_horizontal(c, s, now);
      if (r != nullptr && r->dipole == 'H') collect(c, *r, false);
      return show("Horizontal Calibration");
    default:
      if (elapsed < kClosingMs) return show(closing_text(c.sub_state));
      return finish(c, s);
  }
}

}  // namespace

Em38Mk2Offsets em38mk2_offsets(const Em38Mk2Values& v) {
  Em38Mk2Offsets o;
  o.vertical = {v[kConductivity], v[kVerticalInphase], v[kConductivity + 1], v[kVerticalInphase + 1]};
  o.horizontal = {v[kConductivity], v[kHorizontalInphase], v[kConductivity + 1], v[kHorizontalInphase + 1]};
  return o;
}

Em38Mk2Offsets em38mk2_decoder_offsets(const Em38Mk2Calibration& c, const Settings& s) {
  return em38mk2_calibrating(c) ? Em38Mk2Offsets{} : em38mk2_offsets(s.em38mk2_calibration);
}

bool em38mk2_calibrating(const Em38Mk2Calibration& c) { return c.flag == -1; }

OperatorMessage calibration_start_question(InstrumentType instrument_type) {
  const char* place = instrument_type == kEm38_4 ? "Place  EM38-4  on  Monopod" : "Place  EM38-MK2  on  Monopod";
  return procedure_box("CALIBRATION", {place, "in  Vertical  Dipole  Mode", "and  press  YES  when  ready"},
                       DialogTemplate::kYesNo);
}

void em38mk2_prepare(Em38Mk2Calibration& c, const Settings& s) { c.saved = s.em38mk2_calibration; }

ProcedureStep em38mk2_start(Em38Mk2Calibration& c, bool yes, Clock& clock) {
  ProcedureStep step;
  if (!yes) {
    step.ended = true;
    return step;
  }
  c.sums = {};
  c.samples = 0;
  c.phase = 1;
  c.sub_state = 0;
  c.phase_start = clock.now_ms();
  c.flag = -1;
  step.pause_gps = true;
  step.message = std::vector<std::string>{"Vertical Calibration"};
  return step;
}

ProcedureStep em38mk2_on_reading(Em38Mk2Calibration& c, Settings& s, const Em38Mk2Reading& r, Clock& clock) {
  if (!em38mk2_calibrating(c)) return {};
  return advance(c, s, &r, clock.now_ms());
}

ProcedureStep em38mk2_on_tick(Em38Mk2Calibration& c, Settings& s, Clock& clock) {
  if (!em38mk2_calibrating(c)) return {};
  return advance(c, s, nullptr, clock.now_ms());
}

void em38mk2_abandon(Em38Mk2Calibration& c, Settings& s) {
  if (em38mk2_calibrating(c)) finish(c, s);
}

}  // namespace quelor
