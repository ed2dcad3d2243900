#include "survey/logging_commands.h"

#include <gtest/gtest.h>

#include "setup/em61_start_mode.h"
#include "survey/start_plan.h"
#include "survey/survey_context.h"
#include "survey_test_support.h"
#include "variant/variant.h"

namespace quelor {
namespace {

using survey_testing::ScriptedMessages;

SurveyRecord in_state(int state) {
  SurveyRecord r;
  r.state = state;
  r.file_open = state == kStateStandBy || state == kStateLogging;
  r.file_name = "250307_000";
  return r;
}

CommandContext context_at(std::uint32_t now, InstrumentType type = kEm31Mk2) {
  CommandContext c;
  c.instrument_type = type;
  c.now = now;
  return c;
}

TEST(GoCommand, StartsLoggingWithStartedRemark) {
  SurveyRecord r = in_state(kStateStandBy);
  r.configured_records_per_reading = 3;
  r.readings_since_last_record = 4;
  const CommandOutcome o = go_command(r, context_at(5000));
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(r.state, kStateLogging);
  ASSERT_EQ(o.remarks.size(), 1u);
  EXPECT_EQ(o.remarks[0], "$STARTED");
  EXPECT_EQ(r.start_tick, 5000u);
  EXPECT_EQ(r.gps_start_tick, 5000u);
  EXPECT_EQ(r.readings_since_last_record, 0);
  ASSERT_TRUE(o.records_per_reading);
  EXPECT_EQ(*o.records_per_reading, 3);
  EXPECT_EQ(o.channel_selectors, false);
}

TEST(GoCommand, MapFullTwoRefusesAndStaysInStandBy) {
  SurveyRecord r = in_state(kStateStandBy);
  r.map_full = kMapMustGrow;
  const CommandOutcome o = go_command(r, context_at(5000));
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(r.state, kStateStandBy);
  EXPECT_TRUE(o.remarks.empty());
  ASSERT_EQ(o.notices.size(), 1u);
  EXPECT_EQ(o.notices[0].text, "Cannot start logging.\r\nPlease increase the map size\r\nby 20-25%.");
  ASSERT_NE(o.sound, nullptr);
  EXPECT_STREQ(o.sound, "SOUND_RING");
}

TEST(GoCommand, OnlyFromStandBy) {
  for (int state : {kStateMonitoring, kStateLogging, kStateClosed}) {
    SurveyRecord r = in_state(state);
    EXPECT_FALSE(go_command(r, context_at(1)).ok);
    EXPECT_EQ(r.state, state);
  }
}

TEST(GoCommand, ByMode) {
  SurveyRecord wheel = in_state(kStateStandBy);
  wheel.survey_mode = kModeWheel;
  CommandOutcome o = go_command(wheel, context_at(1, kEm61Mk2));
  EXPECT_EQ(o.wheel, WheelAction::kStartWheel);
  EXPECT_TRUE(o.stop_timer);
  EXPECT_FALSE(o.records_per_reading);

  SurveyRecord polled = in_state(kStateStandBy);
  Settings settings;
  settings.survey_mode = kModeAuto;
  settings.reading_interval = 0.1;
  o = go_command(polled, command_context_from_settings(settings, Variant{kEm61Mk2, kNavigation}, 1));
  ASSERT_TRUE(o.timer_period_ms);
  EXPECT_EQ(*o.timer_period_ms, 100u);
  EXPECT_EQ(*o.poll_timeout_ms, 111u);

  SurveyRecord manual = in_state(kStateStandBy);
  manual.survey_mode = kModeManual;
  CommandContext c = context_at(1, kEm34_3);
  c.readings_per_station = 3;
  o = go_command(manual, c);
  EXPECT_EQ(o.reading_count_text, "Rdg: 0 of 3");
  EXPECT_EQ(pause_command(manual, c).reading_count_text, "");
  EXPECT_FALSE(pause_command(polled, context_at(2, kEm31Mk2)).reading_count_text);
}

TEST(PauseCommand, WritesPausedAndCommits) {
  SurveyRecord r = in_state(kStateStandBy);
  go_command(r, context_at(1000));
  const CommandOutcome o = pause_command(r, context_at(4000));
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(r.state, kStateStandBy);
  ASSERT_EQ(o.remarks.size(), 1u);
  EXPECT_EQ(o.remarks[0], "PAUSED");
  EXPECT_TRUE(o.commit_to_disk);
  EXPECT_EQ(r.earlier_logging_ms, 3000u);
  EXPECT_EQ(r.records_per_reading, 1);
  EXPECT_TRUE(o.notices.empty());
  EXPECT_EQ(o.channel_selectors, true);
}

TEST(PauseCommand, MapEdgeGivesPausedBmpAndTheNextFlag) {
  SurveyRecord r = in_state(kStateLogging);
  r.map_full = kMapReachedEdge;
  const CommandOutcome o = pause_command(r, context_at(10));
  ASSERT_EQ(o.remarks.size(), 1u);
  EXPECT_EQ(o.remarks[0], "PAUSED BMP");
  EXPECT_EQ(r.map_full, kMapMustGrow);
  ASSERT_NE(o.sound, nullptr);
  EXPECT_STREQ(o.sound, "SOUND_RING_2S");
  ASSERT_EQ(o.notices.size(), 1u);
  EXPECT_EQ(o.notices[0].text, "Please select Map Size option\r\nand increase the map size\r\nby 20-25%.");
  // and now Go refuses
  EXPECT_FALSE(go_command(r, context_at(20)).ok);
}

TEST(PauseCommand, WheelStopsTheWheelAndPolls) {
  Settings settings;
  settings.survey_mode = kModeWheel;
  for (InstrumentType type : {kEm61Lx2, kEm61Mk2}) {
    SurveyRecord r = in_state(kStateLogging);
    r.survey_mode = kModeWheel;
    const CommandOutcome o = pause_command(r, command_context_from_settings(settings, Variant{type, kNavigation}, 10));
    EXPECT_EQ(o.wheel, WheelAction::kStopWheel);
    // Back to the period the survey started with.
    ASSERT_TRUE(o.timer_period_ms);
    EXPECT_EQ(*o.timer_period_ms, 500u);
    EXPECT_TRUE(o.poll_pending);
  }
}

// A polled EM61-MK2 reads at the rate set from the survey start through Go
// and Pause: the timer of Monitoring, Logging and Stand By is the reading
// interval, the poll time-out 1.1 x it + 1 ms.
TEST(PolledEm61, TheRateSetHoldsFromTheStartThroughGoAndPause) {
  struct Case {
    double reading_interval_s;
    std::uint32_t period_ms;
    std::uint32_t poll_timeout_ms;
  };
  const Variant variant = Variant{kEm61Mk2, kNavigation};
  for (const Case& k : {Case{0.1, 100, 111}, Case{0.05, 50, 56}, Case{1.0 / 30, 33, 37}}) {
    Settings settings;
    settings.instrument_state = 1;
    settings.gps_enabled = 0;
    settings.survey_mode = kModeAuto;
    settings.reading_interval = k.reading_interval_s;
    StartInput input{variant, settings};
    input.em61_polled_mode = em61_polled_mode(settings, kEm61Mk2);
    input.polling_interval_ms = em61_polling_interval_ms(settings);
    const StartPlan plan = plan_survey_start(input);
    ASSERT_TRUE(plan.proceed);
    ASSERT_TRUE(plan.timer_period_ms);
    EXPECT_EQ(*plan.timer_period_ms, k.period_ms) << k.reading_interval_s;

    SurveyRecord survey = plan.survey;
    survey.state = kStateStandBy;  // as the File command leaves it
    survey.file_open = true;
    const CommandContext c = command_context_from_settings(settings, variant, 1000);
    EXPECT_TRUE(c.em61_polled);
    const CommandOutcome go = go_command(survey, c);
    ASSERT_TRUE(go.ok);
    ASSERT_TRUE(go.timer_period_ms);
    EXPECT_EQ(*go.timer_period_ms, k.period_ms) << k.reading_interval_s;
    EXPECT_EQ(*go.poll_timeout_ms, k.poll_timeout_ms) << k.reading_interval_s;
    EXPECT_FALSE(go.records_per_reading);  // polled: the timer sets the rate
    const CommandOutcome pause = pause_command(survey, c);
    ASSERT_TRUE(pause.timer_period_ms);
    EXPECT_EQ(*pause.timer_period_ms, k.period_ms) << k.reading_interval_s;
    EXPECT_EQ(*pause.poll_timeout_ms, k.poll_timeout_ms) << k.reading_interval_s;
  }
}

TEST(PauseCommand, OnlyWhileLogging) {
  SurveyRecord r = in_state(kStateStandBy);
  EXPECT_FALSE(pause_command(r, context_at(1)).ok);
}

TEST(ExitCommand, MonitoringClosesWithoutAQuestion) {
  SurveyRecord r = in_state(kStateMonitoring);
  ScriptedMessages messages({0});
  const CommandOutcome o = exit_command(r, context_at(1), false, ask_with(messages));
  EXPECT_TRUE(o.ok);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(r.state, kStateClosed);
  EXPECT_FALSE(o.close_file);
  EXPECT_TRUE(o.close_instrument);
  EXPECT_TRUE(o.close_gps);
  EXPECT_TRUE(o.stop_timer);
  EXPECT_TRUE(o.hide_window);
}

TEST(ExitCommand, StandByAsksAndNoKeepsStandBy) {
  SurveyRecord r = in_state(kStateStandBy);
  ScriptedMessages messages({0});
  const CommandOutcome o = exit_command(r, context_at(1), false, ask_with(messages));
  EXPECT_FALSE(o.ok);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].title, "Confirm Exit");
  EXPECT_EQ(messages.shown[0].text, "Exit Logging?");
  EXPECT_EQ(messages.shown[0].dialog, DialogTemplate::kYesNo);
  EXPECT_EQ(r.state, kStateStandBy);
  EXPECT_TRUE(r.file_open);
  EXPECT_FALSE(o.close_file);
}

