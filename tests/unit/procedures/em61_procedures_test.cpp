#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "procedure_fakes.h"
#include "procedures/lx2_filter_calibration.h"
#include "procedures/normalisation.h"
#include "procedures/nulling.h"
#include "serial/decode_em61.h"

namespace quelor {
namespace {

Em61Reading em61(std::array<double, 4> channels, int count = 4) {
  Em61Reading r;
  r.letter = 'T';
  r.channel_count = count;
  r.channels = channels;
  return r;
}

TEST(Nulling, StartReadingIgnoredMeanOfTheNextFifty) {
  for (bool stand_by : {true, false}) {
    SCOPED_TRACE(stand_by);
    Settings s;
    s.channel_null_values = {1, 2, 3, 4};
    Em61Procedures p;
    test::OpenFile file(kEm61Mk2);
    const ProcedureStep start = nulling_start(p, kMk2NullingSamples);
    EXPECT_TRUE(start.disable_buttons);
    EXPECT_TRUE(start.clear_status_flags);
    EXPECT_EQ(*start.message, (std::vector<std::string>{"Nulling:", " 0 of 50"}));
    nulling_on_reading(p, s, em61({1000, 1000, 1000, 1000}), kEm61Mk2, stand_by);  // ignored
    EXPECT_EQ(s.channel_null_values, (std::array<double, 4>{}));  // later readings decode without offsets
    ProcedureStep step;
    for (int k = 1; k <= 50; ++k) {
      ASSERT_EQ(p.state, kProcedureNulling);
      step = nulling_on_reading(p, s, em61({double(k), 2.0 * k, -1.0 * k, 10}), kEm61Mk2, stand_by);
      if (k == 7) {
        EXPECT_EQ(step.message->back(), " 7 of 50");
      }
    }
    EXPECT_EQ(p.state, kProcedureNormal);
    EXPECT_TRUE(step.ended);
    EXPECT_TRUE(step.save_settings);
    EXPECT_EQ(s.channel_null_values, (std::array<double, 4>{25.5, 51, -25.5, 10}));
    write_procedure_records(stand_by ? &file.writer : nullptr, step.writes);
    const std::vector<std::string> records = file.records();
    if (stand_by) {
      ASSERT_EQ(records.size(), 4u);
      EXPECT_EQ(records[0], "O    25.50      1.00      ");
      EXPECT_EQ(records[2], "O   -25.50      3.00      ");
    } else {
      EXPECT_TRUE(records.empty());
    }
  }
}

TEST(Nulling, Lx2RecordHoldsTheNewValuesOnly) {
  Settings s;
  Em61Procedures p;
  test::OpenFile file(kEm61Lx2);
  nulling_start(p, 2);
  nulling_on_reading(p, s, em61({9, 9, 0, 0}, 2), kEm61Lx2, true);
  nulling_on_reading(p, s, em61({1, 3, 0, 0}, 2), kEm61Lx2, true);
  const ProcedureStep step = nulling_on_reading(p, s, em61({3, 5, 7, 7}, 2), kEm61Lx2, true);
  write_procedure_records(&file.writer, step.writes);
  const std::vector<std::string> records = file.records();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0], "O     2.00               1");
  EXPECT_EQ(records[1], "O     4.00               1");
  EXPECT_EQ(records[2], "O     0.00               1");  // one coil: channels 3 and 4 stay out
}

TEST(FilterFactor, RatioMappingBothWays) {
  struct Case {
    double ratio, factor;
  };
  for (const Case c : {Case{3.1, 352.8}, Case{4, 468}, Case{1, 126}, Case{2.5, 288}, Case{8, 980}}) {
    EXPECT_NEAR(filter_factor_from_ratio(c.ratio), c.factor, 1e-9) << c.ratio;
    EXPECT_NEAR(ratio_from_filter_factor(c.factor), c.ratio, 1e-9) << c.factor;
  }
  EXPECT_TRUE(filter_factor_valid(125));
  EXPECT_TRUE(filter_factor_valid(1000));
  EXPECT_FALSE(filter_factor_valid(124.9));
  EXPECT_FALSE(filter_factor_valid(1000.1));
  EXPECT_FALSE(filter_factor_valid(std::nan("")));
}

// Runs a filter calibration: two nulling readings after the start reading,
// then `filter` readings of (a, b) per coil, answering the boxes in order.
struct FilterRun {
  std::vector<OperatorMessage> boxes;
  std::vector<ConstantWrite> writes;
  bool saved = false;
};

