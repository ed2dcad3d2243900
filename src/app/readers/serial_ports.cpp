#include "app/readers/serial_ports.h"

#include <atomic>
#include <string>

#include "app/app_state.h"
#include "app/readers/gps_reader_thread.h"
#include "app/readers/reader_shared.h"
#include "platform/win32/message_dialog.h"
#include "platform/win32/serial_line_setup.h"
#include "platform/win32/win32_clock.h"
#include "serial/instrument_command.h"

namespace quelor {

namespace {

constexpr DWORD kGpsFirstWaitMs = 5000;
constexpr DWORD kGpsSecondWaitMs = 2000;

std::atomic<PortMessageSink> g_message_sink{nullptr};

std::wstring widen(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  for (unsigned char c : text) out.push_back(static_cast<wchar_t>(c));
  return out;
}

std::wstring joined_text(const PortMessage& message) {
  std::wstring text;
  for (std::size_t i = 0; i < message.lines.size(); ++i) {
    if (i > 0) text += L"\r\n";
    text += widen(message.lines[i]);
  }
  return text;
}

// Hands a freshly opened handle over to the slot; a handle still in the slot
// is closed first so that none leaks.
void install_handle(PortHandleSlot& slot, FileHandle h) {
  HANDLE old = slot.exchange(h.release());
  if (port_handle_valid(old)) CloseHandle(old);
}

bool on_thread(HANDLE thread) { return thread != nullptr && GetThreadId(thread) == GetCurrentThreadId(); }

}  // namespace

Win32SerialPort& instrument_serial() {
  static Win32SerialPort port(reader_shared().instrument_port);
  return port;
}
Win32SerialPort& gps_serial() {
  static Win32SerialPort port(reader_shared().gps_port);
  return port;
}
Win32SerialPort& tilt_serial() {
  static Win32SerialPort port(reader_shared().tilt_port);
  return port;
}

void set_port_message_sink(PortMessageSink sink) { g_message_sink.store(sink); }

void show_operator_message(const PortMessage& message) {
  if (PortMessageSink sink = g_message_sink.load()) {
    sink(message);
    return;
  }
  const std::wstring title = widen(message.title);
  const std::wstring text = joined_text(message);
  show_message(kMessageOk, title.c_str(), text.c_str(), g_main_window);
}

void show_port_error(DWORD error_code, int port_index, PortDevice device) {
  show_operator_message(port_error_message(error_code, port_index, device));
}

int open_gps_port_at(int port_index, const LineSettings& settings) {
  DWORD error = 0;
  FileHandle h = open_com_handle(port_index, error);
  if (!h) {
    show_port_error(error, port_index, PortDevice::kGnss);
    return 0;
  }
  error = configure_com_port(h.get(), settings, true);
  if (error != 0) {
    h.reset();
    show_port_error(error, port_index, PortDevice::kGnss);
    return 0;
  }
  // Not supported on every driver (pseudo-terminals refuse): ignored.
  EscapeCommFunction(h.get(), CLRRTS);
  EscapeCommFunction(h.get(), SETDTR);
  DWORD errors = 0;
  ClearCommError(h.get(), &errors, nullptr);
  PurgeComm(h.get(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
  install_handle(reader_shared().gps_port, std::move(h));
  return 1;
}

int open_instrument_port_at(int port_index, const LineSettings& settings, bool report_errors) {
  DWORD error = 0;
  FileHandle h = open_com_handle(port_index, error);
  if (!h) {
    if (report_errors) show_port_error(error, port_index, PortDevice::kInstrument);
    return 0;
  }
  configure_com_port(h.get(), settings, false);  // used with whatever settings it then has
  install_handle(reader_shared().instrument_port, std::move(h));
  return 1;
}

int open_tilt_port_at(int port_index, const LineSettings& settings) {
  DWORD error = 0;
  FileHandle h = open_com_handle(port_index, error);
  if (!h) {
    show_operator_message(tilt_open_error_message(port_index));
    return 0;
  }
  configure_com_port(h.get(), settings, false);
  install_handle(reader_shared().tilt_port, std::move(h));
  return 1;
}

int open_gps_port() { return open_gps_port_at(g_settings.gps_port, gps_line_settings(g_settings)); }

int open_instrument_port(bool report_errors) {
  const InstrumentType type = g_variant.instrument_type;
  return open_instrument_port_at(g_settings.instrument_port,
                                 instrument_line_settings(type, instrument_baud_index(type)), report_errors);
}

int open_tilt_port() {
  return open_tilt_port_at(g_settings.tilt_meter_port, tilt_line_settings(g_settings.tilt_meter_settings[0]));
}

bool wait_thread_end(HANDLE thread, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    const DWORD left = spent >= timeout_ms ? 0 : timeout_ms - spent;
    const DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) return false;  // time-out or failure
    MSG msg;                                   // lets a SendMessageW from the reader through
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

int close_gps_port() {
  ReaderShared& shared = reader_shared();
  HANDLE port = shared.gps_port.load();
  if (!port_handle_valid(port)) return 1;
  shared.gps_port_closing.exchange(1);
  CancelIoEx(port, nullptr);
  HANDLE thread = shared.gps_thread.load();
  if (thread != nullptr && !on_thread(thread)) {
    gps_reader_control().run.store(0);
    ResumeThread(thread);  // a reader created suspended and never resumed ends at once
    CancelSynchronousIo(thread);
    if (!wait_thread_end(thread, kGpsFirstWaitMs) && !wait_thread_end(thread, kGpsSecondWaitMs)) {
      show_operator_message(gps_close_error_message());
      return 0;
    }
    if (shared.gps_thread.compare_exchange_strong(thread, nullptr)) CloseHandle(thread);
  }
  HANDLE h = shared.gps_port.exchange(INVALID_HANDLE_VALUE);
  if (port_handle_valid(h)) {
    PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    CloseHandle(h);
  }
  shared.gps_port_closing.exchange(0);
  return 1;
}

// A reader is told to stop by its emptied slot and awaited before the handle
// is closed: a read still in progress on a closed handle meets the same
// handle value given to the next object the process creates (a thread, the
// reopened port), which under Wine left that thread never starting.
void close_instrument_port() {
  ReaderShared& shared = reader_shared();
  HANDLE h = shared.instrument_port.exchange(INVALID_HANDLE_VALUE);
  if (!port_handle_valid(h)) return;
  if (HANDLE event = shared.poll_event.load()) SetEvent(event);
  const DWORD start = GetTickCount();
  const auto await = [&](HANDLE thread) {
    const DWORD spent = GetTickCount() - start;
    if (thread != nullptr && !on_thread(thread) && spent < kReaderEndWaitMs)
      wait_thread_end(thread, kReaderEndWaitMs - spent);
  };
  await(shared.instrument_thread.load());
  // A held second-mode reader is not reading: it waits for its release.
  if (!shared.second_mode_hold.held.load()) await(shared.second_mode_thread.load());
  PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
  CloseHandle(h);
}

void close_tilt_port() {
  ReaderShared& shared = reader_shared();
  HANDLE h = shared.tilt_port.exchange(INVALID_HANDLE_VALUE);
  if (!port_handle_valid(h)) return;
  HANDLE thread = shared.tilt_thread.load();
  if (thread != nullptr && !on_thread(thread)) {
    CancelIoEx(h, nullptr);
    wait_thread_end(thread, kReaderEndWaitMs);
  }
  CloseHandle(h);
}

int instrument_command(std::uint8_t first, std::uint8_t second, int reopen_flag) {
  Win32Clock clock;
  ReopenInstrumentPort reopen;
  reopen.close = [] { close_instrument_port(); };
  reopen.open = []() -> SerialPort* { return open_instrument_port(true) ? &instrument_serial() : nullptr; };
  int answer = reader_shared().instrument_answer.load();
  const int ok = send_instrument_command(instrument_serial(), clock, first, second, reopen_flag, reopen, answer);
  if (ok) reader_shared().instrument_answer.store(answer);
  return ok;
}

int tilt_output_rate(int rate_index) { return set_tilt_output_rate(tilt_serial(), rate_index); }

}  // namespace quelor
