#pragma once
// The GPS monitor window (class MonitorGPSWnd), shown over the setup window
// by "GPS M&onitoring". For now it holds a title line and "E&xit"; X or
// Escape leave it too.

#include <windows.h>

namespace quelor {

// Command 5 of the setup window: with the GPS enabled opens the GPS port
// (a failure is reported by the opener and ends here); hides the ten
// buttons, sets the setup state to 2, shows the monitor and gives it the
// focus.
void gps_monitoring_command(HWND setup_window);

// Back to the setup window: setup state 0, GPS port closed, monitor hidden,
// buttons shown, setup window repainted and focused.
void leave_gps_monitor(HWND monitor);

// Message handlers of MonitorGPSWnd.
LRESULT gps_monitor_create_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT gps_monitor_size_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT gps_monitor_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT gps_monitor_command_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT gps_monitor_key_handler(HWND window, UINT message, WPARAM w, LPARAM l);

}  // namespace quelor
