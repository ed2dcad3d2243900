#include "port_fixture.h"

#include "app/readers/serial_ports.h"
#include "serial/reading_messages.h"

namespace quelor::test {

WindowLog& window_log() {
  static WindowLog log;
  return log;
}

namespace {

LRESULT CALLBACK test_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message >= 0x40A && message <= 0x419) {
    WindowLog& log = window_log();
    ++log.count[message];
    if (message == WM_GPS_POSITION || message == WM_GPS_GSA)
      log.gps.emplace_back(gps_sentence().text());
    else if (message == WM_TILT_READING)
      log.records.emplace_back(tilt_sentence().text());
    else if (auto r = take_instrument_record())
      log.records.emplace_back(r->record.text());
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

}  // namespace

HWND test_window() {
  static HWND window = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = test_window_procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SerialTestWnd";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"SerialTestWnd", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  }();
  return window;
}

bool pump_until(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeout_ms) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

FarEnd::FarEnd(int com_number) {
  DWORD error = 0;
  handle_ = open_com_handle(com_number - 1, error);
  if (ok()) configure_com_port(handle_.get(), instrument_line_settings(kEm31Mk2, 0), false);
}

FarEnd::~FarEnd() = default;

void FarEnd::write(const std::string& bytes) {
  DWORD written = 0;
  WriteFile(handle_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string FarEnd::read_for(DWORD ms) {
  std::string out;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    char c = 0;
    DWORD got = 0;
    if (ReadFile(handle_.get(), &c, 1, &got, nullptr) && got == 1) out.push_back(c);
  }
  return out;
}

std::vector<PortMessage>& caught_messages() {
  static std::vector<PortMessage> messages;
  return messages;
}

void catch_messages() {
  caught_messages().clear();
  set_port_message_sink([](const PortMessage& m) { caught_messages().push_back(m); });
}

void reset_reader_shared() {
  ReaderShared& s = reader_shared();
  close_port_slot(s.instrument_port);
  close_port_slot(s.tilt_port);
  close_gps_port();
  s.connection_lost.store(false);
  s.display_cleared.store(false);
  s.polled_idle.store(true);
  s.poll_answered.store(true);
  s.discarded_readings.store(0);
  s.instrument_hold.requested.store(false);
  s.second_mode_hold.requested.store(false);
  s.survey.records_per_reading.store(1);
  s.survey.logging.store(false);
  s.survey.sound_on.store(false);
  s.survey.survey_mode.store(0);
  s.survey.marker.store(false);
  s.survey.status_port.store(0);
  s.hooks.repaint_status_area.store(nullptr);
  s.hooks.write_tilt_comment.store(nullptr);
  s.hooks.write_gps_sentence.store(nullptr);
  s.hooks.blank_tilt_fields.store(nullptr);
  set_reading_window(test_window());
  window_log() = WindowLog{};
}

}  // namespace quelor::test
