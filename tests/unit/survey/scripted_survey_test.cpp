// A whole survey through the survey API, written with the data-file writer
// into memory and checked with the data-file validator.

#include <gtest/gtest.h>

#include "datafile/file_check.h"
#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "settings/instrument_defaults.h"
#include "settings/settings_file.h"
#include "survey/map_fix.h"
#include "survey/connection_monitor.h"
#include "survey/gps_fix_handler.h"
#include "survey/logging_commands.h"
#include "survey/reading_handler.h"
#include "survey/start_plan.h"
#include "survey/survey_context.h"
#include "survey_test_support.h"

namespace quelor {
namespace {

using namespace survey_testing;

constexpr double kMetresPerDegreeLatitude = 111200.0;

class ScriptedSurvey : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.data_folder = L"C:\\Data\\";
    settings.start_station = 0.0;
    settings.station_increments = {0.5, 0.2, 2.0};
    settings.survey_line = "10.00";
    settings.reading_interval = 0.25;
  }

  // Time passes; every record gets a later tick.
  std::uint32_t advance(std::uint32_t ms) { return clock.now += ms; }

  void write(const CommandOutcome& o) { ASSERT_TRUE(write_outcome(writer, o, day.local_time(), advance(5))); }

  void fix(double north_metres, double seconds) {
    const std::string s = gga(48.1 + north_metres / kMetresPerDegreeLatitude, 11.5, seconds);
    if (survey.state == kStateLogging) writer.write_gps_sentence(s, advance(10), kGpsForwarded);
    const FixOutcome o = handle_gps_fix(survey, fix_context, s);
    ASSERT_TRUE(o.usable);
  }

  void reading(int value) {
    const std::string rec = t_record(0x20, value, -12);
    const std::uint32_t tick = advance(250);
    ReadingContext c;
    c.now = tick;
    DecodeContext d;
    d.instrument_type = kEm31Mk2;
    const ReadingOutcome o = handle_t_reading(survey, c, d, bytes(rec), tick);
    if (o.logged) {
      ASSERT_TRUE(writer.write_reading(o.reading_input()));
      ++readings_written;
      written_records.push_back(o.record);
    }
  }

  CommandContext command_context() {
    CommandContext c;
    c.instrument_type = kEm31Mk2;
    c.now = clock.now;
    return c;
  }

  Settings settings;
  Variant variant{kEm31Mk2, kNavigation};
  StepClock clock;
  FixedDay day;
  FilesInMemory files;
  MemorySink sink;
  DataFileWriter writer{sink, variant};
  ScriptedMessages messages{{0, 1, 1}};  // Exit? No. Quick Line? Yes. Exit? Yes.
  SurveyRecord survey;
  FixContext fix_context;
  int readings_written = 0;
  std::vector<std::string> written_records;
};

