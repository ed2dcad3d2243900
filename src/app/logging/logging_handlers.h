#pragma once
// The logging window's handlers of readings, GPS fixes and timer 1.

#include <windows.h>

#include "serial/record_queue.h"

namespace quelor {

// Hands every waiting instrument reading to `handle`, oldest first.
void drain_instrument_records(HWND window, void (*handle)(HWND, const QueuedRecord&));

// WM_EM31_READING, WM_EM38_READING, WM_EM34_READING: the "T" record readers.
LRESULT t_reading_handler(HWND window, UINT message, WPARAM w, LPARAM l);
// Posted by the GPS-fix handler when the survey's positions reached their
// maximum: the survey ends after the GPS reader's message has returned.
inline constexpr UINT WM_END_SURVEY = WM_APP + 0x31;
LRESULT end_survey_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// WM_GPS_POSITION.
LRESULT gps_position_handler(HWND window, UINT message, WPARAM w, LPARAM l);
// WM_TIMER: the connection monitor.
// EM34-3 battery save: the port reopened, the reader and the monitor restarted
// (Yes, and Go after No).
void reconnect_after_battery_save(HWND window);

LRESULT connection_timer_handler(HWND window, UINT message, WPARAM w, LPARAM l);

}  // namespace quelor
