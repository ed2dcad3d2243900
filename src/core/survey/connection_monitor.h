#pragma once
// The connection monitor of the logging window (timer 1): one decision per
// tick from the time since the instrument's last record (the EM38 and CS-21,
// which have no time-out: from whether the reads of their port fail).

#include <cstdint>
#include <optional>
#include <string>

#include "datafile/message_box.h"
#include "survey/logging_commands.h"
#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {

// Connection time-out in milliseconds: Grad601 1000, EM38-MK2 500, EM31-MK2,
// EM34-3 and the EM61 types 200. Nothing for the EM38 and CS-21 (not
// monitored) and the EM38-4 (its own setting).
std::optional<std::uint32_t> connection_timeout_ms(InstrumentType instrument_type);

// "1CONN BRK 1": the remark of a connection break.
std::string connection_break_remark();

// The tick the monitor compares with the time-out: the EM38-4 reader stamps
// only the arrival of each reading group (a record holds all four coil
// pairs); every other reader stamps LastRecordTick.
std::uint32_t monitored_record_tick(InstrumentType instrument_type, std::uint32_t last_record_tick,
                                    std::uint32_t arrival_tick);

// EM38-4 time-out by its output-rate index: 1000 ms, or two record periods
// at the slow rates (0.5 Hz: 4000 ms), so a slow instrument is never a break.
std::uint32_t em38_4_connection_timeout_ms(int rate_index);

// When the window thread is held up (a long paint, a busy machine), the
// readers that send their readings wait on it and stamp nothing: a tick that
// comes more than twice the usual gap after the previous one does not count
// as a break, never two ticks in a row; the next tick decides. The short
// gap after a long one (the timer catching up with its schedule) is not
// taken as the usual gap: it would make every later tick late.
struct MonitorClock {
  std::uint32_t previous = 0;   // 0 before the first tick
  std::uint32_t usual_gap = 0;  // the shortest gap between two ticks so far
  std::uint32_t last_gap = 0;
  bool excused = false;  // the previous tick was excused
};
bool monitor_tick_excused(MonitorClock& clock, std::uint32_t now);

struct MonitorInput {
  InstrumentType instrument_type = kEm31Mk2;
  std::uint32_t now = 0;
  std::uint32_t last_record_tick = 0;  // monitored_record_tick
  std::uint32_t em38_4_timeout_ms = 1000;
  bool audio_alarm = true;           // the disconnection alarm option
  bool em61_polled = false;          // EM61-MK2 polled-reading mode
  bool poll_pending = false;         // EM61-MK2: the polled reader is idle (answered, or gave up)
  bool poll_unanswered = false;      // EM61-MK2: the previous poll got no answer within the poll time-out
  bool em38_4_procedure = false;     // an EM38-4 drift-control step is running
  bool excused = false;              // monitor_tick_excused: no break on this tick
  bool instrument_port_open = true;  // false once a battery-save reconnection failed
  bool port_failing = false;         // the reader's reads of its open port fail
};

struct MonitorActions {
  bool lost = false;                  // the connection is (still) broken
  bool restored = false;              // records came again after a break
  std::optional<std::string> remark;  // "1CONN BRK 1" to the data file (once per break, Logging only)
  bool show_lost_notice = false;      // "Lost", "Connection,", "trying"
  bool ring = false;                  // "SOUND_RING", not stopping a sound still playing
  bool send_poll = false;             // EM61-MK2: send 'A', wake the reader (the tick is stamped
                                      // only when the previous poll was answered)
  bool battery_save_prompt = false;   // EM34-3 Manual: stop timer, close port, ask
  bool group_invalid = false;         // EM38-4: mark the current reading group invalid
};

// One timer tick. Changes the connection-lost and remark flags of the record.
MonitorActions monitor_tick(SurveyRecord& survey, const MonitorInput& input);

// The EM34-3 battery-save question ("EM34-3 Battery Save Mode", yes/no).
OperatorMessage battery_save_question();
inline constexpr const char* kConnectingText = "Connecting... Please wait";

struct BatterySaveOutcome {
  bool reconnect = false;  // Yes: wait 500 ms, open the port (4 tries, 10 ms apart),
                           // restart the reader, restart the 300 ms timer, redraw
  std::uint32_t wait_before_open_ms = 0;
  int open_tries = 0;
  std::uint32_t try_gap_ms = 0;
  std::uint32_t timer_period_ms = 0;
  std::optional<std::string> remark;    // No: "$CONN END" in Logging or Stand By
  std::optional<CommandOutcome> pause;  // No while Logging: the pause, carried out after the remark
};

// The reconnection of Yes, also run by Go after No (the survey resumes).
BatterySaveOutcome battery_save_reconnection();

// The answer to the battery-save question; No leaves Stand By with a file
// open, else Monitoring, and the timer stopped. No while Logging pauses as
// the Pause command does (elapsed time kept, file committed, records-per-
// reading factor back to 1), "$CONN END" being its only remark.
BatterySaveOutcome answer_battery_save(SurveyRecord& survey, bool yes, const CommandContext& context = {});

}  // namespace quelor
