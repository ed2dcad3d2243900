#include "app/gps_monitor_window.h"

#include <string>

#include "app/app_state.h"
#include "app/readers/serial_ports.h"
#include "app/setup_dialog_ids.h"

namespace quelor {

namespace {

constexpr int kButtonWidth = 180;
constexpr int kButtonHeight = 65;
constexpr int kLargeFontWidth = 1024;

// "E&xit" sits right of the middle, 80 pixels above the bottom.
void place_exit_button(HWND window, int width, int height) {
  if (HWND exit = GetDlgItem(window, QUELOR_GPS_MONITOR_EXIT_ID))
    MoveWindow(exit, width / 2 + 94, height - 80, kButtonWidth, kButtonHeight, TRUE);
}

void show_setup_buttons(int show) {
  for (HWND button : g_setup_buttons)
    if (button) ShowWindow(button, show);
}

std::wstring title_line() {
  if (g_settings.gps_enabled != 1) return L"GPS Monitoring - GPS Disabled";
  return L"GPS Monitoring - COM" + std::to_wstring(g_settings.gps_port + 1);
}

}  // namespace

void gps_monitoring_command(HWND) {
  if (!g_monitor_gps_window) return;
  if (g_settings.gps_enabled == 1 && open_gps_port() == 0) return;
  show_setup_buttons(SW_HIDE);
  g_setup_state = kGpsMonitorShown;
  ShowWindow(g_monitor_gps_window, SW_SHOW);
  InvalidateRect(g_monitor_gps_window, nullptr, TRUE);
  SetFocus(g_monitor_gps_window);
}

void leave_gps_monitor(HWND monitor) {
  g_setup_state = kSetupInFront;
  if (g_settings.gps_enabled == 1) close_gps_port();
  ShowWindow(monitor, SW_HIDE);
  show_setup_buttons(SW_SHOW);
  HWND setup = GetParent(monitor);
  if (!setup) return;
  InvalidateRect(setup, nullptr, TRUE);
  SetFocus(setup);
}

LRESULT gps_monitor_create_handler(HWND window, UINT, WPARAM, LPARAM l) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
  HWND exit = CreateWindowExW(
      0, L"BUTTON", L"E&xit", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
      kButtonWidth, kButtonHeight, window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(QUELOR_GPS_MONITOR_EXIT_ID)),
      create->hInstance, nullptr);
  if (!exit) return -1;
  const HFONT font = g_fonts[create->cx > kLargeFontWidth ? kLargeButtonFont : kButtonFont];
  SendMessageW(exit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  place_exit_button(window, create->cx, create->cy);
  return 0;
}

LRESULT gps_monitor_size_handler(HWND window, UINT, WPARAM, LPARAM l) {
  place_exit_button(window, LOWORD(l), HIWORD(l));
  return 0;
}

LRESULT gps_monitor_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, g_fonts[kHeadingFont]);
  const std::wstring title = title_line();
  ExtTextOutW(dc, 10, 10, 0, nullptr, title.c_str(), static_cast<UINT>(title.size()), nullptr);
  SelectObject(dc, old);
  EndPaint(window, &ps);
  return 0;
}

LRESULT gps_monitor_command_handler(HWND window, UINT, WPARAM w, LPARAM) {
  if (LOWORD(w) == QUELOR_GPS_MONITOR_EXIT_ID) {
    leave_gps_monitor(window);
    return 0;
  }
  SetFocus(window);
  return 0;
}

LRESULT gps_monitor_key_handler(HWND window, UINT, WPARAM w, LPARAM) {
  if (w == 'X' || w == VK_ESCAPE) leave_gps_monitor(window);
  return 0;
}

}  // namespace quelor