FilterRun calibrate(Em61Procedures& p, Settings& s, bool two_coils, std::array<double, 4> ab,
                    std::vector<int> answers) {
  FilterRun out;
  std::size_t next = 0;
  auto take = [&](ProcedureStep step) {
    while (true) {
      for (const ConstantWrite& w : step.writes) out.writes.push_back(w);
      out.saved |= step.save_settings;
      if (!step.ask) return;
      out.boxes.push_back(*step.ask);
      step = filter_answer(p, s, next < answers.size() ? answers[next++] : 1);
    }
  };
  take(filter_calibration_start(p, two_coils, 2, 3));
  for (int k = 0; k < 3; ++k) take(nulling_on_reading(p, s, em61({5, 5, 5, 5}, two_coils ? 4 : 2), kEm61Lx2, true));
  for (int k = 0; k < 3 && p.state == kProcedureFilterFactor; ++k) take(filter_on_reading(p, s, em61(ab)));
  return out;
}

TEST(FilterCalibration, OneCoilAccepted) {
  Settings s;
  s.left_coil_filter_factor = 300;
  s.channel_null_values = {0.5, 0.25, 0, 0};
  Em61Procedures p;
  const FilterRun r = calibrate(p, s, false, {4, 1, 0, 0}, {1, 1});
  ASSERT_EQ(r.boxes.size(), 2u);
  EXPECT_EQ(r.boxes[0].title, "Calibration Part 2");
  EXPECT_EQ(
      r.boxes[0].text,
      "Ready to calculate Filter Factor\r\nPlace coil(s) on the ground.\r\nPress  OK  when  you are ready to start");
  EXPECT_EQ(r.boxes[1].title, "Filter Calibration Complete");
  EXPECT_EQ(r.boxes[1].text,
            "Filter Factor = 468.0\r\nPress OK to accept the calibration\r\nor CANCEL to restore previous values");
  EXPECT_DOUBLE_EQ(s.left_coil_filter_factor, 468);
  EXPECT_EQ(s.channel_null_values, (std::array<double, 4>{5, 5, 0, 0}));
  EXPECT_TRUE(r.saved);
  EXPECT_EQ(p.state, kProcedureNormal);
  test::OpenFile file(kEm61Lx2);
  write_procedure_records(&file.writer, r.writes);
  const std::vector<std::string> records = file.records();
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(records[0], "O     5.00               1");
  EXPECT_EQ(records[4], "I   468.00    300.00     1");
}

TEST(FilterCalibration, CancelAndFailuresKeepThePreviousValues) {
  struct Case {
    const char* name;
    std::array<double, 4> ab;
    std::vector<int> answers;
    const char* last_title;
  };
  for (const Case& c : {Case{"cancelPart2", {4, 1, 0, 0}, {0}, "Calibration Part 2"},
                        Case{"cancelResult", {4, 1, 0, 0}, {1, 0}, "Filter Calibration Complete"},
                        Case{"outOfRange", {0.5, 1, 0, 0}, {1, 1}, "Filter Factor Left Coil"},
                        Case{"zeroByZero", {0, 0, 0, 0}, {1, 1}, "Filter Factor Left Coil"}}) {
    SCOPED_TRACE(c.name);
    Settings s;
    s.left_coil_filter_factor = 300;
    s.channel_null_values = {0.5, 0.25, 0, 0};
    Em61Procedures p;
    const FilterRun r = calibrate(p, s, false, c.ab, c.answers);
    ASSERT_FALSE(r.boxes.empty());
    EXPECT_EQ(r.boxes.back().title, c.last_title);
    EXPECT_DOUBLE_EQ(s.left_coil_filter_factor, 300);
    EXPECT_EQ(s.channel_null_values, (std::array<double, 4>{0.5, 0.25, 0, 0}));
    EXPECT_TRUE(r.writes.empty());
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(p.state, kProcedureNormal);
  }
}

TEST(FilterCalibration, OutOfRangeBoxText) {
  Settings s;
  s.left_coil_filter_factor = 300;
  Em61Procedures p;
  const FilterRun r = calibrate(p, s, false, {0.5, 1, 0, 0}, {});
  ASSERT_EQ(r.boxes.size(), 2u);
  EXPECT_EQ(r.boxes[1].text,
            "Calibration Failed.\r\nCalculated Filter Factor for Left Coil ( 72.0 )\r\n is out of valid range ( 125 to "
            "1000 ).\r\n"
            "Program restores previous value ( 300.0 )");
}

