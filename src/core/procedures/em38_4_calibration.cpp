#include "procedures/em38_4_calibration.h"

#include "procedures/em38_4_values.h"

namespace quelor {

namespace {

constexpr std::uint32_t kCollectMs = 5000;
constexpr std::uint32_t kSettleMs = 1000;

struct BoxText {
  Em38_4Box box;
  const char* title;
  std::vector<std::string> lines;
  DialogTemplate dialog;
};

const BoxText& box_text(Em38_4Box box) {
  static const BoxText kBoxes[] = {
      {Em38_4Box::kRotate,
       "Horizontal Calibration",
       {"Rotate the unit to Horizontal Dipole Mode.", "When ready then press OK"},
       DialogTemplate::kOk},
      {Em38_4Box::kAccept,
       "Instrument Calibration",
       {"Instrument Calibration is Completed.", "Press OK to accept or CANCEL this Calibration"},
       DialogTemplate::kOkCancel},
      {Em38_4Box::kCarrierQuestion,
       "Carrier Effect Calibration",
       {"Do you want to proceed with Carrier Effect Calibration?", "press YES to CONTINUE or NO to SKIP this option."},
       DialogTemplate::kYesNo},
      {Em38_4Box::kCompleted,
       "Instrument Calibration Completed",
       {"Instrument Calibration Completed.", "Press OK to continue"},
       DialogTemplate::kOk},
      {Em38_4Box::kRemoveCarrier,
       "Removing Carrier Effect Calibration",
       {"Rotate the instrument to Standard Vertical Dipole Mode and",
        "place at the height equivalent to height from ground that instrument will operate.", "Press OK to continue"},
       DialogTemplate::kOk},
      {Em38_4Box::kMountCarrier,
       "Removing Carrier Effect Calibration",
       {"Mount EM38-4 on the carrier.", "Press OK to continue"},
       DialogTemplate::kOk},
      {Em38_4Box::kCarrierCompleted,
       "Calibration Completed",
       {"Calibration Completed.", "Press OK to continue"},
       DialogTemplate::kOk},
      {Em38_4Box::kFailed,
       "Instrument Calibration",
       {"Calibration Failed.", "No readings received.", "Program restores previous values"},
       DialogTemplate::kOk},
  };
  for (const BoxText& b : kBoxes)
    if (b.box == box) return b;
  return kBoxes[0];
}

ProcedureStep ask(Em38_4CalibrationRun& c, Em38_4Box box) {
  c.stage = Em38_4Stage::kBox;
  c.box = box;
  const BoxText& t = box_text(box);
  ProcedureStep step;
  step.ask = procedure_box(t.title, t.lines, t.dialog);
  return step;
}

void enter(Em38_4CalibrationRun& c, Em38_4Stage stage, std::uint32_t now) {
  c.stage = stage;
  c.box = Em38_4Box::kNone;
  c.stage_start = now;
  c.samples = 0;
  c.sums = {};
}

std::array<double, 8> means(const Em38_4CalibrationRun& c) {
  std::array<double, 8> m{};
  for (std::size_t i = 0; i < 8; ++i) m[i] = c.sums[i] / c.samples;
  return m;
}

ProcedureStep end(Em38_4CalibrationRun& c) {
  c.flag = 0;
  c.stage = Em38_4Stage::kOff;
  c.box = Em38_4Box::kNone;
  ProcedureStep step;
  step.resume_gps = true;
  step.ended = true;
  return step;
}

// Saves the settings, writes the calibration record and shows the closing box.
ProcedureStep store(Em38_4CalibrationRun& c, const Settings& s, Em38_4Box closing) {
  ProcedureStep step = ask(c, closing);
  step.save_settings = true;
  const Em38_4Calibration now = em38_4_calibration(s.em38_4);
  step.writes.push_back(
      {ConstantWrite::Kind::kEm38_4Constants, constant_pairs(em38_4_constants(now), em38_4_constants(c.previous))});
  return step;
}

// The end of a collection: what the means are for.
ProcedureStep collected(Em38_4CalibrationRun& c, Settings& s) {
  if (c.samples == 0) {
    set_em38_4_calibration(s.em38_4, c.previous);
    return ask(c, Em38_4Box::kFailed);
  }
  const std::array<double, 8> m = means(c);
  Em38_4Calibration cal = em38_4_calibration(s.em38_4);
  switch (c.stage) {
    case Em38_4Stage::kVertical: c.vertical_means = m; return ask(c, Em38_4Box::kRotate);
    case Em38_4Stage::kHorizontal:
      for (std::size_t pair = 0; pair < 4; ++pair)
        cal.conductivity_offset[pair] = c.vertical_means[pair * 2] - 2.0 * m[pair * 2];
      set_em38_4_calibration(s.em38_4, cal);
      return ask(c, Em38_4Box::kAccept);
    case Em38_4Stage::kCarrierOff:
      c.reference_means = m;
      cal.carrier_offset = {};
      cal.carrier_inphase_offset = {};
      set_em38_4_calibration(s.em38_4, cal);
      return ask(c, Em38_4Box::kMountCarrier);
    default:  // kCarrierOn
      for (std::size_t pair = 0; pair < 4; ++pair) {
        cal.carrier_offset[pair] = m[pair * 2] - c.reference_means[pair * 2];
        cal.carrier_inphase_offset[pair] = m[pair * 2 + 1] - c.reference_means[pair * 2 + 1];
      }
      set_em38_4_calibration(s.em38_4, cal);
      return store(c, s, Em38_4Box::kCarrierCompleted);
  }
}

bool settling(Em38_4Stage stage) {
  return stage == Em38_4Stage::kHorizontalSettle || stage == Em38_4Stage::kCarrierOffSettle ||
         stage == Em38_4Stage::kCarrierOnSettle;
}

ProcedureStep advance(Em38_4CalibrationRun& c, Settings& s, const Em38_4Reading* r, std::uint32_t now) {
  if (c.stage == Em38_4Stage::kBox || c.stage == Em38_4Stage::kOff) return {};
  const std::uint32_t elapsed = elapsed_ms(c.stage_start, now);
  if (settling(c.stage)) {
    if (elapsed < kSettleMs) return {};
    // The settling step hands over to its collection.
    enter(c, static_cast<Em38_4Stage>(static_cast<int>(c.stage) + 1), now);
    return {};
  }
  if (elapsed > kCollectMs) return collected(c, s);
  if (r != nullptr) {
    ++c.samples;
    for (std::size_t i = 0; i < 8; ++i) c.sums[i] += r->slots[i];
  }
  return {};
}

}  // namespace

bool em38_4_calibrating(const Em38_4CalibrationRun& c) { return c.flag == -1; }

Em38_4Calibration em38_4_decoder_calibration(const Em38_4CalibrationRun& c, const Settings& s) {
  return em38_4_calibrating(c) ? Em38_4Calibration{} : em38_4_calibration(s.em38_4);
}

ProcedureStep em38_4_start(Em38_4CalibrationRun& c, const Settings& s, bool yes, Clock& clock) {
  ProcedureStep step;
  if (!yes) {
    step.ended = true;
    return step;
  }
  c = Em38_4CalibrationRun{};
  c.previous = em38_4_calibration(s.em38_4);
  c.flag = -1;
  enter(c, Em38_4Stage::kVertical, clock.now_ms());
  step.pause_gps = true;
  return step;
}

ProcedureStep em38_4_on_reading(Em38_4CalibrationRun& c, Settings& s, const Em38_4Reading& r, Clock& clock) {
  if (!em38_4_calibrating(c)) return {};
  return advance(c, s, &r, clock.now_ms());
}

ProcedureStep em38_4_on_tick(Em38_4CalibrationRun& c, Settings& s, Clock& clock) {
  if (!em38_4_calibrating(c)) return {};
  return advance(c, s, nullptr, clock.now_ms());
}

ProcedureStep em38_4_answer(Em38_4CalibrationRun& c, Settings& s, int answer, Clock& clock) {
  if (c.stage != Em38_4Stage::kBox) return {};
  const std::uint32_t now = clock.now_ms();
  const bool yes = answer == 1;
  switch (c.box) {
    case Em38_4Box::kRotate: enter(c, Em38_4Stage::kHorizontalSettle, now); return {};
    case Em38_4Box::kAccept:
      if (yes) return ask(c, Em38_4Box::kCarrierQuestion);
      set_em38_4_calibration(s.em38_4, c.previous);
      return end(c);
    case Em38_4Box::kCarrierQuestion: {
      if (yes) return ask(c, Em38_4Box::kRemoveCarrier);
      Em38_4Calibration cal = em38_4_calibration(s.em38_4);
      cal.carrier_offset = {};
      cal.carrier_inphase_offset = {};
      set_em38_4_calibration(s.em38_4, cal);
      return store(c, s, Em38_4Box::kCompleted);
    }
    case Em38_4Box::kRemoveCarrier: enter(c, Em38_4Stage::kCarrierOffSettle, now); return {};
    case Em38_4Box::kMountCarrier: enter(c, Em38_4Stage::kCarrierOnSettle, now); return {};
    default:  // the closing boxes
      return end(c);
  }
}

}  // namespace quelor
