#include "survey/instrument_reconnect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "survey/connection_monitor.h"
#include "variant/variant.h"

namespace quelor {
namespace {

TEST(InstrumentReconnect, BackoffIsOneTwoFourThenFiveSecondsNeverFasterThanTheTick) {
  struct Row {
    int tries;
    std::uint32_t tick;
    std::uint32_t delay;
  };
  const Row rows[] = {{0, 300, 1000},  {1, 300, 2000},  {2, 300, 4000},  {3, 300, 5000},  {40, 300, 5000},
                      {0, 1000, 1000}, {0, 1500, 1500}, {1, 2500, 2500}, {5, 7000, 7000}, {-1, 300, 1000}};
  for (const Row& r : rows) EXPECT_EQ(reconnect_delay_ms(r.tries, r.tick), r.delay) << r.tries << " " << r.tick;
}

TEST(InstrumentReconnect, RulesByInstrumentAndMode) {
  struct Row {
    InstrumentType type;
    int mode;
    bool reconnects;
    ReconnectCheck check;
  };
  const Row rows[] = {
      {kEm31Mk2, kModeAuto, true, ReconnectCheck::kNone},
      {kEm31Mk2, kModeManual, true, ReconnectCheck::kNone},
      {kEm34_3, kModeAuto, true, ReconnectCheck::kNone},
      {kEm34_3, kModeManual, false, ReconnectCheck::kNone},  // the battery-save question instead
      {kEm38Mk2, kModeWheel, true, ReconnectCheck::kNone},
      {kEm38_4, kModeAuto, true, ReconnectCheck::kNone},
      {kEm61Mk2, kModeAuto, true, ReconnectCheck::kEm61Handshake},
      {kEm61Lx2, kModeAuto, true, ReconnectCheck::kEm61Handshake},
      {kEm38, kModeAuto, true, ReconnectCheck::kEm38Length},
      {kGrad601, kModeAuto, true, ReconnectCheck::kNone},
  };
  for (const Row& r : rows) {
    const ReconnectRule rule = reconnect_rule(r.type, r.mode);
    EXPECT_EQ(rule.reconnects, r.reconnects) << r.type << " " << r.mode;
    EXPECT_EQ(rule.check, r.check) << r.type;
  }
}

TEST(InstrumentReconnect, RemarkFitsTheRemarkField) {
  EXPECT_EQ(reconnected_remark(), "1CONN RCN 1");
  EXPECT_EQ(reconnected_remark().size(), 11u);
  EXPECT_NE(reconnected_remark(), connection_break_remark());
}

// A survey with a fake clock: the instrument streams every `period` ms over
// a link that is unplugged at `unplug_at` and plugged back `unplug_ms`
// later (a new link: a port opened before stays dead). The real connection
// monitor decides the break on each tick; the plan decides the tries; the
// world below carries them out with an opener that takes `opener_ms` and an
// old reader that ends `reader_end_ms` after its port closed.
struct Timing {
  std::uint32_t tick_ms;
  InstrumentType instrument_type;
  std::uint32_t period_ms;
  std::uint32_t unplug_ms;
  std::uint32_t opener_ms;
  std::uint32_t reader_end_ms;
  bool new_link = true;  // false: the instrument only falls silent, the link stays
};

struct World {
  Timing t;
  std::uint32_t unplug_at = 5000;
  int link = 0;  // generation of the device's link
  bool port_open = true;
  int port_link = 0;  // the generation the open port belongs to
  bool reader_running = true;
  bool old_reader_alive = false;
  std::uint32_t old_reader_ends = 0;
  bool opener_running = false;
  std::uint32_t opener_done = 0;
  bool opener_ok = false;
  OpenerStatus opener = OpenerStatus::kIdle;
  std::uint32_t last_record = 0;
  std::uint32_t next_record = 0;
  std::vector<std::uint32_t> records;
  std::vector<std::uint32_t> tries;
  std::vector<std::uint32_t> restarts;
  std::vector<std::string> remarks;
  int readers_at_once_max = 1;

  bool plugged(std::uint32_t now) const { return now < unplug_at || now >= unplug_at + t.unplug_ms; }

  // Everything that happens between two ticks, millisecond by millisecond.
  void run_until(std::uint32_t now) {
    for (std::uint32_t ms = next_record; ms <= now; ++ms) {
      if (ms >= unplug_at + t.unplug_ms && t.new_link) link = 1;
      if (old_reader_alive && ms >= old_reader_ends) old_reader_alive = false;
      if (opener_running && ms >= opener_done) {
        opener_running = false;
        opener = opener_ok ? OpenerStatus::kOpened : OpenerStatus::kFailed;
      }
      if (ms % t.period_ms == 0 && plugged(ms) && port_open && port_link == link && reader_running) {
        records.push_back(ms);
        last_record = ms;
      }
      readers_at_once_max = std::max(readers_at_once_max, (reader_running ? 1 : 0) + (old_reader_alive ? 1 : 0));
    }
    next_record = now + 1;
  }