TEST(ExitCommand, LoggingNoBecomesStandBy) {
  SurveyRecord r = in_state(kStateLogging);
  r.start_tick = 100;
  ScriptedMessages messages({0});
  exit_command(r, context_at(600), false, ask_with(messages));
  EXPECT_EQ(r.state, kStateStandBy);
  EXPECT_EQ(r.earlier_logging_ms, 500u);
}

TEST(ExitCommand, YesClosesTheFile) {
  SurveyRecord r = in_state(kStateStandBy);
  ScriptedMessages messages({1});
  CommandContext c = context_at(1, kEm61Mk2);
  c.tilt_used = true;
  c.gps_used = false;
  const CommandOutcome o = exit_command(r, c, false, ask_with(messages));
  EXPECT_TRUE(o.ok);
  EXPECT_TRUE(o.close_file);
  EXPECT_TRUE(o.close_tilt);
  EXPECT_FALSE(o.close_gps);
  EXPECT_EQ(r.state, kStateClosed);
  EXPECT_FALSE(r.file_open);
  EXPECT_TRUE(r.file_name.empty());
}

TEST(ExitCommand, ForcedOrReviewDoesNotAsk) {
  SurveyRecord r = in_state(kStateLogging);
  ScriptedMessages messages({0});
  EXPECT_TRUE(exit_command(r, context_at(1), true, ask_with(messages)).ok);
  SurveyRecord v = in_state(kStateStandBy);
  v.map_review = true;
  EXPECT_TRUE(exit_command(v, context_at(1), false, ask_with(messages)).ok);
  EXPECT_TRUE(messages.shown.empty());
  SurveyRecord closed;
  const CommandOutcome o = exit_command(closed, context_at(1), false, ask_with(messages));
  EXPECT_TRUE(o.ok);
  EXPECT_FALSE(o.close_instrument);
}

