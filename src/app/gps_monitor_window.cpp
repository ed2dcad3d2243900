#include "app/gps_monitor_window.h"

#include <array>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/readers/reader_shared.h"
#include "app/readers/serial_ports.h"
#include "gps/monitor_keys.h"
#include "gps/monitor_lines.h"
#include "platform/win32/device_context.h"
#include "platform/win32/dialog_state.h"
#include "platform/win32/unique_handle.h"
#include "settings/value_text.h"
#include "setup/control_ids.h"

namespace quelor {

namespace {

constexpr int kButtonWidth = 180;
constexpr int kButtonHeight = 65;
constexpr int kLargeFontWidth = 1024;
constexpr std::size_t kPendingLimit = 256;  // lines waiting for the next paint
constexpr DWORD kPausedWaitMs = 50;
constexpr const wchar_t* kCommandLabel = L"Enter Command Text";

// Shared by the monitor reader and the window thread.
// Each reader runs while the generation it was started with is current: a
// stop moves the generation on for good, so a reader that ends late never
// comes back.
struct MonitorShared {
  std::atomic<bool> paused{false};
  std::atomic<unsigned> generation{0};
  std::atomic<bool> running{false};
  std::mutex lock;
  std::deque<std::wstring> pending;  // guarded by `lock`
  std::atomic<HWND> window{nullptr};
};

MonitorShared& monitor_shared() {
  static MonitorShared shared;
  return shared;
}

// Window-thread state of the monitor.
struct MonitorView {
  bool pause_shown = true;
  int selected = kMonitorPause;
};

MonitorView& view() {
  static MonitorView v;
  return v;
}

void hand_over(const std::string& line) {
  MonitorShared& m = monitor_shared();
  {
    std::lock_guard<std::mutex> guard(m.lock);
    if (m.pending.size() >= kPendingLimit) m.pending.pop_front();
    m.pending.push_back(widen_text(line));
  }
  if (HWND w = m.window.load()) InvalidateRect(w, nullptr, FALSE);
}

void publish_sentence(const std::string& line) {
  RecordBytes record;
  assign_record(record, reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
  reader_shared().gps_sentence.publish(record);
}

struct MonitorRun {
  HANDLE port;
  unsigned generation;
};

// Reads the port it was started on until its generation ends, the port
// closes or is replaced, or the GPS port is being closed.
DWORD WINAPI monitor_reader(LPVOID run_value) {
  const MonitorRun run = *static_cast<MonitorRun*>(run_value);
  delete static_cast<MonitorRun*>(run_value);
  MonitorShared& m = monitor_shared();
  ReaderShared& shared = reader_shared();
  HANDLE port = run.port;
  const auto current = [&] {
    return m.generation.load() == run.generation && shared.gps_port.load() == port &&
           shared.gps_port_closing.load() == 0;
  };
  MonitorLines lines = monitor_lines_at(GetTickCount());
  while (current()) {
    if (m.paused.load()) {
      Sleep(kPausedWaitMs);
      lines.last_data_tick = GetTickCount();
      continue;
    }
    std::uint8_t byte = 0;
    DWORD got = 0;
    if (ReadFile(port, &byte, 1, &got, nullptr) && got == 1 && current()) {
      if (auto line = monitor_byte(lines, byte, GetTickCount())) {
        publish_sentence(*line);
        hand_over(*line);
      }
    }
    if (auto silence = monitor_silence(lines, GetTickCount())) hand_over(*silence);
  }
  if (m.generation.load() == run.generation) m.running.store(false);
  return 0;
}

// The reader is told to stop; the GPS port's close awaits it (it holds the
// reader as the GPS thread) and keeps the port open, with the "cannot be
// closed" message, when it does not end.
void stop_monitor_reader() {
  MonitorShared& m = monitor_shared();
  m.generation.fetch_add(1);
  m.running.store(false);
}

void start_monitor_reader() {
  stop_monitor_reader();
  MonitorShared& m = monitor_shared();
  HANDLE port = reader_shared().gps_port.load();
  if (!port_handle_valid(port)) return;
  {
    std::lock_guard<std::mutex> guard(m.lock);
    m.pending.clear();
  }
  m.paused.store(false);
  m.running.store(true);
  auto run = std::make_unique<MonitorRun>(MonitorRun{port, m.generation.load()});
  KernelHandle thread(CreateThread(nullptr, 0, monitor_reader, run.get(), 0, nullptr));
  if (!thread) {
    m.running.store(false);
    return;
  }
  run.release();                                                                   // the thread owns it now
  KernelHandle superseded(reader_shared().gps_thread.exchange(thread.release()));  // the slot keeps the handle to await
}

void purge_gps_port(DWORD flags) {
  HANDLE port = reader_shared().gps_port.load();
  if (port_handle_valid(port)) PurgeComm(port, flags);
}

constexpr DWORD kPurgeBoth = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

void show_setup_buttons(int show) {
  for (HWND button : g_setup_buttons)
    if (button) ShowWindow(button, show);
}

HWND control(HWND window, int id) { return GetDlgItem(window, id); }

// The selected button carries the default-button style.
void select_button(HWND window, int selected) {
  view().selected = selected;
  constexpr std::array<int, 4> kIds{kMonitorGoId, kMonitorPauseId, kMonitorSendId, kMonitorExitId};
  for (std::size_t i = 0; i < kIds.size(); ++i)
    if (HWND b = control(window, kIds[i]))
      SendMessageW(b, BM_SETSTYLE, static_cast<int>(i) == selected ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void show_pause_button(HWND window, bool pause) {
  view().pause_shown = pause;
  HWND go = control(window, kMonitorGoId);
  HWND stop = control(window, kMonitorPauseId);
  ShowWindow(go, pause ? SW_HIDE : SW_SHOW);
  EnableWindow(go, pause ? FALSE : TRUE);
  ShowWindow(stop, pause ? SW_SHOW : SW_HIDE);
  EnableWindow(stop, pause ? TRUE : FALSE);
  select_button(window, pause ? kMonitorPause : kMonitorGo);
}

void go_pressed(HWND window) {
  purge_gps_port(kPurgeBoth);
  monitor_shared().paused.store(false);
  show_pause_button(window, true);
}

void pause_pressed(HWND window) {
  monitor_shared().paused.store(true);
  purge_gps_port(kPurgeBoth);
  show_pause_button(window, false);
}

std::wstring window_text(HWND w) {
  std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  GetWindowTextW(w, buffer.data(), static_cast<int>(buffer.size()));
  return buffer.data();
}

// "GetGPSMessage": the command text to accept or edit.
INT_PTR CALLBACK gps_message_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* text = dialog_parameter<std::wstring>(dialog, message, l);
  switch (message) {
    case WM_INITDIALOG: {
      HWND edit = GetDlgItem(dialog, IDC_GPS_MESSAGE_EDIT);
      SendMessageW(edit, EM_LIMITTEXT, kMonitorCommandLimit, 0);
      SetWindowTextW(edit, text->c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        *text = window_text(GetDlgItem(dialog, IDC_GPS_MESSAGE_EDIT));
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

void write_command(const std::string& bytes) {
  MonitorShared& m = monitor_shared();
  const bool was_reading = !m.paused.exchange(true);
  if (was_reading) Sleep(2);
  purge_gps_port(PURGE_TXABORT | PURGE_TXCLEAR);
  Sleep(2);
  purge_gps_port(PURGE_RXABORT | PURGE_RXCLEAR);
  Sleep(2);
  HANDLE port = reader_shared().gps_port.load();
  DWORD written = 0;
  if (port_handle_valid(port)) WriteFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  m.paused.store(false);
}

void send_pressed(HWND window) {
  HWND field = control(window, kMonitorCommandId);
  std::wstring text = window_text(field);
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  if (DialogBoxParamW(instance, L"GetGPSMessage", window, gps_message_procedure, reinterpret_cast<LPARAM>(&text)) !=
      1) {
    SetFocus(window);
    return;
  }
  SetWindowTextW(field, text.c_str());
  write_command(monitor_command_bytes(text));
  show_pause_button(window, true);
  SetFocus(window);
}

void press(HWND window, int button) {
  switch (button) {
    case kMonitorGo: go_pressed(window); break;
    case kMonitorPause: pause_pressed(window); break;
    case kMonitorSend: send_pressed(window); break;
    case kMonitorExit: leave_gps_monitor(window); break;
    default: break;
  }
}

HWND make_child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, HINSTANCE instance,
                DWORD ex_style = 0) {
  return CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void lay_out(HWND window, int width, int height) {
  MoveWindow(control(window, kMonitorListId), 10, 10, width - 30, height - 140, TRUE);
  MoveWindow(control(window, kMonitorCommandId), 190, height - 122, width - 210, 28, TRUE);
  const int y = height - 80;
  MoveWindow(control(window, kMonitorGoId), width / 2 - 274, y, kButtonWidth, kButtonHeight, TRUE);
  MoveWindow(control(window, kMonitorPauseId), width / 2 - 274, y, kButtonWidth, kButtonHeight, TRUE);
  MoveWindow(control(window, kMonitorSendId), width / 2 - 90, y, kButtonWidth, kButtonHeight, TRUE);
  MoveWindow(control(window, kMonitorExitId), width / 2 + 94, y, kButtonWidth, kButtonHeight, TRUE);
}

// Pending lines into the list, which keeps its last 1000 and shows the
// newest at its top.
void take_pending_lines(HWND window) {
  std::deque<std::wstring> lines;
  {
    MonitorShared& m = monitor_shared();
    std::lock_guard<std::mutex> guard(m.lock);
    lines.swap(m.pending);
  }
  if (lines.empty() || g_settings.gps_enabled != 1) return;
  HWND list = control(window, kMonitorListId);
  for (const std::wstring& line : lines) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = monitor_lines_over_limit(count); i > 0; --i) SendMessageW(list, LB_DELETESTRING, 0, 0);
  const int now = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(now > 0 ? now - 1 : 0), 0);
}

// Only while the monitor's own top window is the active, enabled one: a
// modal dialog over it keeps its focus.
void reclaim_focus(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  if (IsWindowVisible(window) && top && IsWindowEnabled(top) && GetActiveWindow() == top) SetFocus(window);
}

}  // namespace

bool gps_monitor_reader_running() { return monitor_shared().running.load(); }

void gps_monitoring_command(HWND) {
  HWND monitor = g_monitor_gps_window;
  if (!monitor) return;
  if (g_settings.gps_enabled == 1) {
    if (open_gps_port() == 0) return;
    start_monitor_reader();
  }
  SendMessageW(control(monitor, kMonitorListId), LB_RESETCONTENT, 0, 0);
  show_pause_button(monitor, true);
  show_setup_buttons(SW_HIDE);
  g_setup_state = kGpsMonitorShown;
  ShowWindow(monitor, SW_SHOW);
  InvalidateRect(monitor, nullptr, TRUE);
  SetFocus(monitor);
}

void leave_gps_monitor(HWND monitor) {
  g_setup_state = kSetupInFront;
  monitor_shared().paused.store(true);
  stop_monitor_reader();
  if (g_settings.gps_enabled == 1) close_gps_port();  // awaits the reader
  ShowWindow(monitor, SW_HIDE);
  show_setup_buttons(SW_SHOW);
  HWND setup = GetParent(monitor);
  if (!setup) return;
  InvalidateRect(setup, nullptr, TRUE);
  SetFocus(setup);
}

LRESULT gps_monitor_create_handler(HWND window, UINT, WPARAM, LPARAM l) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
  HINSTANCE instance = create->hInstance;
  const bool ok =
      make_child(window, L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, kMonitorListId, instance) &&
      make_child(window, L"EDIT", kMonitorDefaultCommand, WS_BORDER | ES_AUTOHSCROLL, kMonitorCommandId, instance) &&
      make_child(window, L"BUTTON", L"&Go", BS_PUSHBUTTON, kMonitorGoId, instance) &&
      make_child(window, L"BUTTON", L"&Pause", BS_PUSHBUTTON, kMonitorPauseId, instance) &&
      make_child(window, L"BUTTON", L"&Send", BS_PUSHBUTTON, kMonitorSendId, instance) &&
      make_child(window, L"BUTTON", L"E&xit", BS_PUSHBUTTON, kMonitorExitId, instance);
  if (!ok) return -1;
  SendMessageW(control(window, kMonitorCommandId), EM_LIMITTEXT, kMonitorCommandLimit, 0);
  const bool large = GetSystemMetrics(SM_CXSCREEN) > kLargeFontWidth || g_screen.large_screen;
  const HFONT font = g_fonts[large ? kLargeButtonFont : kButtonFont];
  for (int id : {kMonitorGoId, kMonitorPauseId, kMonitorSendId, kMonitorExitId})
    SendMessageW(control(window, id), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  monitor_shared().window.store(window);
  show_pause_button(window, true);
  lay_out(window, create->cx, create->cy);
  return 0;
}

LRESULT gps_monitor_size_handler(HWND window, UINT, WPARAM, LPARAM l) {
  lay_out(window, LOWORD(l), HIWORD(l));
  return 0;
}

LRESULT gps_monitor_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  take_pending_lines(window);
  {
    PaintDc dc(window);
    RECT client;
    GetClientRect(window, &client);
    SetBkMode(dc, TRANSPARENT);
    SelectedObject font(dc, g_fonts[kTextFont]);
    ExtTextOutW(dc, 10, client.bottom - 120, 0, nullptr, kCommandLabel, lstrlenW(kCommandLabel), nullptr);
  }
  reclaim_focus(window);
  return 0;
}

LRESULT gps_monitor_command_handler(HWND window, UINT, WPARAM w, LPARAM) {
  switch (LOWORD(w)) {
    case kMonitorGoId: press(window, kMonitorGo); break;
    case kMonitorPauseId: press(window, kMonitorPause); break;
    case kMonitorSendId: press(window, kMonitorSend); break;
    case kMonitorExitId: press(window, kMonitorExit); return 0;
    default: break;
  }
  if (IsWindowVisible(window)) SetFocus(window);
  return 0;
}

LRESULT gps_monitor_key_handler(HWND window, UINT, WPARAM w, LPARAM) {
  if (w == VK_ESCAPE) {
    leave_gps_monitor(window);
    return 0;
  }
  MonitorView& v = view();
  const MonitorKeyDecision d = decode_monitor_key(v.selected, v.pause_shown, static_cast<std::uint32_t>(w));
  if (d.selected != v.selected) select_button(window, d.selected);
  if (d.press != kMonitorNoButton) press(window, d.press);
  return 0;
}

}  // namespace quelor