  void carry_out(const ReconnectStep& s, std::uint32_t now) {
    if (s.close_port) {
      tries.push_back(now);
      port_open = false;
      reader_running = false;
      old_reader_alive = true;
      old_reader_ends = now + t.reader_end_ms;
    }
    if (s.start_opener) {
      opener_running = true;
      opener = OpenerStatus::kRunning;
      opener_done = now + t.opener_ms;
      opener_ok = plugged(now) || !t.new_link;
    }
    if (s.restart_reader) {
      ASSERT_EQ(opener, OpenerStatus::kOpened);
      ASSERT_FALSE(old_reader_alive) << "two readers on one port at " << now;
      restarts.push_back(now);
      port_open = true;
      port_link = link;
      reader_running = true;
      opener = OpenerStatus::kIdle;
    }
    if (s.remark) remarks.push_back(*s.remark);
  }
};

struct SurveyRun {
  World world;
  int break_remarks = 0;
  std::uint32_t end = 0;
};

SurveyRun survey_with_unplug(const Timing& t, std::uint32_t walk_after_ms = 20000) {
  SurveyRun run;
  run.world.t = t;
  World& w = run.world;
  SurveyRecord survey;
  survey.state = kStateLogging;
  survey.survey_mode = kModeAuto;
  ReconnectPlan plan;
  run.end = w.unplug_at + t.unplug_ms + walk_after_ms;
  for (std::uint32_t now = t.tick_ms; now <= run.end; now += t.tick_ms) {
    w.run_until(now);
    MonitorInput m;
    m.instrument_type = t.instrument_type;
    m.now = now;
    m.last_record_tick = w.last_record;
    const MonitorActions a = monitor_tick(survey, m);
    if (a.remark) {
      ++run.break_remarks;
      w.remarks.push_back(*a.remark);
    }
    ReconnectInput in;
    in.now = now;
    in.tick_ms = t.tick_ms;
    in.lost = a.lost;
    in.restored = a.restored;
    in.break_remark = a.remark.has_value();
    in.file_open = true;
    in.opener = w.opener;
    in.old_reader_ended = !w.old_reader_alive;
    const ReconnectStep step = reconnect_tick(plan, in);
    w.carry_out(step, now);
    if (step.restart_reader || step.close_port) {
      EXPECT_NE(step.restart_reader, step.close_port) << now;
    }
  }
  return run;
}

std::uint32_t round_up(std::uint32_t ms, std::uint32_t tick) { return (ms + tick - 1) / tick * tick; }

class UnplugTimings : public ::testing::TestWithParam<Timing> {};

TEST_P(UnplugTimings, EveryReadingAfterTheReturnWithOneBreakAndOneReconnectionRemark) {
  const Timing t = GetParam();
  const SurveyRun run = survey_with_unplug(t);
  const World& w = run.world;
  const std::uint32_t plug_at = w.unplug_at + t.unplug_ms;

  EXPECT_EQ(w.remarks, (std::vector<std::string>{"1CONN BRK 1", "1CONN RCN 1"}));
  EXPECT_EQ(w.readers_at_once_max, 1);
  ASSERT_FALSE(w.tries.empty());
  ASSERT_FALSE(w.restarts.empty());

  // The first try a second after the break was seen; the next ones after
  // 2 s, 4 s, then every 5 s (on ticks, and not before a try has ended).
  const std::uint32_t timeout = connection_timeout_ms(t.instrument_type).value_or(0);
  EXPECT_GE(w.tries.front(), w.unplug_at + timeout + 1000);
  EXPECT_LE(w.tries.front(), w.unplug_at + timeout + 1000 + 2 * t.tick_ms);
  for (std::size_t i = 1; i < w.tries.size(); ++i) {
    const std::uint32_t gap = w.tries[i] - w.tries[i - 1];
    const std::uint32_t wanted = reconnect_delay_ms(static_cast<int>(i), t.tick_ms);
    EXPECT_GE(gap, wanted) << "try " << i;
    EXPECT_LE(gap, round_up(std::max(wanted, t.opener_ms + kReconnectFirstRecordMs), t.tick_ms) + t.tick_ms)
        << "try " << i;
  }

  // Back within the longest wait plus one try after the link returned, and
  // no try once the readings are back.
  const std::uint32_t last_restart = w.restarts.back();
  if (t.new_link) {
    EXPECT_GE(last_restart, plug_at);
  }
  EXPECT_LE(last_restart, plug_at + 5000 + t.opener_ms + std::max(t.reader_end_ms, t.tick_ms) + 2 * t.tick_ms);
  EXPECT_LT(w.tries.back(), last_restart);

  // Every record the instrument sent after the return was taken, none twice.
  const std::uint32_t back = std::max(last_restart, plug_at);
  std::size_t sent_after = 0;
  for (std::uint32_t ms = back + 1; ms < w.next_record; ++ms) sent_after += ms % t.period_ms == 0 ? 1 : 0;
  std::size_t got_after = 0;
  for (std::uint32_t r : w.records) got_after += r > back ? 1 : 0;
  EXPECT_EQ(got_after, sent_after);
  for (std::size_t i = 1; i < w.records.size(); ++i) EXPECT_LT(w.records[i - 1], w.records[i]);
}

INSTANTIATE_TEST_SUITE_P(Timings, UnplugTimings,
                         ::testing::Values(Timing{300, kEm31Mk2, 95, 10000, 20, 10},   // the end-to-end run's timings
                                           Timing{300, kEm31Mk2, 95, 3000, 20, 10},    // back before the third try
                                           Timing{300, kEm31Mk2, 95, 31000, 20, 10},   // a long walk away
                                           Timing{1000, kGrad601, 91, 12000, 50, 30},  // slow monitor tick
                                           Timing{500, kEm61Lx2, 100, 9000, 1200,
                                                  900},  // handshake on the opener, wake-up sleep
                                           Timing{300, kEm38Mk2, 47, 7000, 4000, 10},   // a port that takes 4 s to open
                                           Timing{300, kEm31Mk2, 95, 10000, 20, 1900},  // a reader slow to end
                                           Timing{300, kEm31Mk2, 95, 3000, 20, 10, false}));  // silent, the link kept

TEST(InstrumentReconnect, ShortHiccupNeedsNoTryButStillPairsTheRemarks) {
  const SurveyRun run = survey_with_unplug(Timing{300, kEm31Mk2, 95, 600, 20, 10, false}, 3000);
  EXPECT_TRUE(run.world.tries.empty());
  EXPECT_EQ(run.world.remarks, (std::vector<std::string>{"1CONN BRK 1", "1CONN RCN 1"}));
}

ReconnectInput lost_at(std::uint32_t now) {
  ReconnectInput in;
  in.now = now;
  in.lost = true;
  in.file_open = true;
  return in;
}

TEST(InstrumentReconnect, NoTryWhileAProcedureRunsAndNoneCompletes) {
  ReconnectPlan plan;
  reconnect_tick(plan, lost_at(1000));
  ReconnectInput held = lost_at(9000);
  held.held = true;
  EXPECT_FALSE(reconnect_tick(plan, held).close_port);
  const ReconnectStep go = reconnect_tick(plan, lost_at(9300));
  EXPECT_TRUE(go.close_port);
  EXPECT_TRUE(go.start_opener);
  ReconnectInput opened = lost_at(9600);
  opened.opener = OpenerStatus::kOpened;
  opened.held = true;
  EXPECT_FALSE(reconnect_tick(plan, opened).restart_reader);
  opened.held = false;
  EXPECT_TRUE(reconnect_tick(plan, opened).restart_reader);
}

TEST(InstrumentReconnect, TheOpenedPortWaitsForTheOldReaderToEndOrItsGraceTime) {
  struct Row {
    std::uint32_t ends_after;  // ms after the try's close; 0: never
    std::uint32_t restart_after;
  };
  const Row rows[] = {{100, 300}, {900, 900}, {1950, 2100}, {0, 2100}, {5000, 2100}};
  for (const Row& r : rows) {
    ReconnectPlan plan;
    reconnect_tick(plan, lost_at(1000));
    ASSERT_TRUE(reconnect_tick(plan, lost_at(2000)).close_port);
    std::uint32_t restarted = 0;
    for (std::uint32_t now = 2300; now < 9000 && restarted == 0; now += 300) {
      ReconnectInput in = lost_at(now);
      in.opener = OpenerStatus::kOpened;
      in.old_reader_ended = r.ends_after != 0 && now - 2000 >= r.ends_after;
      if (reconnect_tick(plan, in).restart_reader) restarted = now - 2000;
    }
    EXPECT_EQ(restarted, r.restart_after) << r.ends_after;
  }
}

TEST(InstrumentReconnect, AnOpenerThatNeverReturnsIsCancelledAndTheTriesGoOn) {
  ReconnectPlan plan;
  reconnect_tick(plan, lost_at(1000));
  ASSERT_TRUE(reconnect_tick(plan, lost_at(2000)).start_opener);
  std::uint32_t cancelled = 0, next_try = 0;
  for (std::uint32_t now = 2300; now < 30000 && next_try == 0; now += 300) {
    ReconnectInput in = lost_at(now);
    in.opener = cancelled ? OpenerStatus::kIdle : OpenerStatus::kRunning;
    const ReconnectStep s = reconnect_tick(plan, in);
    if (s.cancel_opener) cancelled = now;
    if (s.start_opener) next_try = now;
  }
  const std::uint32_t first_tick_after_limit = 2300 + (2000 + kReconnectOpenerLimitMs - 2300 + 299) / 300 * 300;
  EXPECT_EQ(cancelled, first_tick_after_limit);
  EXPECT_EQ(next_try, cancelled + 300);
}

TEST(InstrumentReconnect, ExitDuringATryCancelsTheOpenerAndStops) {
  ReconnectPlan plan;
  reconnect_tick(plan, lost_at(1000));
  ASSERT_TRUE(reconnect_tick(plan, lost_at(2000)).start_opener);
  EXPECT_TRUE(reconnect_active(plan));
  EXPECT_TRUE(stop_reconnect(plan).cancel_opener);
  EXPECT_FALSE(reconnect_active(plan));
  // Exit while waiting between tries: nothing to cancel.
  reconnect_tick(plan, lost_at(3000));
  EXPECT_FALSE(stop_reconnect(plan).cancel_opener);
  // A disabled plan (EM34-3 Manual asks instead) never tries.
  ReconnectInput off = lost_at(4000);
  off.enabled = false;
  for (std::uint32_t now = 4000; now < 20000; now += 300) {
    off.now = now;
    const ReconnectStep s = reconnect_tick(plan, off);
    EXPECT_FALSE(s.close_port || s.start_opener);
  }
  EXPECT_FALSE(reconnect_active(plan));
}

TEST(InstrumentReconnect, ReconnectionRemarkOnlyAfterARemarkedBreakWithAFileOpen) {
  struct Row {
    bool break_remark;
    bool file_open;
    bool remark;
  };
  const Row rows[] = {{true, true, true}, {true, false, false}, {false, true, false}, {false, false, false}};
  for (const Row& r : rows) {
    ReconnectPlan plan;
    ReconnectInput in = lost_at(1000);
    in.break_remark = r.break_remark;
    reconnect_tick(plan, in);
    ReconnectInput back;
    back.now = 1300;
    back.restored = true;
    back.file_open = r.file_open;
    EXPECT_EQ(reconnect_tick(plan, back).remark.has_value(), r.remark) << r.break_remark << r.file_open;
    EXPECT_FALSE(reconnect_active(plan));
  }
  // A remark written later in the break (logging started during it) counts.
  ReconnectPlan plan;
  reconnect_tick(plan, lost_at(1000));
  ReconnectInput later = lost_at(1300);
  later.break_remark = true;
  reconnect_tick(plan, later);
  ReconnectInput back;
  back.now = 1600;
  back.restored = true;
  back.file_open = true;
  EXPECT_TRUE(reconnect_tick(plan, back).remark);
}

TEST(InstrumentReconnect, ALateTickNeitherTriesNorEndsTheBreak) {
  ReconnectPlan plan;
  reconnect_tick(plan, lost_at(1000));
  ReconnectInput excused;  // the monitor excused a late tick: not lost, not restored
  excused.now = 2500;
  EXPECT_FALSE(reconnect_tick(plan, excused).close_port);
  EXPECT_TRUE(reconnect_active(plan));
  EXPECT_TRUE(reconnect_tick(plan, lost_at(2800)).close_port);
}

TEST(InstrumentReconnect, AFailedOpenWaitsForTheNextTryAcrossTheTickWrap) {
  ReconnectPlan plan;
  const std::uint32_t start = 0xFFFFF000u;
  reconnect_tick(plan, lost_at(start));
  ASSERT_TRUE(reconnect_tick(plan, lost_at(start + 1000)).close_port);
  ReconnectInput failed = lost_at(start + 1300);
  failed.opener = OpenerStatus::kFailed;
  EXPECT_FALSE(reconnect_tick(plan, failed).restart_reader);
  std::vector<std::uint32_t> tries;
  for (std::uint32_t now = start + 1600; now != start + 20000; now += 100) {
    ReconnectInput in = lost_at(now);
    in.tick_ms = 100;
    in.opener = OpenerStatus::kFailed;
    if (reconnect_tick(plan, in).close_port) tries.push_back(now - start);
  }
  EXPECT_EQ(tries, (std::vector<std::uint32_t>{3000, 7000, 12000, 17000}));
}

}  // namespace
}  // namespace quelor
