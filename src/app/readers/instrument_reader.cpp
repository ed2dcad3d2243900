#include "app/readers/instrument_reader.h"

#include <algorithm>
#include <array>
#include <memory>

#include "app/readers/reader_shared.h"
#include "app/sound/sound_player.h"
#include "app/readers/serial_ports.h"
#include "platform/win32/unique_handle.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr DWORD kWakeSleepMs = 1000;
constexpr int kManualMode = 2;
constexpr DWORD kBrokenReadPauseMs = 10;

enum ReaderRow : int { kRowT, kRowEm38Mk2, kRowEm38_4, kRowLx2, kRowMk2, kRowPolled, kRowSecond, kRowLine };

struct TraitsRow {
  ReaderRow row;
  ReaderTraits traits;
};

//                         last   arrival repaint wake   reject polled modem
constexpr std::array<TraitsRow, 8> kTraits{{
    {kRowT, {true, true, false, false, false, false, false}},
    {kRowEm38Mk2, {true, true, false, false, false, false, false}},
    {kRowEm38_4, {false, true, false, false, false, false, true}},
    {kRowLx2, {true, true, true, true, true, false, false}},
    {kRowMk2, {true, true, false, true, true, false, false}},
    {kRowPolled, {false, true, false, true, true, true, false}},
    {kRowSecond, {true, true, false, false, true, false, false}},
    {kRowLine, {true, false, true, false, false, false, false}},
}};

ReaderRow row_of(InstrumentType type, const ReaderOptions& o) {
  switch (type) {
    case kEm38Mk2: return kRowEm38Mk2;
    case kEm38_4: return kRowEm38_4;
    case kEm61Lx2: return kRowLx2;
    case kEm61Mk2: return o.second_mode ? kRowSecond : o.polled ? kRowPolled : kRowMk2;
    case kGrad601:
    case kCs21: return kRowLine;
    default: return kRowT;
  }
}

void deliver(const ReadingMessage& message) {
  HWND window = reader_shared().log_window.load();
  if (window == nullptr) return;
  if (message.delivery == Delivery::kSend)
    SendMessageW(window, message.id, 0, 0);
  else
    PostMessageW(window, message.id, 0, 0);
}

void call_hook(void (*hook)()) {
  if (hook != nullptr) hook();
}

struct InstrumentLoop {
  InstrumentReaderSetup setup;
  ReaderTraits traits;
  InstrumentFramer framer;
  InstrumentFramer fresh;  // the framer as it started: what a purge leaves
  bool line_active = false;
  std::uint32_t generation = 0;
  bool port_failing = false;  // as last told to the window thread
};

ReaderHold& hold_of(bool second_mode) {
  ReaderShared& shared = reader_shared();
  return second_mode ? shared.second_mode_hold : shared.instrument_hold;
}

// The second-mode EM61-MK2 reader waits suspended across reconnections and
// reads whatever port is in place when it is resumed.
bool superseded(const InstrumentLoop& loop) {
  return !loop.setup.options.second_mode && loop.generation != reader_shared().instrument_generation.load();
}

void note_port_failing(InstrumentLoop& loop, bool failing) {
  if (loop.port_failing == failing) return;
  loop.port_failing = failing;
  if (!superseded(loop)) reader_shared().instrument_port_failing.store(failing);
}

void went_idle(const InstrumentLoop& loop, bool answered) {
  if (!loop.traits.polled) return;
  ReaderShared& shared = reader_shared();
  if (answered) shared.poll_answered.store(true);
  shared.polled_idle.store(true);
  if (HANDLE event = shared.poll_event.load()) ResetEvent(event);
}

constexpr DWORD kHoldSliceMs = 20;

// The polled reader waits for the monitor's request ("A" sent, event set),
// at most the poll time-out, in short slices so that a hold is seen at
// once. A request left unanswered for longer than the poll time-out is
// given up: the reader goes idle and the next tick polls again.
void wait_for_poll(const InstrumentLoop& loop) {
  ReaderShared& shared = reader_shared();
  HANDLE event = shared.poll_event.load();
  if (event == nullptr) return;
  const DWORD timeout = shared.survey.polling_timeout_ms.load();
  if (!shared.polled_idle.load()) {
    if (GetTickCount() - shared.poll_tick.load() > timeout) went_idle(loop, false);
    return;
  }
  const DWORD start = GetTickCount();
  while (!hold_of(false).requested.load()) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeout) return;
    if (WaitForSingleObject(event, std::min(kHoldSliceMs, timeout - spent)) == WAIT_OBJECT_0) return;
  }
}

