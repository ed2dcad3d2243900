#include "survey/em34_station_group.h"

#include <gtest/gtest.h>

#include "datafile/file_check.h"
#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "survey/reading_handler.h"
#include "survey_test_support.h"
#include "variant/variant.h"

namespace quelor {
namespace {

using survey_testing::bytes;
using survey_testing::t_record;

constexpr std::uint8_t kMarked = 0x40;  // marker bit

SurveyRecord manual_logging() {
  SurveyRecord r;
  r.state = kStateLogging;
  r.survey_mode = kModeManual;
  r.station = 5.0;
  r.station_increment = 2.0;
  return r;
}

TEST(Em34StationGroup, SpacingOfSlots) {
  const int expected[] = {10, 20, 40, 10, 20, 40};
  for (int slot = 0; slot < 6; ++slot) EXPECT_EQ(em34_spacing_of_slot(slot), expected[slot]);
  EXPECT_EQ(em34_spacing_of_slot(-1), 10);
  EXPECT_EQ(em34_spacing_of_slot(9), 10);
}

TEST(Em34StationGroup, OneReadingPerTriggerPressIsHeldUntilTheGroupIsFull) {
  SurveyRecord r = manual_logging();
  Em34StationGroup group;
  group.size = 3;
  ReadingContext c;
  DecodeContext d;
  d.instrument_type = kEm34_3;
  c.station_group = &group;
  // status 0x10 + 0x20 (horizontal 10 m) with the marker; each press held for two records
  const std::uint8_t statuses[] = {0x10, 0x00, 0x18};  // V10, V20, V40
  std::vector<ReadingOutcome> held;
  for (int press = 0; press < 3; ++press) {
    for (int repeat = 0; repeat < 2; ++repeat) {
      const ReadingOutcome o = handle_t_reading(
          r, c, d, bytes(t_record(static_cast<std::uint8_t>(kMarked | statuses[press]), 100 * (press + 1), 0)),
          static_cast<std::uint32_t>(1000 + 10 * press + repeat));
      EXPECT_FALSE(o.logged);
      if (o.held) held.push_back(o);
    }
    handle_t_reading(r, c, d, bytes(t_record(statuses[press], 0, 0)), 2000);  // trigger released
  }
  ASSERT_EQ(held.size(), 3u);
  EXPECT_EQ(held[0].reading_count_text, "Rdg: 1 of 3");
  EXPECT_FALSE(held[1].group_full);
  EXPECT_TRUE(held[2].group_full);
  EXPECT_EQ(station_group_count_text(group), "Rdg: 3 of 3");
  EXPECT_EQ(r.readings_in_survey, 0);

  const auto lines = station_group_lines(group);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0].find("Vertical"), std::string::npos);
  EXPECT_NE(lines[1].find("20 m"), std::string::npos);
  EXPECT_NE(lines[2].find("40 m"), std::string::npos);

  const ConfirmedStation s = confirm_station_group(r, group);
  ASSERT_EQ(s.records.size(), 3u);
  EXPECT_EQ(s.ticks, (std::vector<std::uint32_t>{1000, 1010, 1020}));
  EXPECT_EQ(s.records[0].size(), 13u);
  EXPECT_EQ(s.stations_text, "1     ");
  EXPECT_DOUBLE_EQ(r.station, 5.0);
  EXPECT_EQ(r.readings_in_survey, 3);
  EXPECT_TRUE(group.readings.empty());

  // the next group advances the station once
  for (int press = 0; press < 3; ++press) {
    handle_t_reading(r, c, d, bytes(t_record(kMarked | 0x10, 5, 0)), 3000u + press);
    handle_t_reading(r, c, d, bytes(t_record(0x10, 5, 0)), 3100u + press);
  }
  const ConfirmedStation second = confirm_station_group(r, group);
  EXPECT_EQ(second.records.size(), 3u);
  EXPECT_DOUBLE_EQ(r.station, 7.0);
  EXPECT_EQ(second.stations_text, "2     ");
}

TEST(Em34StationGroup, CancelDropsTheGroup) {
  SurveyRecord r = manual_logging();
  Em34StationGroup group;
  group.size = 2;
  ReadingContext c;
  DecodeContext d;
  d.instrument_type = kEm34_3;
  c.station_group = &group;
  handle_t_reading(r, c, d, bytes(t_record(kMarked | 0x10, 5, 0)), 1);
  drop_station_group(group);
  EXPECT_TRUE(group.readings.empty());
  EXPECT_TRUE(confirm_station_group(r, group).records.empty());
  EXPECT_EQ(r.stations_in_survey, 0);
}

