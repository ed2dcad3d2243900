#include "survey/reading_handler.h"

#include <gtest/gtest.h>

#include <random>

#include "survey/colour_class.h"
#include "survey_test_support.h"
#include "variant/variant.h"

namespace quelor {
namespace {

using survey_testing::bytes;
using survey_testing::t_record;

constexpr std::uint8_t kVertical = 0x20;        // V, range 1000
constexpr std::uint8_t kVerticalMarker = 0x60;  // marker bit too

SurveyRecord logging(int mode = kModeAuto) {
  SurveyRecord r;
  r.state = kStateLogging;
  r.survey_mode = mode;
  r.station = 0.0;
  r.station_increment = 0.5;
  return r;
}

DecodeContext context(InstrumentType type = kEm31Mk2) {
  DecodeContext c;
  c.instrument_type = type;
  return c;
}

TEST(ReadingHandler, FirstThreeReadingsOfALineAreStationsZeroHalfOne) {
  SurveyRecord r = logging();
  const char* stations[] = {"0.00       ", "0.50       ", "1.00       "};
  for (int i = 0; i < 3; ++i) {
    const std::string rec = t_record(kVertical, 100 + i, -20);
    const ReadingOutcome o = handle_t_reading(r, {}, context(), bytes(rec), 1000u + i);
    ASSERT_TRUE(o.logged);
    EXPECT_EQ(o.station_text, stations[i]);
    EXPECT_EQ(o.tick, 1000u + i);
  }
  EXPECT_EQ(r.readings_in_line, 3);
  EXPECT_EQ(r.readings_in_survey, 3);
  EXPECT_DOUBLE_EQ(r.station, 1.0);
}

TEST(ReadingHandler, RecordPaddedToThirteenAndValuesDecoded) {
  SurveyRecord r = logging();
  const std::string rec = t_record(kVertical, 400, -20);
  ASSERT_EQ(rec.size(), 12u);
  const ReadingOutcome o = handle_t_reading(r, {}, context(), bytes(rec), 77);
  EXPECT_EQ(o.record, rec + " ");
  EXPECT_EQ(o.readings_since_last, 1);
  EXPECT_DOUBLE_EQ(o.first_value, -100.0);  // 400 x -0.25
  EXPECT_TRUE(o.has_second_value);
  EXPECT_DOUBLE_EQ(o.second_value, 0.05);  // -20 x -0.0025
  EXPECT_EQ(o.meaning.dipole, 'V');
  EXPECT_EQ(o.survey_count_text, "1      ");
  EXPECT_EQ(o.line_count_text, "1     ");
  const ReadingInput in = o.reading_input();
  EXPECT_EQ(in.record, o.record);
  EXPECT_EQ(in.tick, 77u);
}

TEST(ReadingHandler, MonitoringAndStandByOnlyDisplay) {
  for (int state : {kStateMonitoring, kStateStandBy}) {
    SurveyRecord r = logging();
    r.state = state;
    const std::string rec = t_record(kVertical, 40, 0);
    const ReadingOutcome o = handle_t_reading(r, {}, context(), bytes(rec), 5);
    EXPECT_FALSE(o.logged);
    EXPECT_DOUBLE_EQ(o.first_value, -10.0);
    EXPECT_EQ(r.readings_in_survey, 0);
    EXPECT_EQ(r.readings_since_last_record, 0);
  }
}

TEST(ReadingHandler, WriteEnableTable) {
  struct Row {
    int before;
    bool marker;
    int mode;
    int after;
  };
  const Row rows[] = {{0, true, kModeManual, 1},  {1, true, kModeManual, -1},  {-1, true, kModeManual, -1},
                      {1, false, kModeManual, 0}, {-1, false, kModeManual, 0}, {0, false, kModeAuto, 1},
                      {0, true, kModeWheel, 1}};
  for (const Row& r : rows) EXPECT_EQ(next_write_enable(r.before, r.marker, r.mode), r.after);
}

TEST(ReadingHandler, ManualHeldTriggerWritesExactlyOneRecord) {
  SurveyRecord r = logging(kModeManual);
  int logged = 0;
  for (int i = 0; i < 5; ++i) {
    const std::string rec = t_record(kVerticalMarker, 10 + i, 0);
    logged += handle_t_reading(r, {}, context(), bytes(rec), i).logged ? 1 : 0;
  }
  EXPECT_EQ(logged, 1);
  // release, press again: one more, carrying the readings counted since the last record
  handle_t_reading(r, {}, context(), bytes(t_record(kVertical, 1, 0)), 10);
  const ReadingOutcome second = handle_t_reading(r, {}, context(), bytes(t_record(kVerticalMarker, 2, 0)), 11);
  EXPECT_TRUE(second.logged);
  EXPECT_EQ(second.readings_since_last, 6);
  EXPECT_EQ(r.readings_in_survey, 2);
  EXPECT_FALSE(second.marker_shown);
}

TEST(ReadingHandler, MarkerShownOutsideManual) {
  SurveyRecord r = logging();
  EXPECT_TRUE(handle_t_reading(r, {}, context(), bytes(t_record(kVerticalMarker, 1, 0)), 1).marker_shown);
  EXPECT_FALSE(handle_t_reading(r, {}, context(), bytes(t_record(kVertical, 1, 0)), 2).marker_shown);
}

TEST(ReadingHandler, StatusBitZeroSkipsTheBarsOfTheEm31Only) {
  SurveyRecord r = logging();
  const ReadingOutcome em31 = handle_t_reading(r, {}, context(), bytes(t_record(kVertical | 1, 1, 0)), 1);
  EXPECT_FALSE(em31.redraw_bars);
  EXPECT_TRUE(em31.logged);
  const ReadingOutcome em38 = handle_t_reading(r, {}, context(kEm38), bytes(t_record(kVertical | 1, 1, 0)), 2);
  EXPECT_TRUE(em38.redraw_bars);
}

TEST(ReadingHandler, Em34ValueFromItsSlot) {
  SurveyRecord r = logging();
  // status 0x18 + 0x20: horizontal 40 m, range status 0 (3 mS/m scale)
  const ReadingOutcome o = handle_t_reading(r, {}, context(kEm34_3), bytes(t_record(0x38, 1000, 0)), 1);
  EXPECT_EQ(o.meaning.dipole, 'H');
  EXPECT_EQ(o.meaning.identity, 5);
  EXPECT_DOUBLE_EQ(o.first_value, 1000 * -0.00075);
  EXPECT_FALSE(o.has_second_value);
}

TEST(ReadingHandler, ColourStepIntoTheBufferWhileFilling) {
  SurveyRecord r = logging();
  DecodeContext c = context();
  c.mapped_view = 1;
  c.colour = {-200.0, 4.0};
  // not filling: nothing stored
  EXPECT_FALSE(handle_t_reading(r, {}, c, bytes(t_record(kVertical, 400, 0)), 1).colour_step);
  r.colour_index.filling = true;
  const ReadingOutcome o = handle_t_reading(r, {}, c, bytes(t_record(kVertical, 400, 0)), 2);  // -100
  ASSERT_TRUE(o.colour_step);
  EXPECT_EQ(*o.colour_step, 25);
  EXPECT_EQ(r.colour_index.count, 1);
  EXPECT_EQ(r.colour_index.rows[0][0], 25);
  c.mapped_view = 2;  // in-phase 0.0 -> 50 clamped to 49
  EXPECT_EQ(*handle_t_reading(r, {}, c, bytes(t_record(kVertical, 400, 0)), 3).colour_step, 49);
}

TEST(ReadingHandler, ColourBufferNeverOverflows) {
  SurveyRecord r = logging();
  r.colour_index.filling = true;
  DecodeContext c = context();
  c.mapped_view = 1;
  for (int i = 0; i < kColourIndexRowLength + 50; ++i)
    handle_t_reading(r, {}, c, bytes(t_record(kVertical, i % 100, 0)), static_cast<std::uint32_t>(i));
  EXPECT_EQ(r.colour_index.count, kColourIndexRowLength);
}

TEST(ReadingHandler, ElapsedTimeShown) {
  SurveyRecord r = logging();
  r.start_tick = 1000;
  r.earlier_logging_ms = 60000;
  ReadingContext c;
  c.now = 1000 + 3723000;
  EXPECT_EQ(handle_t_reading(r, c, context(), bytes(t_record(kVertical, 1, 0)), 1).elapsed, "01:03:03");
}

TEST(ReadingHandler, DamagedRecordsNeitherCrashNorWriteShortRecords) {
  std::mt19937 random(1234);
  for (int round = 0; round < 3000; ++round) {
    SurveyRecord r = logging(static_cast<int>(random() % 3));
    std::string rec(random() % 20, '\0');
    for (char& ch : rec) ch = static_cast<char>(random() & 0xFF);
    const InstrumentType types[] = {kEm31Mk2, kEm38, kEm34_3};
    const ReadingOutcome o = handle_t_reading(r, {}, context(types[round % 3]), bytes(rec), 1);
    if (o.logged) {
      EXPECT_GE(o.record.size(), kEm31RecordWidth);
    }
  }
}

TEST(ColourClass, Table) {
  struct Row {
    double value, minimum, maximum;
    int expected;
  };
  const Row rows[] = {{0, 0, 50, 0},     {0.99, 0, 50, 0},  {1, 0, 50, 1},  {25.5, 0, 50, 25},       {49.99, 0, 50, 49},
                      {50, 0, 50, 49},   {1000, 0, 50, 49}, {-1, 0, 50, 0}, {-25, -25, 25, 0},       {0, -25, 25, 25},
                      {24, -25, 25, 49}, {5, 5, 5, 0},      {5, 10, 0, 0},  {std::nan(""), 0, 50, 0}};
  for (const Row& r : rows) EXPECT_EQ(colour_class(r.value, r.minimum, r.maximum), r.expected) << r.value;
}

}  // namespace
}  // namespace quelor