// The steps before each read burst: the EM61 wake-up, the polled wait, the
// EM38-4 modem status.
void before_burst(InstrumentLoop& loop, HANDLE port) {
  ReaderShared& shared = reader_shared();
  if (loop.traits.wakes_on_connection_lost && shared.connection_lost.load()) {
    // No poll goes out while the instrument is woken: an 'A' between 'H'
    // and 'X' is taken for the command, and its answer read as the reply.
    if (loop.traits.polled) shared.polled_idle.store(false);
    instrument_command('H', 'X', 0);
    Sleep(kWakeSleepMs);
    shared.connection_lost.store(false);
  }
  if (loop.traits.polled) wait_for_poll(loop);
  if (loop.traits.reads_modem_status && shared.survey.status_port.load() == loop.setup.port_number &&
      loop.setup.port_number > 0) {
    DWORD status = 0;
    // A port that cannot report its lines (pseudo-terminals) counts as none active.
    loop.line_active = GetCommModemStatus(port, &status) && status != 0;
  }
}

void on_record(InstrumentLoop& loop, const FrameStep& step) {
  ReaderShared& shared = reader_shared();
  if (superseded(loop)) return;
  const DWORD now = GetTickCount();
  if (loop.traits.stamps_arrival) shared.arrival_tick.store(now);
  shared.framed_records.fetch_add(1);
  if (loop.traits.stamps_last_record) shared.last_record_tick.store(now);
  // The instrument answers: the break is over for the reader, which would
  // otherwise wake it again (a second's sleep, polls unanswered, another
  // break) until the window thread's next look.
  if (loop.traits.wakes_on_connection_lost) shared.connection_lost.store(false);
  if (loop.traits.repaints_after_blank && shared.display_cleared.exchange(false))
    call_hook(shared.hooks.repaint_status_area.load());
  if (step.play_tick) play_sound(Sound::kResult);
  // Idle before the record is posted: the window thread may poll again as
  // soon as it has the reading, and a poll asked of a busy reader is skipped.
  went_idle(loop, true);
  // A full queue drops the reading (counted, reported by the window thread):
  // the reader never waits.
  InstrumentRecordQueue& queue =
      loop.setup.options.second_mode ? shared.second_mode_records : shared.instrument_records;
  if (step.deliver && queue.push(framed_record(loop.framer), now)) deliver(framer_message(loop.framer));
}

void on_rejected(const InstrumentLoop& loop) {
  if (loop.traits.rejected_clears_lost) reader_shared().connection_lost.store(false);
  went_idle(loop, true);
}

// Whether a held reader goes on waiting: the second-mode reader waits across
// reconnections (it reads whatever port is in place when let go); the other
// one ends with its port.
bool stays_held(const InstrumentLoop& loop, const ReaderHold& hold) {
  if (!hold.requested.load()) return false;
  if (loop.setup.options.second_mode) return true;
  return port_handle_valid(reader_shared().instrument_port.load()) && !superseded(loop);
}

// In Manual mode only a record with the trigger mark could have become a
// reading; in Auto and Wheel every record is one.
bool counts_as_reading(InstrumentType instrument_type, const RecordBytes& record) {
  return reader_shared().survey.survey_mode.load() != kManualMode || record_triggered(instrument_type, record);
}

// What the port received while the reader was held: read, framed and
// counted, never delivered; a partial record left at the end goes too.
void discard_waiting(InstrumentLoop& loop, Win32SerialPort& port) {
  COMSTAT status{};
  DWORD errors = 0;
  const HANDLE h = reader_shared().instrument_port.load();
  DWORD waiting = port_handle_valid(h) && ClearCommError(h, &errors, &status) ? status.cbInQue : 0;
  std::uint32_t readings = 0;
  for (; waiting > 0; --waiting) {
    std::uint8_t byte = 0;
    if (port.read(&byte, 1) != 1) break;
    const FrameStep step = frame_byte(loop.framer, byte, reader_frame_context());
    if (step.event == FrameEvent::kRecord && step.deliver &&
        counts_as_reading(loop.setup.instrument_type, framed_record(loop.framer)))
      ++readings;
  }
  loop.framer = loop.fresh;
  port.purge();
  if (!superseded(loop)) reader_shared().discarded_readings.fetch_add(readings);
}

// Between two reads: a hold asked for by the window thread is acknowledged
// and waited out on the release event.
void honour_hold(InstrumentLoop& loop, Win32SerialPort& port) {
  ReaderHold& hold = hold_of(loop.setup.options.second_mode);
  if (!hold.requested.load()) return;
  hold.held.store(true);
  while (stays_held(loop, hold)) {
    if (HANDLE release = hold.release.load())
      WaitForSingleObject(release, kHoldSliceMs);
    else
      Sleep(kHoldSliceMs);
  }
  hold.held.store(false);
  if (hold.discard.exchange(false)) discard_waiting(loop, port);
}

