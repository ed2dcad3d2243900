#include "app/logging/instrument_reconnect_win.h"

#include <atomic>
#include <memory>

#include "app/app_state.h"
#include "app/logging/logging_session.h"
#include "app/logging/survey_ports.h"
#include "app/procedures/procedure_actions.h"
#include "app/readers/reader_shared.h"
#include "app/readers/serial_ports.h"
#include "platform/win32/serial_line_setup.h"
#include "platform/win32/serial_port_win32.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_clock.h"
#include "serial/em38_length.h"
#include "serial/instrument_command.h"
#include "serial/line_settings.h"
#include "survey/connection_monitor.h"
#include "survey/instrument_reconnect.h"

namespace quelor {

namespace {

constexpr std::uint32_t kDefaultTickMs = 300;

// One try's opener, shared by the window thread and the opener thread. The
// opened handle is handed over through `handle`: whoever takes it out (the
// window thread to install it, or either side after a cancel) owns it.
struct OpenerJob {
  int port_index = 0;
  LineSettings settings;
  ReconnectCheck check = ReconnectCheck::kNone;
  std::atomic<OpenerStatus> status{OpenerStatus::kRunning};
  std::atomic<HANDLE> handle{INVALID_HANDLE_VALUE};
  std::atomic<int> record_length{0};  // EM38: the length found by the check
  std::atomic<bool> cancelled{false};
};

void close_taken(std::atomic<HANDLE>& slot) {
  HANDLE h = slot.exchange(INVALID_HANDLE_VALUE);
  if (port_handle_valid(h)) CloseHandle(h);
}

bool start_check(OpenerJob& job, HANDLE h) {
  PortHandleSlot slot{h};
  Win32SerialPort port(slot);
  Win32Clock clock;
  switch (job.check) {
    case ReconnectCheck::kNone: return true;
    case ReconnectCheck::kEm61Handshake: {
      int answer = 0;
      return send_instrument_command(port, clock, 'H', 'X', 0, {}, answer) == 1;
    }
    case ReconnectCheck::kEm38Length: {
      const std::optional<int> length = detect_em38_record_length(port, clock);
      if (length) job.record_length.store(*length);
      return length.has_value();
    }
  }
  return false;
}

// Open with the line settings (no message: a missing port is the normal
// case while the link is down), then the check.
bool run_opener(OpenerJob& job) {
  if (job.cancelled.load()) return false;
  DWORD error = 0;
  FileHandle h = open_com_handle(job.port_index, error);
  if (!h) return false;
  configure_com_port(h.get(), job.settings, false);
  if (job.cancelled.load() || !start_check(job, h.get())) return false;
  job.handle.store(h.release());
  // A cancel that came meanwhile finds the handle, or this finds the cancel.
  if (job.cancelled.load()) close_taken(job.handle);
  return true;
}

DWORD WINAPI opener_thread(LPVOID parameter) {
  std::unique_ptr<std::shared_ptr<OpenerJob>> owner(static_cast<std::shared_ptr<OpenerJob>*>(parameter));
  OpenerJob& job = **owner;
  job.status.store(run_opener(job) ? OpenerStatus::kOpened : OpenerStatus::kFailed);
  return 0;
}

struct ReconnectState {
  ReconnectPlan plan;
  std::shared_ptr<OpenerJob> job;
  KernelHandle old_reader;  // the reader of the closed port, until it has ended
};

ReconnectState& reconnect_state() {
  static ReconnectState state;
  return state;
}

void cancel_job(ReconnectState& r) {
  if (!r.job) return;
  r.job->cancelled.store(true);
  close_taken(r.job->handle);
  r.job.reset();
}

bool old_reader_ended(ReconnectState& r) {
  if (!r.old_reader) return true;
  if (WaitForSingleObject(r.old_reader.get(), 0) != WAIT_OBJECT_0) return false;
  r.old_reader.reset();
  return true;
}

// The reader ends within one read time-out once its port slot is invalid
// (a polled reader is woken to see it), and the port is closed only then. One
// whose read of a vanished port never returns (Wine on a hung-up pty) is left
// behind, superseded by the generation, and the plan goes on without it
// after a grace time.
void close_for_try(ReconnectState& r) {
  ReaderShared& shared = reader_shared();
  shared.instrument_generation.fetch_add(1);
  close_instrument_port();
  if (HANDLE reader = shared.instrument_thread.exchange(nullptr)) r.old_reader.reset(reader);
}

void start_job(ReconnectState& r) {
  cancel_job(r);
  const InstrumentType type = g_variant.instrument_type;
  auto job = std::make_shared<OpenerJob>();
  job->port_index = g_settings.instrument_port;
  job->settings = instrument_line_settings(type, instrument_baud_index(type));
  job->check = reconnect_rule(type, logging_session().survey.survey_mode).check;
  r.job = job;
  auto* owner = new std::shared_ptr<OpenerJob>(job);
  // The thread ends by itself and the job carries what it did: its handle
  // is closed at once.
  const KernelHandle thread(CreateThread(nullptr, 0, opener_thread, owner, 0, nullptr));
  if (!thread) {
    delete owner;
    job->status.store(OpenerStatus::kFailed);
  }
}

void install(ReconnectState& r) {
  r.old_reader.reset();  // superseded: it delivers nothing more
  if (!r.job) return;
  HANDLE h = r.job->handle.exchange(INVALID_HANDLE_VALUE);
  const int record_length = r.job->record_length.load();
  r.job.reset();
  if (!port_handle_valid(h)) return;
  HANDLE stale = reader_shared().instrument_port.exchange(h);
  if (port_handle_valid(stale)) CloseHandle(stale);
  if (!restart_survey_reader(record_length)) close_port_slot(reader_shared().instrument_port);
}

void carry_out(ReconnectState& r, const ReconnectStep& step, std::uint32_t now) {
  if (step.cancel_opener) cancel_job(r);
  if (step.close_port) close_for_try(r);
  if (step.start_opener) start_job(r);
  if (step.restart_reader) install(r);
  if (step.remark) write_survey_remark(*step.remark, now);
}

std::uint32_t tick_period_ms(const LoggingSession& s) {
  if (s.monitor_clock.usual_gap > 0) return s.monitor_clock.usual_gap;
  return s.plan.timer_period_ms.value_or(kDefaultTickMs);
}

}  // namespace

void reconnect_instrument_tick(const MonitorActions& monitor, std::uint32_t now) {
  LoggingSession& s = logging_session();
  ReconnectState& r = reconnect_state();
  ReconnectInput in;
  in.now = now;
  in.tick_ms = tick_period_ms(s);
  in.enabled = s.instrument_used && reconnect_rule(g_variant.instrument_type, s.survey.survey_mode).reconnects;
  in.lost = monitor.lost;
  in.restored = monitor.restored;
  in.break_remark = monitor.remark.has_value();
  in.held = procedure_running();
  in.file_open = s.sink.is_open();
  in.opener = r.job ? r.job->status.load() : OpenerStatus::kIdle;
  in.old_reader_ended = old_reader_ended(r);
  carry_out(r, reconnect_tick(r.plan, in), now);
  reader_shared().instrument_reconnecting.store(reconnect_active(r.plan));
}

void stop_instrument_reconnect() {
  ReconnectState& r = reconnect_state();
  stop_reconnect(r.plan);
  cancel_job(r);
  r.old_reader.reset();
  reader_shared().instrument_reconnecting.store(false);
}

}  // namespace quelor
