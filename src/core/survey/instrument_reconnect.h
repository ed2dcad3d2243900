#pragma once
// Reconnection of the instrument after a connection break (a Bluetooth link
// that drops in the field): a plan run on the connection monitor's ticks.
// While the monitor reports the break, the plan tries the port again with a
// back-off of 1 s, 2 s, 4 s, then every 5 s. A try closes the port (the
// reader ends), opens it again with its line settings and runs the
// instrument's own start check off the window thread, then, once the old
// reader has ended, puts the port in place and restarts the reader as the
// start of the survey did. The break keeps its "1CONN BRK 1" remark; the
// return of the readings after a remarked break is "1CONN RCN 1". Exit,
// the EM34-3 battery-save question (Manual mode) and a running procedure
// stop or hold it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "variant/variant.h"

namespace quelor {

// What a try runs on the reopened port before the reader restarts.
enum class ReconnectCheck : std::uint8_t {
  kNone,           // the restarted reader's first record is the check
  kEm61Handshake,  // "H","X" must be answered
  kEm38Length,     // the EM38 record length (7 or 12) must be found
};

struct ReconnectRule {
  bool reconnects = false;
  ReconnectCheck check = ReconnectCheck::kNone;
};

// By instrument and survey mode: every instrument reconnects after a break
// but the EM34-3 in Manual mode, which asks the operator (battery save). The
// EM38 and CS-21 break only on a failing port (they have no time-out).
ReconnectRule reconnect_rule(InstrumentType instrument_type, int survey_mode);

// "1CONN RCN 1": the readings came back after a remarked break.
std::string reconnected_remark();

// Waits between the break and the first try and between tries.
inline constexpr std::array<std::uint32_t, 4> kReconnectBackoffMs{1000, 2000, 4000, 5000};
// A restarted reader has this long for its first record before the next
// try may close it again (the first-record wait of the survey start).
inline constexpr std::uint32_t kReconnectFirstRecordMs = 1000;

// The old reader has this long to end after its port closed. One whose read
// of the vanished port does not return is left behind (it can no longer
// deliver: the platform marks it superseded) and the try goes on.
inline constexpr std::uint32_t kReconnectReaderGraceMs = 2000;

// An opener still at work after this long (a port whose open does not
// return: a Bluetooth link paging an absent device, or Wine now and then on
// a vanished port) is cancelled: what it opens later is closed, and the next
// try is planned. Long enough for a Bluetooth link to connect.
inline constexpr std::uint32_t kReconnectOpenerLimitMs = 8000;

// The wait before the next try after `tries_made` tries, never shorter than
// the monitor's tick.
std::uint32_t reconnect_delay_ms(int tries_made, std::uint32_t tick_ms);

enum class ReconnectPhase : std::uint8_t {
  kConnected,  // readings arrive
  kWaiting,    // a break: the next try is due at `next_try`
  kTrying,     // the port is closed; the opener runs and the old reader ends
};

// What the opener (the thread that opens the port and runs the check) has done.
enum class OpenerStatus : std::uint8_t { kIdle, kRunning, kOpened, kFailed };

struct ReconnectPlan {
  ReconnectPhase phase = ReconnectPhase::kConnected;
  std::uint32_t break_tick = 0;  // the tick the break was first reported
  std::uint32_t try_tick = 0;    // the start of the latest try
  std::uint32_t next_try = 0;
  int tries = 0;          // tries in this break
  bool remarked = false;  // the break's remark is in the data file
};

struct ReconnectInput {
  std::uint32_t now = 0;
  std::uint32_t tick_ms = 300;  // the monitor's period
  bool enabled = true;          // reconnect_rule().reconnects
  bool lost = false;            // the monitor: the connection is broken on this tick
  bool restored = false;        // the monitor: records came again after a break
  bool break_remark = false;    // the monitor wrote "1CONN BRK 1" on this tick
  bool held = false;            // a procedure runs: no try starts or ends
  bool file_open = false;       // a remark can be written
  OpenerStatus opener = OpenerStatus::kIdle;
  bool old_reader_ended = true;
};

struct ReconnectStep {
  bool close_port = false;            // purge and close the instrument port: its reader ends
  bool start_opener = false;          // open the port again with its line settings, run the check
  bool restart_reader = false;        // put the opened port in place, start the reader
                                      // (an old reader still running is let go)
  bool cancel_opener = false;         // close whatever the opener opened or will open
  std::optional<std::string> remark;  // "1CONN RCN 1"
};

// One monitor tick.
ReconnectStep reconnect_tick(ReconnectPlan& plan, const ReconnectInput& in);

// Exit or the end of the survey: the plan stops; a try in progress is
// cancelled by the caller.
ReconnectStep stop_reconnect(ReconnectPlan& plan);

// A break is being handled (the GPS goes on logging meanwhile).
bool reconnect_active(const ReconnectPlan& plan);

}  // namespace quelor