void read_burst(InstrumentLoop& loop, Win32SerialPort& port) {
  for (;;) {
    honour_hold(loop, port);
    std::uint8_t byte = 0;
    const int got = port.read(&byte, 1);
    // A port closed on purpose is no failure; an open one that fails its
    // reads, or times them out and answers no status query, is.
    if (got == 1)
      note_port_failing(loop, false);
    else if (port.is_open())
      note_port_failing(loop, got < 0 || !port.answers());
    if (got != 1 || superseded(loop)) {
      if (got < 0 && port.is_open()) Sleep(kBrokenReadPauseMs);  // no busy spin on a failing port
      return;
    }
    FrameContext ctx = reader_frame_context();
    ctx.line_active = loop.line_active;
    const FrameStep step = frame_byte(loop.framer, byte, ctx);
    if (step.event == FrameEvent::kRecord)
      on_record(loop, step);
    else if (step.event == FrameEvent::kRejected)
      on_rejected(loop);
  }
}

DWORD WINAPI instrument_reader_thread(LPVOID parameter) {
  std::unique_ptr<InstrumentLoop> loop(static_cast<InstrumentLoop*>(parameter));
  ReaderShared& shared = reader_shared();
  shared.instrument_reader_state.store(kReaderRunning);
  shared.instrument_port_failing.store(false);  // the port has just been opened
  if (loop->setup.instrument_type != kEm38) shared.record_length.store(12);
  Win32SerialPort& port = instrument_serial();
  // A reader started held (the second-mode one) touches the port only once let go.
  honour_hold(*loop, port);
  port.purge();
  for (;;) {
    HANDLE h = shared.instrument_port.load();
    if (!port_handle_valid(h) || superseded(*loop)) break;
    SetCommMask(h, EV_RXCHAR);
    honour_hold(*loop, port);
    before_burst(*loop, h);
    read_burst(*loop, port);
  }
  shared.instrument_reader_state.store(kReaderFinished);
  return 0;
}

struct TiltLoop {
  TiltFramer framer;
  DWORD last_valid = 0;
  bool blanked = false;
};

void check_tilt_silence(TiltLoop& loop) {
  if (loop.blanked || GetTickCount() - loop.last_valid <= kTiltBlankMs) return;
  loop.blanked = true;
  call_hook(reader_shared().hooks.blank_tilt_fields.load());
}

void on_tilt_line(TiltLoop& loop, const FrameStep& step) {
  ReaderShared& shared = reader_shared();
  shared.tilt_sentence.publish(loop.framer.record);
  if (step.event == FrameEvent::kRecord) {
    loop.last_valid = GetTickCount();
    loop.blanked = false;
    shared.tilt_tick.store(loop.last_valid);
    if (HWND window = shared.log_window.load()) SendMessageW(window, WM_TILT_READING, 0, 0);
    return;
  }
  auto write = shared.hooks.write_tilt_comment.load();
  if (write != nullptr && shared.survey.logging.load()) write(loop.framer.record.text());
}

DWORD WINAPI tilt_reader_thread(LPVOID) {
  ReaderShared& shared = reader_shared();
  shared.tilt_reader_state.store(kReaderRunning);
  TiltLoop loop;
  loop.last_valid = GetTickCount();
  Win32SerialPort& port = tilt_serial();
  for (;;) {
    HANDLE h = shared.tilt_port.load();
    if (!port_handle_valid(h)) break;
    SetCommMask(h, EV_RXCHAR);
    for (;;) {
      check_tilt_silence(loop);
      std::uint8_t byte = 0;
      const int got = port.read(&byte, 1);
      if (got != 1) {
        if (got < 0 && port.is_open()) Sleep(kBrokenReadPauseMs);
        break;
      }
      const FrameStep step = frame_tilt_byte(loop.framer, byte);
      if (step.event != FrameEvent::kNone) on_tilt_line(loop, step);
    }
  }
  shared.tilt_reader_state.store(kReaderFinished);
  return 0;
}

}  // namespace

ReaderTraits reader_traits(InstrumentType instrument_type, const ReaderOptions& options) {
  const ReaderRow row = row_of(instrument_type, options);
  for (const TraitsRow& r : kTraits)
    if (r.row == row) return r.traits;
  return {};
}

