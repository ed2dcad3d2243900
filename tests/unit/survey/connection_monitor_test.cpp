#include "survey/connection_monitor.h"

#include <gtest/gtest.h>

#include "variant/variant.h"

namespace quelor {
namespace {

TEST(ConnectionMonitor, TimeoutsByInstrument) {
  EXPECT_EQ(connection_timeout_ms(kGrad601), 1000u);
  EXPECT_EQ(connection_timeout_ms(kEm38Mk2), 500u);
  for (InstrumentType type : {kEm31Mk2, kEm34_3, kEm61Mk2, kEm61Lx2})
    EXPECT_EQ(connection_timeout_ms(type), 200u) << type;
  for (InstrumentType type : {kEm38, kCs21, kEm38_4}) EXPECT_FALSE(connection_timeout_ms(type)) << type;
}

TEST(ConnectionMonitor, BreakRemarkTextHasBothNumbersOne) { EXPECT_EQ(connection_break_remark(), "1CONN BRK 1"); }

SurveyRecord logging_survey() {
  SurveyRecord r;
  r.state = kStateLogging;
  r.survey_mode = kModeAuto;
  return r;
}

TEST(ConnectionMonitor, WithinTheTimeoutNothingHappens) {
  SurveyRecord r = logging_survey();
  MonitorInput in{kEm31Mk2, 1200, 1000};
  const MonitorActions a = monitor_tick(r, in);
  EXPECT_FALSE(a.lost);
  EXPECT_FALSE(a.remark);
  EXPECT_FALSE(a.ring);
  EXPECT_FALSE(a.show_lost_notice);
}

TEST(ConnectionMonitor, StoppedReadingsWhileLoggingGiveOneRemarkPerBreakAndRingEveryTick) {
  SurveyRecord r = logging_survey();
  int remarks = 0, rings = 0;
  std::uint32_t now = 1000;
  for (int tick = 0; tick < 10; ++tick) {
    now += 300;
    const MonitorActions a = monitor_tick(r, {kEm31Mk2, now, 1000, 1000, true});
    EXPECT_TRUE(a.lost);
    EXPECT_TRUE(a.show_lost_notice);
    remarks += a.remark ? 1 : 0;
    rings += a.ring ? 1 : 0;
    if (a.remark) {
      EXPECT_EQ(*a.remark, "1CONN BRK 1");
    }
  }
  EXPECT_EQ(remarks, 1);
  EXPECT_EQ(rings, 10);
  EXPECT_TRUE(r.connection_lost);
  // readings come back, then stop again: a second break, a second remark
  const MonitorActions back = monitor_tick(r, {kEm31Mk2, now + 300, now + 250, 1000, true});
  EXPECT_TRUE(back.restored);
  EXPECT_FALSE(back.lost);
  EXPECT_FALSE(r.connection_lost);
  const MonitorActions again = monitor_tick(r, {kEm31Mk2, now + 900, now + 250, 1000, true});
  ASSERT_TRUE(again.remark);
}

TEST(ConnectionMonitor, InMonitoringNoRemark) {
  SurveyRecord r = logging_survey();
  r.state = kStateMonitoring;
  const MonitorActions a = monitor_tick(r, {kEm31Mk2, 5000, 1000, 1000, true});
  EXPECT_TRUE(a.lost);
  EXPECT_FALSE(a.remark);
  EXPECT_TRUE(a.ring);
  r.state = kStateStandBy;
  EXPECT_FALSE(monitor_tick(r, {kEm31Mk2, 6000, 1000, 1000, true}).remark);
}

TEST(ConnectionMonitor, NoRingWithTheAudioOptionOff) {
  SurveyRecord r = logging_survey();
  const MonitorActions a = monitor_tick(r, {kEm38Mk2, 5000, 1000, 1000, false});
  EXPECT_TRUE(a.lost);
  EXPECT_FALSE(a.ring);
  EXPECT_TRUE(a.remark);
}

TEST(ConnectionMonitor, TimeoutBoundaryIsNotLongerThan) {
  SurveyRecord r = logging_survey();
  EXPECT_FALSE(monitor_tick(r, {kGrad601, 2000, 1000}).lost);
  EXPECT_TRUE(monitor_tick(r, {kGrad601, 2001, 1000}).lost);
  SurveyRecord w = logging_survey();
  EXPECT_FALSE(monitor_tick(w, {kEm31Mk2, 100, 0xFFFFFFF0u}).lost);  // tick wrap: 116 ms
}

// No time-out: silence is never a break; failing reads of the port are,
// remarked once, and their end is the return.
TEST(ConnectionMonitor, Em38AndCs21BreakOnlyOnAFailingPort) {
  for (InstrumentType type : {kEm38, kCs21}) {
    SurveyRecord r = logging_survey();
    MonitorInput in{type, 100000, 0};
    EXPECT_FALSE(monitor_tick(r, in).lost) << type;
    in.port_failing = true;
    MonitorActions a = monitor_tick(r, in);
    EXPECT_TRUE(a.lost && a.remark && a.show_lost_notice && r.connection_lost) << type;
    a = monitor_tick(r, in);
    EXPECT_TRUE(a.lost && !a.remark) << type;  // one remark per break
    in.port_failing = false;
    a = monitor_tick(r, in);
    EXPECT_TRUE(a.restored && !a.lost && !r.connection_lost) << type;
    EXPECT_FALSE(monitor_tick(r, in).restored) << type;
  }
}

TEST(ConnectionMonitor, Em61TestedOnlyInAuto) {
  SurveyRecord r = logging_survey();
  r.survey_mode = kModeWheel;
  EXPECT_FALSE(monitor_tick(r, {kEm61Mk2, 100000, 0}).lost);
  r.survey_mode = kModeAuto;
  EXPECT_TRUE(monitor_tick(r, {kEm61Lx2, 100000, 0}).lost);
}

TEST(ConnectionMonitor, Em61PolledSendsAPollWhenPending) {
  SurveyRecord r = logging_survey();
  MonitorInput in{kEm61Mk2, 100000, 0};
  in.em61_polled = true;
  in.poll_pending = true;
  const MonitorActions a = monitor_tick(r, in);
  EXPECT_TRUE(a.send_poll);
  EXPECT_FALSE(a.lost);
  in.poll_pending = false;
  EXPECT_TRUE(monitor_tick(r, in).lost);
}

// Polls that stay unanswered stamp nothing: the break test goes on beside
// the next poll, so a silent polled instrument breaks.
TEST(ConnectionMonitor, Em61PolledUnansweredPollsBreak) {
  SurveyRecord r = logging_survey();
  MonitorInput in{kEm61Mk2, 100000, 99900};
  in.em61_polled = true;
  in.poll_pending = true;
  in.poll_unanswered = true;
  MonitorActions a = monitor_tick(r, in);
  EXPECT_TRUE(a.send_poll);
  EXPECT_FALSE(a.lost);  // 100 ms since the last answered poll
  in.now = 100300;
  a = monitor_tick(r, in);
  EXPECT_TRUE(a.send_poll);
  EXPECT_TRUE(a.lost);
  ASSERT_TRUE(a.remark);
  // Answered again: the break ends on that tick, though each tick finds
  // the reader idle with its answer (a poll a tick, answered within it).
  in.poll_unanswered = false;
  in.last_record_tick = 100400;
  in.now = 100450;
  a = monitor_tick(r, in);
  EXPECT_TRUE(a.send_poll);
  EXPECT_TRUE(a.restored);
  EXPECT_FALSE(r.connection_lost);
  in.now = 100550;
  EXPECT_FALSE(monitor_tick(r, in).restored);  // once
  // A later break is remarked again.
  in.poll_unanswered = true;
  in.now = 101000;
  a = monitor_tick(r, in);
  EXPECT_TRUE(a.lost);
  EXPECT_TRUE(a.remark);
}

TEST(ConnectionMonitor, Em34ManualAsksInsteadOfReporting) {
  SurveyRecord r = logging_survey();
  r.survey_mode = kModeManual;
  const MonitorActions a = monitor_tick(r, {kEm34_3, 100000, 0});
  EXPECT_TRUE(a.battery_save_prompt);
  EXPECT_FALSE(a.remark);
  EXPECT_FALSE(a.ring);
  const OperatorMessage q = battery_save_question();
  EXPECT_EQ(q.title, "EM34-3 Battery Save Mode");
  EXPECT_EQ(q.text, "After the instrument is ON\r\npress YES to connect.\r\npress NO to exit Logging Mode.");
  EXPECT_EQ(q.dialog, DialogTemplate::kYesNo);
}

TEST(ConnectionMonitor, BatterySaveAnswers) {
  SurveyRecord r = logging_survey();
  r.survey_mode = kModeManual;
  r.file_open = true;
  r.readings_since_last_record = 3;
  BatterySaveOutcome yes = answer_battery_save(r, true);
  EXPECT_TRUE(yes.reconnect);
  EXPECT_EQ(yes.open_tries, 4);
  EXPECT_EQ(yes.try_gap_ms, 10u);
  EXPECT_EQ(yes.wait_before_open_ms, 500u);
  EXPECT_EQ(yes.timer_period_ms, 300u);
  EXPECT_EQ(r.readings_since_last_record, 0);
  EXPECT_EQ(r.state, kStateLogging);

  // No while logging: the pause of the Pause command, "$CONN END" its only remark.
  r.start_tick = 1000;
  r.earlier_logging_ms = 500;
  r.records_per_reading = 4;
  CommandContext c;
  c.instrument_type = kEm34_3;
  c.now = 3000;
  BatterySaveOutcome no = answer_battery_save(r, false, c);
  ASSERT_TRUE(no.remark);
  EXPECT_EQ(*no.remark, "$CONN END");
  EXPECT_EQ(r.state, kStateStandBy);
  ASSERT_TRUE(no.pause);
  EXPECT_TRUE(no.pause->remarks.empty());
  EXPECT_TRUE(no.pause->commit_to_disk);
  EXPECT_EQ(no.pause->records_per_reading, 1);
  EXPECT_EQ(r.records_per_reading, 1);
  EXPECT_EQ(r.earlier_logging_ms, 2500u);
  EXPECT_EQ(no.pause->reading_count_text, "");

  // No in Stand By: the remark, no second pause.
  no = answer_battery_save(r, false, c);
  EXPECT_TRUE(no.remark);
  EXPECT_FALSE(no.pause);
  EXPECT_EQ(r.state, kStateStandBy);

  SurveyRecord m;
  m.state = kStateMonitoring;
  no = answer_battery_save(m, false);
  EXPECT_FALSE(no.remark);
  EXPECT_FALSE(no.pause);
  EXPECT_EQ(m.state, kStateMonitoring);
}

TEST(ConnectionMonitor, Em34PortNotReopenedReportsTheBreak) {
  SurveyRecord r = logging_survey();
  r.survey_mode = kModeManual;
  MonitorInput in{kEm34_3, 100000, 0};
  in.instrument_port_open = false;
  MonitorActions a = monitor_tick(r, in);
  EXPECT_FALSE(a.battery_save_prompt);
  EXPECT_TRUE(a.lost);
  EXPECT_TRUE(a.show_lost_notice);
  ASSERT_TRUE(a.remark);
  EXPECT_EQ(*a.remark, "1CONN BRK 1");
  in.now += 300;
  a = monitor_tick(r, in);
  EXPECT_TRUE(a.show_lost_notice);
  EXPECT_FALSE(a.remark);  // one remark per break
}

TEST(ConnectionMonitor, Em38_4UsesItsOwnTimeoutAndSparesProcedures) {
  SurveyRecord r = logging_survey();
  MonitorInput in{kEm38_4, 1500, 1000};
  in.em38_4_timeout_ms = 600;
  EXPECT_FALSE(monitor_tick(r, in).lost);
  in.now = 1700;
  in.em38_4_procedure = true;
  MonitorActions a = monitor_tick(r, in);
  EXPECT_TRUE(a.group_invalid);
  EXPECT_FALSE(a.remark);
  EXPECT_FALSE(a.ring);
  in.em38_4_procedure = false;
  a = monitor_tick(r, in);
  EXPECT_TRUE(a.group_invalid);
  EXPECT_TRUE(a.remark);
}

// The EM38-4 reader stamps only the arrival tick: a streaming EM38-4 is
// never a break, a silent one is.
TEST(ConnectionMonitor, Em38_4IsMonitoredOnTheArrivalOfItsReadingGroups) {
  SurveyRecord r = logging_survey();
  const std::uint32_t never_stamped = 0;
  for (std::uint32_t now = 5000; now < 8000; now += 300) {
    const std::uint32_t arrival = now - 100;  // ten groups a second
    const MonitorInput in{kEm38_4, now, monitored_record_tick(kEm38_4, never_stamped, arrival)};
    const MonitorActions a = monitor_tick(r, in);
    EXPECT_FALSE(a.lost) << now;
    EXPECT_FALSE(a.remark) << now;
  }
  const MonitorInput silent{kEm38_4, 9200, monitored_record_tick(kEm38_4, never_stamped, 7900)};
  EXPECT_TRUE(monitor_tick(r, silent).remark);
  for (InstrumentType type : {kEm31Mk2, kEm34_3, kEm38Mk2, kGrad601, kEm61Mk2, kEm61Lx2})
    EXPECT_EQ(monitored_record_tick(type, 11, 22), 11u) << type;
}

TEST(ConnectionMonitor, Em38_4TimeoutCoversTwoRecordsAtSlowRates) {
  const std::uint32_t expected[] = {1000, 1000, 1000, 1000, 1000, 2000, 4000, 10000, 20000};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(em38_4_connection_timeout_ms(i), expected[i]) << i;
  EXPECT_EQ(em38_4_connection_timeout_ms(42), 1000u);  // an index outside is the 10 Hz rate
  // At 0.5 Hz a record every 2000 ms is no break.
  SurveyRecord r = logging_survey();
  MonitorInput in{kEm38_4, 12000, 10000};
  in.em38_4_timeout_ms = em38_4_connection_timeout_ms(6);
  EXPECT_FALSE(monitor_tick(r, in).lost);
}

// Ticks 500 ms apart; one comes 1300 ms late (the window thread was held
// up): it is excused, but never two ticks in a row.
TEST(ConnectionMonitor, ALateTickIsExcusedOnce) {
  MonitorClock clock;
  const struct {
    std::uint32_t now;
    bool excused;
  } ticks[] = {{1000, false}, {1500, false}, {2000, false}, {3300, true}, {3800, false},
               {5200, true},  {6600, false}, {8000, true},  {8500, false}};
  for (const auto& t : ticks) EXPECT_EQ(monitor_tick_excused(clock, t.now), t.excused) << t.now;
  // Ticks sent one after the other (a few milliseconds apart) are never late.
  MonitorClock quick;
  for (std::uint32_t now : {100u, 101u, 103u, 110u, 130u}) EXPECT_FALSE(monitor_tick_excused(quick, now)) << now;
  // A tick that comes early after a late one (the timer catching up) does
  // not shorten the usual gap: the ticks after it are on time, not late.
  MonitorClock catching_up;
  const struct {
    std::uint32_t now;
    bool excused;
  } jitter[] = {{1000, false}, {1300, false}, {1600, false}, {2102, false}, {2200, false},
                {2500, false}, {2800, false}, {3100, false}, {3400, false}, {4100, true}};
  for (const auto& t : jitter) EXPECT_EQ(monitor_tick_excused(catching_up, t.now), t.excused) << t.now;
  EXPECT_EQ(catching_up.usual_gap, 300u);
  // An excused tick reports no break; the next one does.
  SurveyRecord r = logging_survey();
  MonitorInput in{kEm61Lx2, 9300, 8400};
  in.excused = true;
  EXPECT_FALSE(monitor_tick(r, in).remark);
  EXPECT_FALSE(r.connection_lost);
  in.excused = false;
  EXPECT_TRUE(monitor_tick(r, in).remark);
}

TEST(ConnectionMonitor, ClosedSurveyIsNotMonitored) {
  SurveyRecord r;
  EXPECT_FALSE(monitor_tick(r, {kEm31Mk2, 100000, 0}).lost);
}

}  // namespace
}  // namespace quelor
