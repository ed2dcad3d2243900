#pragma once
// Registration of every window class of the program and the message tables
// of their window procedures.

#include <windows.h>

#include <span>

#include "platform/win32/window_dispatch.h"

namespace quelor {

// Registers `Zelko` (its result is not checked), then ScreenLogWnd, DecayWnd,
// BarQWnd, BarIWnd, CurveWnd, NumbersWnd, SpeedWnd, MapWnd, ColorBarWnd
// (stopping at the first failure) and MonitorGPSWnd. Returns 0, or 2 when any
// class after `Zelko` fails.
int register_window_classes(HINSTANCE instance);

// The message table of the main (setup) window, class `Zelko`.
std::span<const Win32MessageRow> main_window_message_table();

// The window procedure of class `Zelko`.
LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);

}  // namespace quelor
