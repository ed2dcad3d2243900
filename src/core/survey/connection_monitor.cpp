#include "survey/connection_monitor.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "io/clock.h"
#include "serial/records_per_reading.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

struct Timeout {
  InstrumentType instrument_type;
  std::uint32_t ms;
};
constexpr std::array<Timeout, 6> kTimeouts{
    {{kGrad601, 1000}, {kEm38Mk2, 500}, {kEm31Mk2, 200}, {kEm34_3, 200}, {kEm61Mk2, 200}, {kEm61Lx2, 200}}};

// Below this a late tick cannot hide a break of any time-out.
constexpr std::uint32_t kLateTickMs = 250;

// The break: flag, remark once per break while Logging, notice and ring.
void report_break(SurveyRecord& survey, const MonitorInput& in, MonitorActions& a, bool remark_allowed) {
  survey.connection_lost = true;
  a.lost = true;
  if (survey.state == kStateLogging && remark_allowed && !survey.break_remarked) {
    a.remark = connection_break_remark();
    survey.break_remarked = true;
  }
  a.show_lost_notice = true;
  a.ring = in.audio_alarm;
}

// The EM38 and CS-21 have no time-out (their readings may be far apart):
// their break is a port whose reads fail, as a vanished Bluetooth link's do.
MonitorActions port_failure_tick(SurveyRecord& survey, const MonitorInput& in) {
  MonitorActions a;
  if (!in.port_failing) {
    a.restored = survey.connection_lost;
    survey.connection_lost = false;
    survey.break_remarked = false;
    return a;
  }
  report_break(survey, in, a, true);
  return a;
}

}  // namespace

std::optional<std::uint32_t> connection_timeout_ms(InstrumentType instrument_type) {
  for (const Timeout& t : kTimeouts)
    if (t.instrument_type == instrument_type) return t.ms;
  return std::nullopt;
}

std::uint32_t monitored_record_tick(InstrumentType instrument_type, std::uint32_t last_record_tick,
                                    std::uint32_t arrival_tick) {
  return has_trait(instrument_type, Trait::kRecordGroups) ? arrival_tick : last_record_tick;
}

std::uint32_t em38_4_connection_timeout_ms(int rate_index) {
  const double period_ms = 1000.0 / em38_4_rate(rate_index);
  return std::max<std::uint32_t>(1000, static_cast<std::uint32_t>(std::lround(2 * period_ms)));
}

bool monitor_tick_excused(MonitorClock& c, std::uint32_t now) {
  bool late = false;
  if (c.previous != 0) {
    const std::uint32_t gap = elapsed_ms(c.previous, now);
    late = c.usual_gap > 0 && gap > 2 * c.usual_gap && gap >= kLateTickMs;
    const bool catching_up = c.usual_gap > 0 && c.last_gap > c.usual_gap;
    if (gap > 0 && (c.usual_gap == 0 || (gap < c.usual_gap && !catching_up))) c.usual_gap = gap;
    c.last_gap = gap;
  }
  c.previous = now;
  c.excused = late && !c.excused;
  return c.excused;
}

std::string connection_break_remark() { return "1CONN BRK 1"; }

namespace {

// Records come: a break, if any, has ended.
MonitorActions restored(SurveyRecord& survey, MonitorActions a) {
  a.restored = survey.connection_lost;
  survey.connection_lost = false;
  survey.break_remarked = false;
  return a;
}

}  // namespace

MonitorActions monitor_tick(SurveyRecord& survey, const MonitorInput& in) {
  MonitorActions a;
  const InstrumentType type = in.instrument_type;
  if (survey.state == kStateClosed) return a;
  if (has_trait(type, Trait::kPortFailureOnly)) return port_failure_tick(survey, in);
  if (is_em61(type) && survey.survey_mode != kModeAuto) return a;
  // Switched to Manual, the EM38-MK2 is silent between trigger presses.
  if (has_trait(type, Trait::kOwnModeSwitch) && survey.survey_mode == kModeManual) return port_failure_tick(survey, in);
  // A poll stamps the tick: an instrument that answers no poll would never
  // break. So only an answered poll stamps it, and the break test goes on
  // while the polls stay unanswered.
  // An answered poll ends a break: polled at the tick's own rate, the
  // reader is idle with its answer on every tick.
  if (has_trait(type, Trait::kPolledReadings) && in.em61_polled && in.poll_pending) {
    a.send_poll = true;
    if (!in.poll_unanswered) return restored(survey, a);
  }
  const std::uint32_t timeout =
      has_trait(type, Trait::kRecordGroups) ? in.em38_4_timeout_ms : connection_timeout_ms(type).value_or(0);
  if (elapsed_ms(in.last_record_tick, in.now) <= timeout) return restored(survey, a);
  if (in.excused) return a;
  // A port that could not be reopened: the break is reported, not asked about again.
  if (has_trait(type, Trait::kStationReadings) && survey.survey_mode == kModeManual && in.instrument_port_open) {
    a.battery_save_prompt = true;
    return a;
  }
  if (has_trait(type, Trait::kRecordGroups)) {
    a.group_invalid = true;
    if (in.em38_4_procedure) return a;
  }
  report_break(survey, in, a, true);
  return a;
}

OperatorMessage battery_save_question() {
  return {"EM34-3 Battery Save Mode",
          "After the instrument is ON\r\npress YES to connect.\r\npress NO to exit Logging Mode.",
          DialogTemplate::kYesNo};
}

BatterySaveOutcome battery_save_reconnection() {
  BatterySaveOutcome o;
  o.reconnect = true;
  o.wait_before_open_ms = 500;
  o.open_tries = 4;
  o.try_gap_ms = 10;
  o.timer_period_ms = 300;
  return o;
}

BatterySaveOutcome answer_battery_save(SurveyRecord& survey, bool yes, const CommandContext& context) {
  BatterySaveOutcome o;
  if (yes) {
    o = battery_save_reconnection();
    survey.readings_since_last_record = 0;
    survey.write_enable = 0;
    survey.connection_lost = false;
    survey.break_remarked = false;
    return o;
  }
  if (survey.state == kStateLogging || survey.state == kStateStandBy) o.remark = "$CONN END";
  if (survey.state == kStateLogging && survey.file_open) {
    // "$CONN END" is this pause's remark: no "PAUSED" after it.
    o.pause = pause_command(survey, context);
    o.pause->remarks.clear();
    return o;
  }
  survey.state = survey.file_open ? kStateStandBy : kStateMonitoring;
  return o;
}

}  // namespace quelor