TEST_F(ScriptedSurvey, StartFileGoReadPauseQuickLineExit) {
  const StartPlan plan = plan_survey_start({variant, settings});
  ASSERT_TRUE(plan.proceed);
  ASSERT_TRUE(plan.start);
  EXPECT_EQ(*plan.timer_period_ms, 300u);
  apply_start_to_settings(plan, settings);
  survey = plan.survey;
  fix_context = fix_context_from_settings(settings, kEm31Mk2);

  // Monitoring: readings are shown, nothing is written
  fix(0.0, 36000.0);
  reading(100);
  EXPECT_EQ(readings_written, 0);

  // File: a new file of the day puts the survey in Stand By
  ChooseName chooser(L"C:\\Data\\250307_000.H31");
  CreateDataFileContext create{variant,
                               settings,
                               files,
                               chooser,
                               messages,
                               sink,
                               writer,
                               day,
                               clock,
                               survey_header_fields(settings, kEm31Mk2, survey),
                               current_line_block(survey, settings),
                               [] {}};
  EXPECT_EQ(create.header.reference_zone, 32);
  const CommandOutcome file = file_command(survey, create, AppendSituation{}, MapFrame{});
  ASSERT_TRUE(file.ok);
  EXPECT_EQ(survey.state, kStateStandBy);
  EXPECT_EQ(survey.file_name, "250307_000");
  files.files[L"C:\\Data\\250307_000.H31"] = "";

  // Go, five readings between fixes, then the instrument goes quiet
  write(go_command(survey, command_context()));
  EXPECT_EQ(survey.state, kStateLogging);
  for (int i = 0; i < 5; ++i) {
    reading(200 + i);
    if (i % 2) fix(0.6 * i, 36001.0 + i);
  }
  EXPECT_DOUBLE_EQ(survey.station, 2.0);
  MonitorInput quiet{kEm31Mk2, 0, clock.now, 1000, true};
  int remarks = 0;
  for (int t = 0; t < 4; ++t) {
    quiet.now = advance(300);
    const MonitorActions a = monitor_tick(survey, quiet);
    if (a.remark) {
      ASSERT_TRUE(writer.write_remark(std::string_view(*a.remark), 'X', quiet.now));
      ++remarks;
    }
  }
  EXPECT_EQ(remarks, 1);

  // Exit asked and refused: still in Stand By after the pause
  write(pause_command(survey, command_context()));
  EXPECT_EQ(survey.state, kStateStandBy);
  const int commits_after_pause = sink.reopens;
  EXPECT_GE(commits_after_pause, 1);
  EXPECT_FALSE(exit_command(survey, command_context(), false, ask_with(messages)).ok);
  EXPECT_EQ(survey.state, kStateStandBy);

  // Quick Line reverses and logs the next line
  const CommandOutcome line = quick_line_command(survey, settings, command_context(), ask_with(messages));
  ASSERT_TRUE(line.ok);
  write(line);
  EXPECT_EQ(survey.line_name, "11.00");
  write(go_command(survey, command_context()));
  for (int i = 0; i < 3; ++i) reading(300 + i);
  EXPECT_DOUBLE_EQ(survey.station, 1.0);  // 2.0 back by two steps of 0.5
  write(pause_command(survey, command_context()));

  const CommandOutcome out = exit_command(survey, command_context(), false, ask_with(messages));
  ASSERT_TRUE(out.ok);
  EXPECT_TRUE(out.close_file);
  EXPECT_EQ(survey.state, kStateClosed);
  sink.close();

  const std::string& bytes_on_disk = sink.file(L"C:\\Data\\250307_000.H31");
  const FileCheckReport report = check_data_file(bytes_on_disk);
  for (const FileCheckError& e : report.errors) ADD_FAILURE() << "record " << e.record << ": " << e.message;
  EXPECT_EQ(report.error_count, 0);
  EXPECT_EQ(report.lines, 2);
  EXPECT_EQ(report.record_length, 24);
  EXPECT_EQ(readings_written, 8);
  for (const std::string& r : written_records) EXPECT_NE(bytes_on_disk.find(r), std::string::npos) << r;
  auto count = [&](const std::string& s) {
    int n = 0;
    for (std::size_t at = bytes_on_disk.find(s); at != std::string::npos; at = bytes_on_disk.find(s, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("X$STARTED"), 2);
  EXPECT_EQ(count("XPAUSED "), 2);
  EXPECT_EQ(count("X1CONN BRK 1"), 1);
  EXPECT_EQ(sink.durable(L"C:\\Data\\250307_000.H31").size(), bytes_on_disk.size());
}

// The antenna is the sensor of a GPS-only survey: its footprint and header
// have no offsets, while the settings file keeps the instrument's through
// every save of the survey, ready for the next instrument survey.
TEST_F(ScriptedSurvey, GpsOnlySurveyWritesPositionsToAGxyFile) {
  settings.instrument_state = 0;
  settings.gps_x_offset = -0.3;
  settings.gps_y_offset = 1.5;
  const auto save = [&] { ASSERT_EQ(settings_file_operation(kSaveSettings, settings, variant, files), 1); };
  save();
  const StartPlan plan = plan_survey_start({variant, settings});
  ASSERT_TRUE(plan.proceed);
  EXPECT_FALSE(plan.start);
  EXPECT_FALSE(plan.timer_period_ms);
  survey = plan.survey;
  fix_context = fix_context_from_settings(settings, kEm31Mk2);
  EXPECT_FALSE(fix_context.instrument_used);
  fix(0.0, 100.0);

  ChooseName chooser(L"C:\\Data\\250307_000.gxy");
  CreateDataFileContext create{variant,
                               settings,
                               files,
                               chooser,
                               messages,
                               sink,
                               writer,
                               day,
                               clock,
                               survey_header_fields(settings, kEm31Mk2, survey),
                               current_line_block(survey, settings),
                               save};
  ASSERT_TRUE(file_command(survey, create, AppendSituation{}, MapFrame{}).ok);
  EXPECT_EQ(chooser.requests.at(0).default_extension, "GXY");
  EXPECT_DOUBLE_EQ(survey.working_gps_x_offset, 0.0);
  EXPECT_DOUBLE_EQ(survey.working_gps_y_offset, 0.0);
  const FootprintGeometry footprint =
      map_fix_context(settings, decode_context_from_settings(settings, kEm31Mk2, false, false), survey).geometry[0];
  EXPECT_DOUBLE_EQ(footprint.left_half, footprint.right_half);
  EXPECT_DOUBLE_EQ(footprint.inline_offset, 0.0);
  EXPECT_EQ(sink.file(L"C:\\Data\\250307_000.gxy").substr(2 * 24, 15), "G  0.000  0.000");
  write(go_command(survey, command_context()));
  for (int i = 1; i <= 4; ++i) fix(1.0 * i, 100.0 + i);
  EXPECT_EQ(survey.gps_position_count, 4);
  write(pause_command(survey, command_context()));
  ScriptedMessages new_line({1});
  const CommandOutcome line = quick_line_command(survey, settings, command_context(), ask_with(new_line));
  ASSERT_TRUE(line.ok);
  ASSERT_TRUE(line.save_settings);
  save();
  write(line);
  Settings kept = initial_settings(variant);
  ASSERT_EQ(settings_file_operation(kLoadSettings, kept, variant, files), 1);
  EXPECT_DOUBLE_EQ(kept.gps_x_offset, -0.3);
  EXPECT_DOUBLE_EQ(kept.gps_y_offset, 1.5);
  EXPECT_EQ(kept.survey_line, survey.line_name);  // the New Line's save did reach the file
  CommandContext c = command_context();
  c.instrument_used = false;
  ScriptedMessages yes({1});
  const CommandOutcome out = exit_command(survey, c, false, ask_with(yes));
  EXPECT_TRUE(out.ok);
  EXPECT_FALSE(out.stop_timer);
  EXPECT_FALSE(out.close_instrument);
  EXPECT_TRUE(out.close_gps);

  const FileCheckReport report = check_data_file(sink.file(L"C:\\Data\\250307_000.gxy"));
  for (const FileCheckError& e : report.errors) ADD_FAILURE() << "record " << e.record << ": " << e.message;
  EXPECT_EQ(report.gps_positions, 4);
}

// A continued file: the scan's count of the file's positions is where the
// survey's count starts, so the maximum holds across continuations.
TEST_F(ScriptedSurvey, ContinuedFileKeepsItsPositionCount) {
  variant.navigation_mode = kRealTimeMap;  // the line that continues files
  settings.gps_enabled = 1;
  const StartPlan plan = plan_survey_start({variant, settings});
  ASSERT_TRUE(plan.proceed);
  apply_start_to_settings(plan, settings);
  survey = plan.survey;
  fix_context = fix_context_from_settings(settings, kEm31Mk2);
  fix(0.0, 36000.0);
  const std::wstring path = L"C:\\Data\\250307_000.H31";
  ChooseName chooser(path);
  ScriptedMessages answers;  // every question answered Yes / OK
  DataFileWriter own_writer{sink, variant};
  auto create_context = [&] {
    return CreateDataFileContext{variant,
                                 settings,
                                 files,
                                 chooser,
                                 answers,
                                 sink,
                                 own_writer,
                                 day,
                                 clock,
                                 survey_header_fields(settings, kEm31Mk2, survey),
                                 current_line_block(survey, settings),
                                 [] {}};
  };
  CreateDataFileContext first = create_context();
  ASSERT_TRUE(file_command(survey, first, AppendSituation{}, MapFrame{}).ok);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(own_writer.write_swath_group(i % 2, {10.0 + i, 20, 11.0 + i, 21}));
  files.files[path] = "";
  ScriptedMessages yes({1});
  ASSERT_TRUE(exit_command(survey, command_context(), false, ask_with(yes)).ok);
  sink.close();

  // The next survey continues the file.
  survey = plan.survey;
  fix(0.0, 36100.0);
  CreateDataFileContext again = create_context();
  AppendSituation situation;
  situation.have_valid_fix = true;
  situation.current_zone = survey.reference_zone;
  ASSERT_TRUE(file_command(survey, again, situation, MapFrame{}).ok);
  EXPECT_EQ(survey.state, kStateStandBy);
  EXPECT_EQ(survey.gps_position_count, 3);
  write(go_command(survey, command_context()));
  fix(1.0, 36101.0);
  EXPECT_EQ(survey.gps_position_count, 4);
  EXPECT_EQ(answers.shown.back().text, "Total Number of GPS Positions:       3\r\n");
}

}  // namespace
}  // namespace quelor
