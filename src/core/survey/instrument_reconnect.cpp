#include "survey/instrument_reconnect.h"

#include <algorithm>

#include "io/clock.h"
#include "survey/survey_state.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

struct CheckRow {
  InstrumentType instrument_type;
  ReconnectCheck check;
};
constexpr std::array<CheckRow, 3> kChecks{{
    {kEm61Mk2, ReconnectCheck::kEm61Handshake},
    {kEm61Lx2, ReconnectCheck::kEm61Handshake},
    {kEm38, ReconnectCheck::kEm38Length},
}};

bool due(std::uint32_t at, std::uint32_t now) { return static_cast<std::int32_t>(now - at) >= 0; }

// The later of two ticks (wrap-safe).
std::uint32_t later(std::uint32_t a, std::uint32_t b) { return due(a, b) ? b : a; }

void back_to_waiting(ReconnectPlan& p, const ReconnectInput& in, std::uint32_t earliest) {
  p.phase = ReconnectPhase::kWaiting;
  p.next_try = later(p.try_tick + reconnect_delay_ms(p.tries, in.tick_ms), earliest);
}

ReconnectStep connected(ReconnectPlan& p, const ReconnectInput& in) {
  if (!in.lost) return {};
  p = ReconnectPlan{};
  p.phase = ReconnectPhase::kWaiting;
  p.break_tick = in.now;
  p.next_try = in.now + reconnect_delay_ms(0, in.tick_ms);
  p.remarked = in.break_remark;
  return {};
}

ReconnectStep waiting(ReconnectPlan& p, const ReconnectInput& in) {
  ReconnectStep step;
  if (in.restored) {
    if (p.remarked && in.file_open) step.remark = reconnected_remark();
    p = ReconnectPlan{};
    return step;
  }
  // A late tick (the monitor excused it) neither breaks nor restores: wait.
  if (!in.lost || in.held || !due(p.next_try, in.now)) return step;
  p.phase = ReconnectPhase::kTrying;
  p.try_tick = in.now;
  ++p.tries;
  step.close_port = true;
  step.start_opener = true;
  return step;
}

// The records of the old reader that come in while it ends do not end the
// break: the try goes on.
ReconnectStep trying(ReconnectPlan& p, const ReconnectInput& in) {
  ReconnectStep step;
  if (in.held) return step;
  const std::uint32_t spent = elapsed_ms(p.try_tick, in.now);
  if (in.opener == OpenerStatus::kFailed || in.opener == OpenerStatus::kIdle ||
      (in.opener == OpenerStatus::kRunning && spent >= kReconnectOpenerLimitMs)) {
    step.cancel_opener = in.opener == OpenerStatus::kRunning;
    back_to_waiting(p, in, in.now + in.tick_ms);
    return step;
  }
  const bool reader_gone = in.old_reader_ended || spent >= kReconnectReaderGraceMs;
  if (in.opener == OpenerStatus::kOpened && reader_gone) {
    step.restart_reader = true;
    back_to_waiting(p, in, in.now + std::max(kReconnectFirstRecordMs, in.tick_ms));
  }
  return step;
}

}  // namespace

ReconnectRule reconnect_rule(InstrumentType instrument_type, int survey_mode) {
  ReconnectRule rule;
  rule.reconnects = !(has_trait(instrument_type, Trait::kStationReadings) && survey_mode == kModeManual);
  for (const CheckRow& row : kChecks)
    if (row.instrument_type == instrument_type) rule.check = row.check;
  return rule;
}

std::string reconnected_remark() { return "1CONN RCN 1"; }

std::uint32_t reconnect_delay_ms(int tries_made, std::uint32_t tick_ms) {
  const std::size_t i =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(tries_made, 0)), kReconnectBackoffMs.size() - 1);
  return std::max(kReconnectBackoffMs[i], tick_ms);
}

ReconnectStep reconnect_tick(ReconnectPlan& plan, const ReconnectInput& in) {
  if (!in.enabled) return stop_reconnect(plan);
  plan.remarked = plan.remarked || in.break_remark;
  switch (plan.phase) {
    case ReconnectPhase::kConnected: return connected(plan, in);
    case ReconnectPhase::kWaiting: return waiting(plan, in);
    case ReconnectPhase::kTrying: return trying(plan, in);
  }
  return {};
}

ReconnectStep stop_reconnect(ReconnectPlan& plan) {
  ReconnectStep step;
  step.cancel_opener = plan.phase == ReconnectPhase::kTrying;
  plan = ReconnectPlan{};
  return step;
}

bool reconnect_active(const ReconnectPlan& plan) { return plan.phase != ReconnectPhase::kConnected; }

}  // namespace quelor