TEST(QuickLine, ProposesTheNextLine) {
  EXPECT_EQ(quick_line_question_text("10.00", 1.0), "New Line: 11.00");
  EXPECT_EQ(quick_line_question_text("L7", 0.5), "New Line: 0.50");
  SurveyRecord r = in_state(kStateStandBy);
  r.line_name = "10.00";
  Settings s;
  s.line_increment = 1.0;
  ScriptedMessages messages({1});
  const CommandOutcome o = quick_line_command(r, s, context_at(1), ask_with(messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].title, "Quick Line");
  EXPECT_EQ(messages.shown[0].text, "New Line: 11.00");
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(r.line_name, "11.00");
  EXPECT_EQ(s.survey_line, "11.00");
  ASSERT_TRUE(o.line_block);
  EXPECT_EQ(o.line_block->line_name, "11.00");
  EXPECT_EQ(o.line_block->file_name, "250307_000");
  EXPECT_TRUE(o.save_settings);
}

TEST(QuickLine, NoChangesNothing) {
  SurveyRecord r = in_state(kStateStandBy);
  r.line_name = "3";
  Settings s;
  ScriptedMessages messages({0});
  const CommandOutcome o = quick_line_command(r, s, context_at(1), ask_with(messages));
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(r.line_name, "3");
  EXPECT_FALSE(o.line_block);
}