TEST(Em34StationGroup, AFullGroupTakesNoMoreReadings) {
  Em34StationGroup group;
  group.size = 1;
  Em31Reading d;
  EXPECT_TRUE(hold_em34_reading(group, d, 1.0, "T@+0001+0000", 1));
  EXPECT_TRUE(hold_em34_reading(group, d, 2.0, "T@+0002+0000", 2));
  EXPECT_EQ(group.readings.size(), 1u);
}

TEST(Em34StationGroup, ConfirmedGroupWritesAValidFile) {
  const Variant v{kEm34_3, kNavigation};
  MemorySink sink;
  sink.open(L"C:\\Data\\g.H34");
  DataFileWriter w(sink, v);
  HeaderFields h;
  h.file_name = "g";
  w.write_header(h, false);
  LineBlockFields line;
  line.line_name = "1";
  line.file_name = "g";
  w.write_line_block(line, LocalTime{2025, 3, 7, 10, 0, 0, 0}, 100);
  SurveyRecord r = manual_logging();
  Em34StationGroup group;
  group.size = 2;
  ReadingContext c;
  DecodeContext d;
  d.instrument_type = kEm34_3;
  c.station_group = &group;
  for (int press = 0; press < 2; ++press) {
    handle_t_reading(r, c, d, bytes(t_record(kMarked | 0x10, 42 + press, 0)), 200u + press);
    handle_t_reading(r, c, d, bytes(t_record(0x10, 0, 0)), 300u + press);
  }
  const ConfirmedStation s = confirm_station_group(r, group);
  ASSERT_TRUE(w.write_readings(s.inputs()));
  const FileCheckReport report = check_data_file(sink.file(L"C:\\Data\\g.H34"));
  for (const FileCheckError& e : report.errors) ADD_FAILURE() << e.record << ": " << e.message;
  EXPECT_NE(sink.file(L"C:\\Data\\g.H34").find(s.records[1].substr(0, 12)), std::string::npos);
}

// Station averaging: each press starts N automatic samples; the averages of
// their record values replace the press's values, the held GPS sentences
// come first in the file with the 'p' flag, each reading keeps its press tick.
TEST(Em34StationGroup, StationAveragingHoldsTheMeanOfTheSamplesOfEachPress) {
  SurveyRecord r = manual_logging();
  Em34StationGroup group;
  group.size = 2;
  ReadingContext c;
  DecodeContext d;
  d.instrument_type = kEm34_3;
  c.station_group = &group;
  c.samples_per_reading = 3;
  struct Step {
    std::uint8_t status;
    int first, second;
    const char* text;
  };
  const Step steps[] = {
      {kMarked | 0x10, 100, 7, "Sample 0   of 3  "},
      {0x10, 100, 10, "Sample 1   of 3  "},
      {0x10, 201, 11, "Sample 2   of 3  "},
      {0x10, 300, 12, "Rdg: 1 of 2"},
      {0x10, 999, 99, ""},
      {kMarked | 0x10, 50, 0, "Sample 0   of 3  "},
      {kMarked | 0x10, -10, -5, "Sample 1   of 3  "},
      {0x10, -20, -6, "Sample 2   of 3  "},
      {0x10, -31, -7, "Rdg: 2 of 2"},
  };
  bool full = false;
  std::uint32_t tick = 1000;
  for (const Step& s : steps) {
    if (s.status == (kMarked | 0x10) && s.first == 50) {
      HeldSentences h;
      h.position = {"$GPGGA,1", 1500, true};
      hold_em34_sentences(group, h);
    }
    const ReadingOutcome o = handle_t_reading(r, c, d, bytes(t_record(s.status, s.first, s.second)), tick++);
    EXPECT_FALSE(o.logged);
    EXPECT_EQ(o.reading_count_text, s.text) << s.first;
    full = full || o.group_full;
  }
  ASSERT_TRUE(full);
  ASSERT_EQ(group.readings.size(), 2u);
  EXPECT_NEAR(group.readings[0].value, (100 + 201 + 300) / 3.0 * -0.00075, 1e-12);  // range 3
  const ConfirmedStation station = confirm_station_group(r, group);
  ASSERT_EQ(station.sentences.size(), 1u);
  EXPECT_EQ(station.sentences[0].text, "$GPGGA,1");
  const auto inputs = station.inputs();
  ASSERT_EQ(inputs.size(), 2u);
  EXPECT_EQ(inputs[0].tick, 1000u);
  EXPECT_EQ(inputs[1].tick, 1005u);
  const Variant v{kEm34_3, kNavigation};
  EXPECT_EQ(reading_record(v, inputs[0]).substr(0, 12), t_record(kMarked | 0x10, 200, 11));
  EXPECT_EQ(reading_record(v, inputs[1]).substr(0, 12), t_record(kMarked | 0x10, -20, -6));
  EXPECT_TRUE(group.sentences.empty());
}

}  // namespace
}  // namespace quelor