TEST(FilterCalibration, TwoCoilsOneRestored) {
  Settings s;
  s.left_coil_filter_factor = 300;
  s.right_coil_filter_factor = 310;
  Em61Procedures p;
  const FilterRun r = calibrate(p, s, true, {3.1, 1, 0, 1}, {1, 1, 1});
  ASSERT_EQ(r.boxes.size(), 3u);
  EXPECT_EQ(r.boxes[0].title, "Filter Calibration Part 2");
  EXPECT_EQ(
      r.boxes[0].text,
      "Ready to calculate Filter Factors\r\nPlace coil(s) on the ground.\r\nPress OK when you are ready to start");
  EXPECT_EQ(r.boxes[1].title, "Filter Factor Right Coil");
  EXPECT_EQ(r.boxes[1].text,
            "Calculated Filter Factor for Right Coil ( 18.0 )\r\n is out of valid range ( 125 to 1000 ).\r\n"
            "Calibration Failed.\r\nProgram restores previous value ( 310.0 )");
  EXPECT_EQ(r.boxes[2].text,
            "Filter Factor for Left  Sensor = 352.8\r\n Filter Factor for Right Sensor = 310.0 (restored)\r\n"
            "Press OK to accept the calibration\r\nor CANCEL to restore previous values");
  EXPECT_NEAR(s.left_coil_filter_factor, 352.8, 1e-9);
  EXPECT_DOUBLE_EQ(s.right_coil_filter_factor, 310);
}

// Both coils out of range: the completion box still comes, both factors
// "(restored)", and its OK keeps the new nulling.
TEST(FilterCalibration, TwoCoilsBothRestoredStillComplete) {
  Settings s;
  s.left_coil_filter_factor = 300;
  s.right_coil_filter_factor = 310;
  s.channel_null_values = {0.5, 0.25, 0.75, 1};
  Em61Procedures p;
  const FilterRun r = calibrate(p, s, true, {0, 1, 0, 1}, {1, 1, 1, 1});
  ASSERT_EQ(r.boxes.size(), 4u);
  EXPECT_EQ(r.boxes[1].title, "Filter Factor Left Coil");
  EXPECT_EQ(r.boxes[2].title, "Filter Factor Right Coil");
  EXPECT_EQ(r.boxes[3].title, "Filter Calibration Complete");
  EXPECT_EQ(
      r.boxes[3].text,
      "Filter Factor for Left  Sensor = 300.0 (restored)\r\n Filter Factor for Right Sensor = 310.0 (restored)\r\n"
      "Press OK to accept the calibration\r\nor CANCEL to restore previous values");
  EXPECT_DOUBLE_EQ(s.left_coil_filter_factor, 300);
  EXPECT_DOUBLE_EQ(s.right_coil_filter_factor, 310);
  EXPECT_EQ(s.channel_null_values, (std::array<double, 4>{5, 5, 5, 5}));
  EXPECT_TRUE(r.saved);
  EXPECT_EQ(p.state, kProcedureNormal);
}

TEST(Normalisation, NinetyEightReadingsFromOnePercentToOneHundred) {
  Em61Procedures p;
  CurrentRing ring = make_current_ring(98);
  ASSERT_TRUE(normalisation_start(p, ring).disable_buttons);
  std::vector<std::string> shown;
  ProcedureStep step;
  int readings = 0;
  while (p.state == kProcedureNormalisation && readings < 200) {
    ring_push(ring, 1800);  // the decoder puts the current in
    ++readings;
    step = normalisation_on_reading(p, ring);
    shown.push_back(step.message->back());
  }
  EXPECT_EQ(readings, 98);
  EXPECT_EQ(shown.front(), "  1 %");
  EXPECT_EQ(shown[48], " 50 %");
  EXPECT_EQ(shown.back(), "100 %");
  EXPECT_EQ(step.message->front(), "Normalization:");
  EXPECT_TRUE(step.ended);
  EXPECT_DOUBLE_EQ(ring_mean(ring), 1800);
}

