#pragma once
// Handlers of the child display windows' message tables.

#include <windows.h>

namespace quelor {

// WM_CREATE of windows that need no set-up.
LRESULT create_returns_zero(HWND window, UINT message, WPARAM w, LPARAM l);

// WM_PAINT of MapWnd: the map is drawn outside WM_PAINT, so painting only
// validates the window.
LRESULT map_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// WM_PAINT of the profile, bar, numbers and speed windows. Until the profile
// painter lands it validates the window, leaving the white background.
LRESULT profile_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// WM_PAINT of ColorBarWnd; validates the window until the colour bar lands.
LRESULT colour_bar_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);

}  // namespace quelor