HANDLE start_instrument_reader(const InstrumentReaderSetup& setup, bool suspended) {
  std::optional<InstrumentFramer> framer = make_instrument_framer(setup.instrument_type, setup.options);
  if (!framer) return nullptr;
  ReaderShared& shared = reader_shared();
  auto loop =
      std::make_unique<InstrumentLoop>(InstrumentLoop{setup, reader_traits(setup.instrument_type, setup.options),
                                                      *framer, *framer, false, shared.instrument_generation.load()});
  if (loop->traits.polled && shared.poll_event.load() == nullptr)
    shared.poll_event.store(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (loop->traits.polled) {  // no request outstanding from an earlier reader
    shared.polled_idle.store(true);
    shared.poll_answered.store(true);
    ResetEvent(shared.poll_event.load());
  }
  ReaderHold& hold = hold_of(setup.options.second_mode);
  if (hold.release.load() == nullptr) hold.release.store(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  hold.held.store(false);
  hold.discard.store(false);
  if (suspended) {
    ResetEvent(hold.release.load());
    hold.requested.store(true);
  }
  KernelHandle thread(CreateThread(nullptr, 0, instrument_reader_thread, loop.get(), 0, nullptr));
  if (!thread) return nullptr;
  loop.release();  // the thread owns it now
  auto& slot = setup.options.second_mode ? shared.second_mode_thread : shared.instrument_thread;
  const HANDLE started = thread.get();
  KernelHandle superseded(slot.exchange(thread.release()));  // the slot keeps the handle to await
  return started;
}

HANDLE start_tilt_reader() {
  KernelHandle thread(CreateThread(nullptr, 0, tilt_reader_thread, nullptr, 0, nullptr));
  if (!thread) return nullptr;
  const HANDLE started = thread.get();
  KernelHandle superseded(
      reader_shared().tilt_thread.exchange(thread.release()));  // the slot keeps the handle to await
  return started;
}

bool wait_for_record(std::uint32_t records_before, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (reader_shared().framed_records.load() == records_before) {
    if (GetTickCount() - start >= timeout_ms) return false;
    // Lets a reader that sends its message to this thread go on.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return true;
}

namespace {

constexpr DWORD kHoldAckWaitMs = 1500;  // longer than the EM61 wake-up sleep

bool thread_ended(HANDLE thread) { return thread == nullptr || WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }

// Waits, letting a reader's sent message through, until `done` or the
// reader has ended or lost its port; false after kHoldAckWaitMs.
template <typename Done>
bool wait_for_reader(HANDLE thread, Done done) {
  const DWORD start = GetTickCount();
  while (!done() && !thread_ended(thread) && port_handle_valid(reader_shared().instrument_port.load())) {
    if (GetTickCount() - start >= kHoldAckWaitMs) return false;
    // A reader inside its SendMessageW to this thread gets its answer.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return true;
}

}  // namespace

bool hold_reader(ReaderRole role) {
  ReaderShared& shared = reader_shared();
  const bool second = role == ReaderRole::kSecondMode;
  ReaderHold& hold = hold_of(second);
  HANDLE thread = (second ? shared.second_mode_thread : shared.instrument_thread).load();
  // A hold just released is first seen to end: its acknowledgement is not this one's.
  if (!hold.requested.load()) wait_for_reader(thread, [&] { return !hold.held.load(); });
  if (HANDLE release = hold.release.load()) ResetEvent(release);
  hold.requested.store(true);
  return wait_for_reader(thread, [&] { return hold.held.load(); });
}

void release_reader(ReaderRole role, bool discard_waiting) {
  ReaderHold& hold = hold_of(role == ReaderRole::kSecondMode);
  hold.discard.store(discard_waiting);
  hold.requested.store(false);
  if (HANDLE release = hold.release.load()) SetEvent(release);
}

void end_held_readers() {
  release_reader(ReaderRole::kTimed, false);
  release_reader(ReaderRole::kSecondMode, false);
}

int request_polled_reading() {
  ReaderShared& shared = reader_shared();
  HANDLE port = shared.instrument_port.load();
  HANDLE event = shared.poll_event.load();
  if (!port_handle_valid(port) || event == nullptr || !shared.polled_idle.load()) return 0;
  const DWORD now = GetTickCount();
  TransmitCommChar(port, 'A');
  // Only an answered poll restarts the connection wait: an instrument that
  // answers none must break.
  if (shared.poll_answered.exchange(false)) shared.last_record_tick.store(now);
  shared.poll_tick.store(now);
  shared.polled_idle.store(false);
  SetEvent(event);
  return 1;
}

}  // namespace quelor