TEST(Normalisation, RingOfTheSettingsForTheEm61Mk2Only) {
  struct Case {
    InstrumentType type;
    int size;
    std::size_t ring;
  };
  for (const Case& c : {Case{kEm61Mk2, 98, 98}, Case{kEm61Mk2, 0, 0}, Case{kEm61Mk2, -5, 0}, Case{kEm61Mk2, 5, 5},
                        Case{kEm61Mk2, 1 << 30, kMaxNormalisationSize}, Case{kEm61Lx2, 98, 0}, Case{kEm38_4, 98, 0}}) {
    Settings s;
    s.normalisation_size = c.size;
    EXPECT_EQ(normalisation_size(s, c.type), c.ring) << c.type << " " << c.size;
  }
  EXPECT_EQ(normalisation_size(Settings{}, kEm61Mk2), 98u);
  Em61Procedures p;
  CurrentRing off = make_current_ring(0);
  EXPECT_FALSE(normalisation_start(p, off).disable_buttons);
  EXPECT_EQ(p.state, kProcedureNormal);
}

// A raw EM61-MK2 record: letter T, range byte 0 (factors 1), four channel
// words and the current word.
RecordBytes mk2_record(std::array<int, 4> words, int current) {
  std::uint8_t b[14] = {'T', 0};
  for (std::size_t i = 0; i < 4; ++i) {
    b[2 + 2 * i] = static_cast<std::uint8_t>((words[i] >> 8) & 0xFF);
    b[3 + 2 * i] = static_cast<std::uint8_t>(words[i] & 0xFF);
  }
  b[10] = static_cast<std::uint8_t>(current >> 8);
  b[11] = static_cast<std::uint8_t>(current & 0xFF);
  b[12] = 120;
  b[13] = 0x7F;
  RecordBytes r;
  assign_record(r, b, 14);
  return r;
}

// The survey start fills the ring from the decoder's readings, then a nulling
// averages readings that the decoder normalised with the ring's mean: the
// null values are the channels times nominal / mean current.
TEST(Normalisation, ItsRingNormalisesTheReadingsOfALaterNulling) {
  Settings s;
  s.normalisation_size = 5;
  CurrentRing ring = make_current_ring(normalisation_size(s, kEm61Mk2));
  Em61Procedures p;
  ASSERT_EQ(*normalisation_start(p, ring).message, (std::vector<std::string>{"Normalization:", "  0 %"}));
  const int currents[5] = {2900, 2950, 3000, 3050, 3100};  // words; Standard coils divide by 1.047
  std::vector<std::string> shown;
  ProcedureStep step;
  for (int k = 0; k < 5; ++k) {
    RecordBytes r = mk2_record({100, 200, 300, 400}, currents[k]);
    decode_em61_mk2(r, {}, ring, s.channel_null_values);
    step = normalisation_on_reading(p, ring);
    shown.push_back(step.message->back());
  }
  EXPECT_EQ(shown, (std::vector<std::string>{" 20 %", " 40 %", " 60 %", " 80 %", "100 %"}));
  EXPECT_TRUE(step.ended);
  ASSERT_EQ(p.state, kProcedureNormal);
  const double mean = 3000.0 / 1.047;  // the five words average 3000
  EXPECT_NEAR(ring_mean(ring), mean, 1e-9);
  // Steady currents of 2800 from now on: the ring still holds the start.
  nulling_start(p, 3);
  std::array<double, 4> factor_seen{};
  for (int k = 0; k < 4; ++k) {
    RecordBytes r = mk2_record({100, 200, 300, 400}, 2800);
    const Em61Reading e = decode_em61_mk2(r, {}, ring, s.channel_null_values);
    factor_seen[static_cast<std::size_t>(k)] = e.normalisation;
    // The record carries the mean current of the ring at positions 10-11.
    EXPECT_EQ((r.bytes[10] << 8) | r.bytes[11], static_cast<int>(ring_mean(ring)));
    nulling_on_reading(p, s, e, kEm61Mk2, false);
  }
  ASSERT_EQ(p.state, kProcedureNormal);
  // The ring of five after each of the last three readings (the first one
  // starts the nulling and is not used).
  double expected[4] = {};
  for (int k = 1; k <= 3; ++k) {
    double sum = 0;
    for (int j = k + 1; j < 5; ++j) sum += currents[j] / 1.047;
    sum += (k + 1) * 2800 / 1.047;
    const double factor = 3000.0 / (sum / 5);
    EXPECT_NEAR(factor_seen[static_cast<std::size_t>(k)], factor, 1e-12);
    for (std::size_t i = 0; i < 4; ++i) expected[i] += 100.0 * (i + 1) * 4.8333 / 2 * factor / 3;
  }
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(s.channel_null_values[i], expected[i], 1e-9) << i;
}

}  // namespace
}  // namespace quelor
