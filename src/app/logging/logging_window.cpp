#include "app/logging/logging_window.h"

#include <iterator>

#include "app/logging/display_windows.h"
#include "app/logging/logging_commands_win.h"
#include "app/logging/instrument_handlers_win.h"
#include "app/logging/logging_handlers.h"
#include "app/logging/logging_layout.h"
#include "app/logging/status_panel.h"
#include "serial/reading_messages.h"

namespace quelor {

namespace {

constexpr UINT kDeadChar = 0x103;  // WM_DEADCHAR

LRESULT logging_create_handler(HWND window, UINT, WPARAM, LPARAM) { return create_logging_children(window) ? 0 : -1; }

LRESULT logging_size_handler(HWND, UINT, WPARAM, LPARAM) { return 0; }

constexpr Win32MessageRow kLoggingTable[] = {
    {WM_CREATE, logging_create_handler},
    {WM_SIZE, logging_size_handler},
    {WM_COMMAND, logging_command_handler},
    {kDeadChar, logging_command_handler},
    {WM_KEYDOWN, logging_command_handler},
    {WM_KEYUP, logging_keyup_handler},
    {WM_PAINT, status_paint_handler},
    {WM_TIMER, connection_timer_handler},
    {WM_GPS_POSITION, gps_position_handler},
    {WM_GPS_GSA, gsa_handler},
    {WM_EM61_READING, instrument_reading_handler},
    {WM_EM31_READING, t_reading_handler},
    {WM_EM38_READING, t_reading_handler},
    {WM_EM34_READING, t_reading_handler},
    {WM_EM38MK2_READING, instrument_reading_handler},
    {WM_LX2_READING, instrument_reading_handler},
    {WM_LX2_DUAL_READING, instrument_reading_handler},
    {WM_GRAD_READING, instrument_reading_handler},
    {WM_EM38_4_READING, instrument_reading_handler},
    {WM_TILT_READING, tilt_reading_handler},
    {WM_CS21_READING, instrument_reading_handler},
    {WM_END_SURVEY, end_survey_handler},
    {WM_READER_NOTICE, reader_notice_handler},
};

constexpr Win32MessageRow kCurveTable[] = {{WM_PAINT, curve_paint_handler}};
constexpr Win32MessageRow kDecayTable[] = {{WM_PAINT, decay_paint_handler}};
constexpr Win32MessageRow kBarTable[] = {{WM_PAINT, bar_paint_handler}};
constexpr Win32MessageRow kNumbersTable[] = {{WM_PAINT, numbers_paint_handler}};
constexpr Win32MessageRow kSpeedTable[] = {{WM_PAINT, speed_paint_handler}};
constexpr Win32MessageRow kMapTable[] = {{WM_PAINT, map_window_paint_handler}};
constexpr Win32MessageRow kColourBarTable[] = {{WM_PAINT, colour_bar_window_paint_handler}};

}  // namespace

std::span<const Win32MessageRow> logging_window_message_table() { return kLoggingTable; }

LRESULT CALLBACK logging_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(kLoggingTable, window, message, w, l);
}

LRESULT CALLBACK curve_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(kCurveTable, window, message, w, l);
}
LRESULT CALLBACK decay_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(kDecayTable, window, message, w, l);
}
LRESULT CALLBACK bar_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(kBarTable, window, message, w, l);
}
LRESULT CALLBACK numbers_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(kNumbersTable, window, message, w, l);
}
LRESULT CALLBACK speed_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(kSpeedTable, window, message, w, l);
}
LRESULT CALLBACK map_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(kMapTable, window, message, w, l);
}
LRESULT CALLBACK colour_bar_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  return dispatch_or_default(kColourBarTable, window, message, w, l);
}

}  // namespace quelor
