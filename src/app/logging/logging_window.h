#pragma once
// The logging window (class ScreenLogWnd): its message table and window
// procedure, and the window procedures of its display children.

#include <windows.h>

#include <span>

#include "platform/win32/window_dispatch.h"

namespace quelor {

// The 21 rows of ScreenLogWnd, in search order.
std::span<const Win32MessageRow> logging_window_message_table();

LRESULT CALLBACK logging_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);

// Display children: CurveWnd, DecayWnd, BarQWnd / BarIWnd, NumbersWnd,
// SpeedWnd, MapWnd, ColorBarWnd.
LRESULT CALLBACK curve_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT CALLBACK decay_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT CALLBACK bar_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT CALLBACK numbers_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT CALLBACK speed_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT CALLBACK map_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT CALLBACK colour_bar_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);

}  // namespace quelor
