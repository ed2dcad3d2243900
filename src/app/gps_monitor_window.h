#pragma once
// The GPS monitor window (class MonitorGPSWnd), shown over the setup window
// by "GPS M&onitoring": the receiver's sentences in a list (the last 1000),
// the command field and the buttons "&Go" / "&Pause", "&Send" and "E&xit".
// Its reader thread hands each line over as a copy under a lock; the paint
// handler moves them into the list.

#include <windows.h>

namespace quelor {

// Control ids of the monitor window.
inline constexpr int kMonitorListId = 760;
inline constexpr int kMonitorCommandId = 770;
inline constexpr int kMonitorGoId = 750;
inline constexpr int kMonitorPauseId = 751;
inline constexpr int kMonitorSendId = 752;
inline constexpr int kMonitorExitId = 753;

// Command 5 of the setup window: with the GPS enabled opens the GPS port
// (a failure is reported by the opener and ends here) and starts the
// monitor reader; hides the ten buttons, sets the setup state to 2, shows
// the monitor reading ("&Pause" shown) and gives it the focus.
void gps_monitoring_command(HWND setup_window);

// Back to the setup window: setup state 0, the monitor reader stopped and
// the GPS port closed, monitor hidden, buttons shown, setup window repainted
// and focused.
void leave_gps_monitor(HWND monitor);

// Whether the monitor reader is running (for tests and the port close).
bool gps_monitor_reader_running();

// Message handlers of MonitorGPSWnd.
LRESULT gps_monitor_create_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT gps_monitor_size_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT gps_monitor_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT gps_monitor_command_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT gps_monitor_key_handler(HWND window, UINT message, WPARAM w, LPARAM l);

}  // namespace quelor