TEST(QuickLine, BackAndForthTwiceRestoresDirectionAndSign) {
  SurveyRecord r = in_state(kStateStandBy);
  r.line_direction = 2;  // North
  r.station_increment = 0.5;
  r.station = 7.5;
  r.start_station = 0.0;
  r.readings_in_line = 16;
  Settings s;
  s.line_sequence = 0;
  ScriptedMessages messages({1, 1});
  quick_line_command(r, s, context_at(1), ask_with(messages));
  EXPECT_EQ(r.line_direction, 1);  // South
  EXPECT_DOUBLE_EQ(r.station_increment, -0.5);
  EXPECT_DOUBLE_EQ(r.start_station, 7.5);
  EXPECT_EQ(r.readings_in_line, 0);
  EXPECT_EQ(r.line_count, 1);
  r.station = 0.0;
  quick_line_command(r, s, context_at(2), ask_with(messages));
  EXPECT_EQ(r.line_direction, 2);
  EXPECT_DOUBLE_EQ(r.station_increment, 0.5);
  EXPECT_EQ(r.line_count, 2);
  EXPECT_EQ(r.line_name, "3.00");
}

TEST(QuickLine, WestEastSwap) {
  SurveyRecord r = in_state(kStateStandBy);
  r.line_direction = 0;
  Settings s;
  ScriptedMessages messages({1});
  quick_line_command(r, s, context_at(1), ask_with(messages));
  EXPECT_EQ(r.line_direction, 3);
}

TEST(QuickLine, OneWayReturnsToTheStartStation) {
  SurveyRecord r = in_state(kStateStandBy);
  r.station = 20.0;
  r.start_station = 2.0;
  r.station_increment = 1.0;
  Settings s;
  s.line_sequence = 1;
  ScriptedMessages messages({1});
  quick_line_command(r, s, context_at(1), ask_with(messages));
  EXPECT_DOUBLE_EQ(r.station, 2.0);
  EXPECT_DOUBLE_EQ(r.station_increment, 1.0);
  EXPECT_EQ(r.line_direction, 2);
}

TEST(QuickLine, NeedsTheInstrument) {
  SurveyRecord r = in_state(kStateStandBy);
  Settings s;
  ScriptedMessages messages;
  CommandContext c = context_at(1);
  c.instrument_used = false;
  const CommandOutcome o = quick_line_command(r, s, c, ask_with(messages));
  EXPECT_FALSE(o.ok);
  ASSERT_EQ(o.notices.size(), 1u);
  EXPECT_EQ(o.notices[0].title, "INFORMATION");
  EXPECT_EQ(o.notices[0].text, "Option avaiable only when Instrument is enabled");
  EXPECT_TRUE(messages.shown.empty());
}

TEST(Notices, RequiredOptions) {
  EXPECT_EQ(gps_required().text, "Option avaiable only when GPS is enabled");
  EXPECT_EQ(map_required().text, "Option avaiable only when map is visible");
}

}  // namespace
}  // namespace quelor

namespace quelor {
namespace {

TEST(ExitCommand, NoWayToAskCountsAsNo) {
  SurveyRecord r;
  r.state = kStateStandBy;
  r.file_open = true;
  EXPECT_FALSE(exit_command(r, CommandContext{}, false, AskOperator{}).ok);
  EXPECT_EQ(r.state, kStateStandBy);
}

TEST(ExitCommand, AskCallbackSeesTheQuestion) {
  SurveyRecord r;
  r.state = kStateLogging;
  r.file_open = true;
  std::vector<std::string> asked;
  const AskOperator ask = [&](const OperatorMessage& m) {
    asked.push_back(m.title + "|" + m.text);
    return 1;
  };
  EXPECT_TRUE(exit_command(r, CommandContext{}, false, ask).ok);
  EXPECT_EQ(asked, (std::vector<std::string>{"Confirm Exit|Exit Logging?"}));
  EXPECT_EQ(r.state, kStateClosed);
}

}  // namespace
}  // namespace quelor
