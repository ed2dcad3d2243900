#include "survey/line_commands.h"

#include <gtest/gtest.h>

#include <cmath>

#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "variant/variant.h"

namespace quelor {
namespace {

constexpr LocalTime kNow{2026, 12, 9, 8, 7, 6, 54};

SurveyRecord with_file(int state) {
  SurveyRecord r;
  r.state = state;
  r.file_open = true;
  r.file_name = "261209_000";
  r.line_name = "7";
  r.station = 12.0;
  r.start_station = 2.0;
  r.station_advance = true;
  r.readings_in_line = 40;
  return r;
}

// The records an outcome puts into an EM38 (27-byte) file.
std::string written(const CommandOutcome& o) {
  MemorySink sink;
  sink.open(L"F");
  DataFileWriter writer(sink, Variant{kEm38, 0});
  EXPECT_TRUE(write_outcome(writer, o, kNow, 4321));
  return sink.file(L"F");
}

std::string pad(std::string body) {
  body.resize(26, ' ');
  return body + "\n";
}

TEST(NewLine, LineBlockAndTimeMarkAndTheLineBecomesCurrent) {
  SurveyRecord r = with_file(kStateStandBy);
  Settings settings;
  const CommandOutcome o = new_line_command(r, settings, {"N20", 3.5, 3, -0.5});
  ASSERT_TRUE(o.ok);
  EXPECT_EQ(r.line_count, 1);
  EXPECT_EQ(r.readings_in_line, 0);
  EXPECT_FALSE(r.station_advance);
  EXPECT_EQ(r.station, 3.5);
  EXPECT_EQ(settings.survey_line, "N20");
  EXPECT_EQ(settings.start_station, 3.5);
  EXPECT_EQ(settings.line_direction, 3);
  EXPECT_TRUE(o.save_settings);
  const std::string expected = pad("LN20") + pad("B       3.50") + pad("AE" + std::string(6, ' ') + "     -0.500") +
                               pad("Z09122026 08:07:06") + "*08:07:06.054         4321\n";
  EXPECT_EQ(written(o), expected);
}

TEST(NewStation, StationRecordThenTimeMark) {
  SurveyRecord r = with_file(kStateLogging);
  const CommandOutcome o = new_station_command(r, -4.25);
  ASSERT_TRUE(o.ok);
  EXPECT_EQ(r.station, -4.25);
  EXPECT_FALSE(r.station_advance);
  EXPECT_EQ(written(o), pad("S      -4.25  08:07:06.054") + "*08:07:06.054         4321\n");
}

TEST(Comment, FirstElevenCharactersInOneRecord) {
  const CommandOutcome o = comment_command(with_file(kStateStandBy), L"gate at 12m north");
  ASSERT_TRUE(o.ok);
  EXPECT_EQ(written(o), "Cgate at 12m" + std::string(10, ' ') + "4321\n");
}

TEST(FileCommands, NothingWithoutAFile) {
  for (int state : {kStateMonitoring, kStateClosed}) {
    SurveyRecord r = with_file(state);
    Settings settings;
    EXPECT_FALSE(new_line_command(r, settings, {"2", 0, 2, 1}).ok);
    EXPECT_FALSE(new_station_command(r, 1.0).ok);
    EXPECT_FALSE(comment_command(r, L"x").ok);
    EXPECT_EQ(r.line_count, 0);
    EXPECT_EQ(r.station, 12.0);
    EXPECT_EQ(settings.survey_line, "1");
  }
}

TEST(NewLine, EntryChecks) {
  struct Row {
    NewLineEntry entry;
    bool valid;
  };
  const Row rows[] = {
      {{"1", 0, 2, 1}, true},
      {{"", 0, 2, 1}, false},
      {{"123456789012345", 0, 0, 1}, true},
      {{"1234567890123456", 0, 0, 1}, false},
      {{"A\x7f", 0, 2, 1}, false},
      {{"1", 0, 4, 1}, false},
      {{"1", 0, -1, 1}, false},
      {{"1", 0, 2, 0}, false},
      {{"1", NAN, 2, 1}, false},
      {{"1", 0, 2, INFINITY}, false},
  };
  for (const Row& r : rows) EXPECT_EQ(!new_line_entry_fault(r.entry), r.valid) << r.entry.line_name;
}

TEST(EnteredNumber, WholeEntryOrNothing) {
  EXPECT_EQ(parse_entered_number(" 5.5 "), 5.5);
  EXPECT_EQ(parse_entered_number("-12"), -12.0);
  for (const char* bad : {"", " ", "5x", "x5", "1e999", "nan", "5 5"}) EXPECT_FALSE(parse_entered_number(bad)) << bad;
}

TEST(Options, AudioAndCoordinatesChangeOnlyWhatWasChosen) {
  Settings s;
  EXPECT_FALSE(apply_audio_options(s, audio_options_of(s)));
  EXPECT_TRUE(apply_audio_options(s, {false, true, false}));
  EXPECT_EQ(s.audio_ticks, 0);
  EXPECT_EQ(s.disconnection_alarm, 1);
  EXPECT_EQ(s.gps_audio_warning, 0);
  EXPECT_TRUE(apply_coordinates_display(s, 3));
  EXPECT_EQ(s.coordinates_display, 3);
  EXPECT_FALSE(apply_coordinates_display(s, 3));
  EXPECT_FALSE(apply_coordinates_display(s, 4));
  EXPECT_EQ(s.coordinates_display, 3);
}

}  // namespace
}  // namespace quelor
