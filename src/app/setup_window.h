#pragma once
// The setup window's commands (buttons and keys) and its painting.

#include <windows.h>

namespace quelor {

// WM_COMMAND, WM_DEADCHAR and WM_KEYDOWN of the setup window; returns 0.
LRESULT setup_command_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// WM_PAINT of the setup window: logo, company line, program name, version.
LRESULT setup_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// Gives the default-button style to button `index` (0..9) and takes it from
// the one that had it.
void move_focused_button(int index);

}  // namespace quelor
