#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "procedure_fakes.h"
#include "procedures/drift_control.h"
#include "procedures/drift_reminder.h"
#include "procedures/em38_4_calibration.h"
#include "procedures/em38_4_values.h"
#include "procedures/em38mk2_calibration.h"
#include "procedures/remove_calibration.h"

namespace quelor {
namespace {

Em38_4Reading em38_4(double conductivity, double inphase) {
  Em38_4Reading r;
  for (std::size_t pair = 0; pair < 4; ++pair) {
    r.slots[pair * 2] = conductivity + static_cast<double>(pair);
    r.slots[pair * 2 + 1] = inphase + static_cast<double>(pair);
  }
  return r;
}

// The instrument as each part of the calibration sees it.
struct Em38_4Site {
  double vertical, horizontal, off_carrier, on_carrier;
};

struct Em38_4Run {
  std::vector<std::string> titles;
  std::vector<ConstantWrite> writes;
  int saves = 0;
  bool ended = false;
};

// Feeds readings every 100 ms (and timer ticks between them), answering the
// boxes from `answers` in order.
Em38_4Run calibrate(Em38_4CalibrationRun& c, Settings& s, const Em38_4Site& site, std::vector<int> answers) {
  test::FakeClock clock;
  Em38_4Run out;
  std::size_t next = 0;
  auto take = [&](ProcedureStep step) {
    while (true) {
      for (const ConstantWrite& w : step.writes) out.writes.push_back(w);
      out.saves += step.save_settings;
      out.ended |= step.ended;
      if (!step.ask) return;
      out.titles.push_back(step.ask->title);
      step = em38_4_answer(c, s, next < answers.size() ? answers[next++] : 1, clock);
    }
  };
  take(em38_4_start(c, s, true, clock));
  for (int k = 0; k < 2000 && em38_4_calibrating(c); ++k) {
    clock.now += 50;
    take(em38_4_on_tick(c, s, clock));
    clock.now += 50;
    const bool carrier_on = c.stage == Em38_4Stage::kCarrierOn;
    double value = site.vertical;
    if (c.stage == Em38_4Stage::kHorizontal) value = site.horizontal;
    if (c.stage == Em38_4Stage::kCarrierOff) value = site.off_carrier;
    if (carrier_on) value = site.on_carrier;
    take(em38_4_on_reading(c, s, em38_4(value, value / 10), clock));
  }
  return out;
}

TEST(Em38_4Calibration, WithoutCarrier) {
  Settings s;
  Em38_4Calibration old;
  old.conductivity_offset = {1, 1, 1, 1};
  old.carrier_offset = {5, 5, 5, 5};
  set_em38_4_calibration(s.em38_4, old);
  Em38_4CalibrationRun c;
  const Em38_4Run r = calibrate(c, s, {50, 20, 0, 0}, {1, 1, 0, 1});
  EXPECT_EQ(r.titles, (std::vector<std::string>{"Horizontal Calibration", "Instrument Calibration",
                                                "Carrier Effect Calibration", "Instrument Calibration Completed"}));
  const Em38_4Calibration now = em38_4_calibration(s.em38_4);
  // mean V (50 + pair) - 2 x mean H (20 + pair) = 10 - pair
  for (std::size_t pair = 0; pair < 4; ++pair) {
    EXPECT_DOUBLE_EQ(now.conductivity_offset[pair], 10.0 - static_cast<double>(pair));
    EXPECT_DOUBLE_EQ(now.carrier_offset[pair], 0.0);
  }
  EXPECT_EQ(r.saves, 1);
  EXPECT_TRUE(r.ended);
  EXPECT_EQ(em38_4_calibration_state(now), 1);
  test::OpenFile file(kEm38_4);
  write_procedure_records(&file.writer, r.writes);
  const std::vector<std::string> records = file.records();
  ASSERT_EQ(records.size(), 28u);
  EXPECT_EQ(records[0].substr(0, 25), "O1    10.000      1.000  ");
  EXPECT_EQ(records[8].substr(0, 25), "O9     0.000      5.000  ");
  EXPECT_EQ(records[27].substr(0, 2), "OS");
}

TEST(Em38_4Calibration, WithCarrierEffect) {
  Settings s;
  Em38_4CalibrationRun c;
  const Em38_4Run r = calibrate(c, s, {50, 20, 30, 33.5}, {1, 1, 1, 1, 1, 1});
  EXPECT_EQ(r.titles, (std::vector<std::string>{"Horizontal Calibration", "Instrument Calibration",
                                                "Carrier Effect Calibration", "Removing Carrier Effect Calibration",
                                                "Removing Carrier Effect Calibration", "Calibration Completed"}));
  const Em38_4Calibration now = em38_4_calibration(s.em38_4);
  for (std::size_t pair = 0; pair < 4; ++pair) {
    EXPECT_NEAR(now.carrier_offset[pair], 3.5, 1e-9);
    EXPECT_NEAR(now.carrier_inphase_offset[pair], 0.35, 1e-9);
  }
  EXPECT_EQ(em38_4_calibration_state(now), 2);
  EXPECT_EQ(r.saves, 1);
  EXPECT_EQ(r.writes.size(), 1u);
}

TEST(Em38_4Calibration, CancelRestoresThePreviousSet) {
  Settings s;
  Em38_4Calibration old;
  old.conductivity_offset = {1, 2, 3, 4};
  set_em38_4_calibration(s.em38_4, old);
  const Em38_4Block before = s.em38_4;
  Em38_4CalibrationRun c;
  const Em38_4Run r = calibrate(c, s, {50, 20, 0, 0}, {1, 0});
  EXPECT_EQ(r.titles.back(), "Instrument Calibration");
  EXPECT_EQ(s.em38_4, before);
  EXPECT_EQ(r.saves, 0);
  EXPECT_TRUE(r.writes.empty());
  EXPECT_FALSE(em38_4_calibrating(c));
}

// An instrument that falls silent: the timer alone ends each five-second
// collection.
TEST(Em38_4Calibration, TimerTicksEndASilentCollection) {
  test::FakeClock clock;
  Settings s;
  Em38_4CalibrationRun c;
  em38_4_start(c, s, true, clock);
  EXPECT_EQ(em38_4_decoder_calibration(c, s).conductivity_offset, (std::array<double, 4>{}));
  clock.now += 100;
  em38_4_on_reading(c, s, em38_4(40, 4), clock);
  clock.now += 4901;
  const ProcedureStep step = em38_4_on_tick(c, s, clock);
  ASSERT_TRUE(step.ask);
  EXPECT_EQ(step.ask->text, "Rotate the unit to Horizontal Dipole Mode.\r\nWhen ready then press OK");
  EXPECT_DOUBLE_EQ(c.vertical_means[2], 41.0);
}

// A collection without a single reading has no mean (0/0): the calibration
// fails at once, whichever part it is, and the previous values stay.
TEST(Em38_4Calibration, ACollectionWithoutReadingsFailsAndKeepsThePreviousValues) {
  for (int silent_part = 0; silent_part < 4; ++silent_part) {
    SCOPED_TRACE(silent_part);
    test::FakeClock clock;
    Settings s;
    Em38_4Calibration old;
    old.conductivity_offset = {1, 2, 3, 4};
    old.carrier_offset = {0.5, 0.5, 0.5, 0.5};
    set_em38_4_calibration(s.em38_4, old);
    const Em38_4Block before = s.em38_4;
    Em38_4CalibrationRun c;
    std::vector<std::string> titles;
    bool ended = false, saved = false, written = false;
    auto take = [&](ProcedureStep step) {
      while (true) {
        ended |= step.ended;
        saved |= step.save_settings;
        written |= !step.writes.empty();
        if (!step.ask) return;
        titles.push_back(step.ask->title);
        step = em38_4_answer(c, s, 1, clock);
      }
    };
    take(em38_4_start(c, s, true, clock));
    int part = 1;  // the vertical collection runs from the start
    Em38_4Stage last = c.stage;
    for (int k = 0; k < 400 && em38_4_calibrating(c); ++k) {
      clock.now += 100;
      if (c.stage != last) {
        if (c.stage == Em38_4Stage::kVertical || c.stage == Em38_4Stage::kHorizontal ||
            c.stage == Em38_4Stage::kCarrierOff || c.stage == Em38_4Stage::kCarrierOn)
          ++part;
        last = c.stage;
      }
      const bool collecting = c.stage == Em38_4Stage::kVertical || c.stage == Em38_4Stage::kHorizontal ||
                              c.stage == Em38_4Stage::kCarrierOff || c.stage == Em38_4Stage::kCarrierOn;
      if (collecting && part - 1 == silent_part)
        take(em38_4_on_tick(c, s, clock));
      else
        take(em38_4_on_reading(c, s, em38_4(30, 3), clock));
    }
    EXPECT_FALSE(em38_4_calibrating(c));
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(titles.back(), "Instrument Calibration");
    EXPECT_TRUE(ended);
    EXPECT_FALSE(saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(s.em38_4, before);
  }
}

TEST(DriftControl, CollectsThenCancelRestoresThePreviousReferences) {
  DriftControl d;
  const OperatorMessage q = drift_start_question(kEm38_4);
  EXPECT_EQ(q.text,
            "Position EM38-4 in Standard Drift Control Position.\r\nTap OK to Start Procedure or  CANCEL to stop");
  for (int answer : {1, 0}) {
    SCOPED_TRACE(answer);
    drift_start(d, kEm38_4, 3, true);
    ProcedureStep step;
    for (int k = 0; k < 3; ++k) step = drift_on_reading(d, em38_4(10.0 * (answer + 1) + k, 1));
    ASSERT_TRUE(step.ask);
    EXPECT_EQ(step.ask->title, "Drift Procedure - DONE");
    if (answer == 1) {  // the last reading 22 (pair p adds p)
      EXPECT_EQ(*step.message, (std::vector<std::string>{"C1:    22.00", "C2:    23.00", "C3:    24.00", "C4:    25.00",
                                                         "Drift Control", "  3 of   3"}));
    }
    const std::array<double, 8> previous = d.previous;
    const ProcedureStep after = drift_answer(d, answer);
    EXPECT_TRUE(after.stamp_last_record);
    EXPECT_FALSE(drift_collecting(d));
    if (answer == 1) {
      EXPECT_DOUBLE_EQ(d.references[0], 21);
    } else
      EXPECT_EQ(d.references, previous);
  }
  EXPECT_DOUBLE_EQ(d.references[0], 21);  // the set accepted first
}

TEST(DriftControl, SampleCountIsAtLeastOne) {
  Settings s;
  EXPECT_EQ(drift_sample_count(s), 20);
  for (double n : {0.0, -5.0, std::nan("")}) {
    s.em38_4.values_f[1] = n;
    EXPECT_EQ(drift_sample_count(s), 1);
  }
  DriftControl d;
  drift_start(d, kEm38_4, 0, true);
  EXPECT_TRUE(drift_on_reading(d, em38_4(1, 1)).ask);
}

TEST(DriftReminder, PeriodsAndDue) {
  const std::uint32_t minutes[7] = {15, 30, 45, 60, 90, 120, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(drift_reminder_interval_ms(i), minutes[i] * 60000u);
  EXPECT_STREQ(drift_reminder_labels()[4], "1.5 hour");
  DriftReminder r;
  drift_reminder_restart(r, 0, 0xFFFFFF00u);  // across the tick wrap
  EXPECT_FALSE(drift_reminder_due(r, 0xFFFFFF00u + 899999u, false));
  EXPECT_FALSE(drift_reminder_due(r, 0xFFFFFF00u + 900000u, true));  // a box is open
  EXPECT_TRUE(drift_reminder_due(r, 0xFFFFFF00u + 900000u, false));
  EXPECT_FALSE(drift_reminder_due(r, 0xFFFFFF00u + 900001u, false));  // restarted
  drift_reminder_restart(r, kDriftReminderNever, 0);
  EXPECT_FALSE(drift_reminder_due(r, 0xFFFFFFFFu, false));
  // Without a drift-control procedure (CS-21) the reminder is a notice.
  drift_reminder_restart(r, 0, 0);
  const std::optional<OperatorMessage> notice = drift_reminder_due(r, 900000u, false, runs_drift_control(kCs21));
  ASSERT_TRUE(notice);
  EXPECT_EQ(notice->dialog, DialogTemplate::kOk);
  EXPECT_EQ(notice->text, "Time for Drift Control.");
  EXPECT_TRUE(runs_drift_control(kEm38_4));
}

TEST(RemoveCalibration, ClearedConstantsWrittenWithThePreviousValues) {
  const OperatorMessage q = remove_calibration_question();
  EXPECT_EQ(q.title, "Delete Calibration");
  EXPECT_EQ(q.text, "Are you sure you want to\r\ndelete Calibration factors ?\r\npress  YES  or  NO");
  Settings s;
  s.em38mk2_calibration = {1.5, 2, 3, 4, 5, -6.25};
  const ProcedureStep step = remove_calibration(s, kEm38Mk2);
  EXPECT_EQ(s.em38mk2_calibration, (std::array<double, 6>{}));
  EXPECT_TRUE(step.save_settings);
  test::OpenFile file(kEm38Mk2);
  write_procedure_records(&file.writer, step.writes);
  const std::vector<std::string> records = file.records();
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(records[0], "O1     0.000      1.500   ");
  EXPECT_EQ(records[5], "O6     0.000     -6.250   ");
  Settings other;
  EXPECT_FALSE(remove_calibration(other, kEm31Mk2).save_settings);
}

}  // namespace
}  // namespace quelor
