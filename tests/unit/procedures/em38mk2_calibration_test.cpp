#include "procedures/em38mk2_calibration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "procedure_fakes.h"

namespace quelor {
namespace {

Em38Mk2Reading reading(char dipole, double c1, double i1, double c2, double i2) {
  Em38Mk2Reading r;
  r.dipole = dipole;
  const int base = dipole == 'V' ? 0 : 1;
  set_slot(r.slots, base, c1);
  set_slot(r.slots, base + 2, i1);
  set_slot(r.slots, base + 4, c2);
  set_slot(r.slots, base + 6, i2);
  return r;
}

// What a whole run showed and asked for.
struct Observed {
  std::vector<std::string> texts;  // each new text once, in order
  int beeps = 0;
  int saves = 0;
  bool paused_gps = false;
  bool resumed_gps = false;
  bool ended = false;
  std::vector<ConstantWrite> writes;

  void take(const ProcedureStep& s) {
    if (s.message && !s.message->empty() && (texts.empty() || texts.back() != s.message->front()))
      texts.push_back(s.message->front());
    beeps += s.beep;
    saves += s.save_settings;
    paused_gps |= s.pause_gps;
    resumed_gps |= s.resume_gps;
    ended |= s.ended;
    for (const ConstantWrite& w : s.writes) writes.push_back(w);
  }
};

struct Scenario {
  const char* name;
  int vertical_records;    // spread over the first 2 s
  int rotate_after_ms;     // first 'H' record after the vertical part; < 0: never
  int horizontal_records;  // spread over the 2 s after the 1 s of preparation
  const char* closing;
  bool calibrated;
};

class Em38Mk2Scenario : public ::testing::TestWithParam<Scenario> {};

// Feeds the scenario; between records the timer ticks every 300 ms.
Observed run(const Scenario& sc, Em38Mk2Calibration& c, Settings& s, test::FakeClock& clock) {
  Observed out;
  em38mk2_prepare(c, s);
  out.take(em38mk2_start(c, true, clock));
  const std::uint32_t start = clock.now;
  auto at = [&](std::uint32_t ms) { clock.now = start + ms; };
  for (int k = 0; k < sc.vertical_records; ++k) {
    at(static_cast<std::uint32_t>(k * 1990 / sc.vertical_records));
    out.take(em38mk2_on_reading(c, s, reading('V', 50, 4, 60, 8), clock));
  }
  std::uint32_t t = 2000;
  bool fed = false;
  for (; em38mk2_calibrating(c) && t < 200000; t += 300) {
    at(t);
    out.take(em38mk2_on_tick(c, s, clock));
    if (sc.rotate_after_ms >= 0 && c.phase == 2 && c.sub_state == kWaitHorizontal &&
        t >= 2000u + static_cast<std::uint32_t>(sc.rotate_after_ms)) {
      out.take(em38mk2_on_reading(c, s, reading('H', 20, 1, 25, 2), clock));
    }
    if (c.sub_state == kCollectHorizontal && !fed) {
      fed = true;
      const std::uint32_t from = t;
      for (int k = 0; k < sc.horizontal_records; ++k) {
        at(from + static_cast<std::uint32_t>(k * 1990 / sc.horizontal_records));
        out.take(em38mk2_on_reading(c, s, reading('H', 20, 1, 25, 2), clock));
      }
      t = from;
    }
  }
  return out;
}

TEST_P(Em38Mk2Scenario, ClosingTextValuesAndGps) {
  const Scenario& sc = GetParam();
  test::FakeClock clock;
  Settings s;
  const Em38Mk2Values old{0.5, 0.25, -0.5, -0.25, 3, 4};
  s.em38mk2_calibration = old;
  Em38Mk2Calibration c;
  const Observed r = run(sc, c, s, clock);

  ASSERT_FALSE(r.texts.empty());
  EXPECT_EQ(r.texts.front(), "Vertical Calibration");
  EXPECT_EQ(r.texts.back(), sc.closing);
  EXPECT_TRUE(r.ended);
  EXPECT_FALSE(em38mk2_calibrating(c));
  EXPECT_TRUE(r.paused_gps);
  EXPECT_TRUE(r.resumed_gps);
  if (sc.calibrated) {
    // V 50 and 60, H 20 and 25: conductivity offsets 50 - 40 and 60 - 50.
    const Em38Mk2Values expected{4, 8, 1, 2, 10, 10};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(s.em38mk2_calibration[i], expected[i]) << i;
    EXPECT_EQ(r.saves, 1);
    ASSERT_EQ(r.writes.size(), 1u);
    for (std::size_t i = 0; i < 6; ++i) {
      EXPECT_DOUBLE_EQ(r.writes[0].pairs[i].first, expected[i]);
      EXPECT_DOUBLE_EQ(r.writes[0].pairs[i].second, old[i]);
    }
    EXPECT_EQ(r.beeps, 2);  // rotate, then the end
  } else {
    EXPECT_EQ(s.em38mk2_calibration, old);
    EXPECT_EQ(r.saves, 0);
    EXPECT_TRUE(r.writes.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Em38Mk2Scenario,
    ::testing::Values(Scenario{"complete", 30, 5000, 30, "Calibration Completed - Wait for Beep", true},
                      Scenario{"vertical29", 29, 5000, 30, "Vertical Mode Failed - Wait for Beep", false},
                      Scenario{"horizontal29", 40, 1000, 29, "Horizontal Mode Failed - Wait for Beep", false},
                      Scenario{"neverRotated", 30, -1, 0, "Horizontal Mode Not Detected - Wait for Beep", false},
                      Scenario{"rotatedTooLate", 30, 60400, 30, "Horizontal Mode Not Detected - Wait for Beep", false}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(Em38Mk2Calibration, TextsInOrder) {
  test::FakeClock clock;
  Settings s;
  Em38Mk2Calibration c;
  const Observed r = run({"complete", 35, 3000, 35, "", true}, c, s, clock);
  const std::vector<std::string> expected{"Vertical Calibration", "Rotate to Horizontal Mode within 60 seconds",
                                          "Preparing for Horizontal Calibration", "Horizontal Calibration",
                                          "Calibration Completed - Wait for Beep"};
  EXPECT_EQ(r.texts, expected);
}

// An Exit during "Calibration Completed - Wait for Beep" keeps the new
// values: they are in the settings file and the data file already. An Exit
// before that puts the old ones back.
TEST(Em38Mk2Calibration, AbandonKeepsACompletedCalibration) {
  for (const bool complete : {true, false}) {
    test::FakeClock clock;
    Settings s;
    const Em38Mk2Values old{0.5, 0.25, -0.5, -0.25, 3, 4};
    s.em38mk2_calibration = old;
    Em38Mk2Calibration c;
    em38mk2_prepare(c, s);
    em38mk2_start(c, true, clock);
    const std::uint32_t start = clock.now;
    for (int k = 0; k < 30; ++k) {
      clock.now = start + static_cast<std::uint32_t>(k * 60);
      em38mk2_on_reading(c, s, reading('V', 50, 4, 60, 8), clock);
    }
    for (std::uint32_t t = 2000; c.sub_state != kCalibrationCompleted && t < 100000; t += 100) {
      clock.now = start + t;
      em38mk2_on_tick(c, s, clock);
      for (int k = 0; k < 3 && c.phase == 2; ++k) em38mk2_on_reading(c, s, reading('H', 20, 1, 25, 2), clock);
      if (!complete && c.sub_state == kCollectHorizontal) break;
    }
    ASSERT_TRUE(em38mk2_calibrating(c));
    const Em38Mk2Values reached = s.em38mk2_calibration;
    em38mk2_abandon(c, s);
    EXPECT_FALSE(em38mk2_calibrating(c));
    if (complete) {
      EXPECT_EQ(s.em38mk2_calibration, reached);
      EXPECT_NE(s.em38mk2_calibration, old);
    } else {
      EXPECT_EQ(s.em38mk2_calibration, old);
    }
  }
}

TEST(Em38Mk2Calibration, NoAnswerStartsNothing) {
  test::FakeClock clock;
  Settings s;
  Em38Mk2Calibration c;
  em38mk2_prepare(c, s);
  const ProcedureStep step = em38mk2_start(c, false, clock);
  EXPECT_FALSE(em38mk2_calibrating(c));
  EXPECT_FALSE(step.pause_gps);
  const OperatorMessage q = calibration_start_question(kEm38Mk2);
  EXPECT_EQ(q.title, "CALIBRATION");
  EXPECT_EQ(q.text, "Place  EM38-MK2  on  Monopod\r\nin  Vertical  Dipole  Mode\r\nand  press  YES  when  ready");
  EXPECT_EQ(q.dialog, DialogTemplate::kYesNo);
  EXPECT_EQ(calibration_start_question(kEm38_4).text.substr(0, 27), "Place  EM38-4  on  Monopod\r");
}

// The decoder gets zero offsets while calibrating, so calibrating the same
// instrument twice gives the same offsets instead of flipping them.
TEST(Em38Mk2Calibration, RecalibrationFromRawRecordsIsStable) {
  const auto v = test::em38mk2_record('V', 50, 4, 60, 8);
  const auto h = test::em38mk2_record('H', 20, 1, 25, 2);
  Settings s;
  std::array<Em38Mk2Values, 2> results{};
  for (Em38Mk2Values& result : results) {
    test::FakeClock clock;
    Em38Mk2Calibration c;
    em38mk2_prepare(c, s);
    em38mk2_start(c, true, clock);
    auto feed = [&](const std::array<std::uint8_t, 14>& rec) {
      em38mk2_on_reading(c, s, decode_em38_mk2(rec, em38mk2_decoder_offsets(c, s), false), clock);
    };
    for (int k = 0; k < 40; ++k, clock.now += 45) feed(v);
    clock.now += 250;
    feed(v);  // ends the vertical part
    feed(h);  // detected
    clock.now += 1001;
    feed(h);  // preparation over
    for (int k = 0; k < 40; ++k, clock.now += 45) feed(h);
    clock.now += 250;
    feed(h);
    clock.now += 1500;
    em38mk2_on_tick(c, s, clock);
    ASSERT_FALSE(em38mk2_calibrating(c));
    result = s.em38mk2_calibration;
  }
  for (std::size_t i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(results[0][i], results[1][i]) << i;
  EXPECT_NEAR(results[0][4], 10.0, 0.05);
  EXPECT_NEAR(results[0][5], 10.0, 0.05);
  // Once calibrated, the instrument's vertical record reads in-phase 0 and the
  // conductivity with the offset added.
  const Em38Mk2Reading after = decode_em38_mk2(v, em38mk2_offsets(s.em38mk2_calibration), false);
  EXPECT_NEAR(after.slots.value[2], 0.0, 1e-9);
  EXPECT_NEAR(after.slots.value[0], 60.0, 0.05);
}

}  // namespace
}  // namespace quelor
