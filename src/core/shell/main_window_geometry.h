#pragma once
// Size and position of the main (setup) window from the screen size, and the
// screen flags that the layouts of every window read.

namespace quelor {

struct MainWindowGeometry {
  int width = 0;
  int height = 0;
  int x = 0;
  int y = 0;
  bool portrait = false;
};

// The taskbar allowance taken off the screen height.
inline constexpr int kTaskbarAllowance = 38;

// Width and height fitted to the screen, clamped to the sizes the layouts
// are drawn for, and centred (never off the top-left corner).
MainWindowGeometry main_window_geometry(int screen_width, int screen_height);

// Client area of 1000+ pixels in portrait, or wider than 1024 / taller than
// 900 in landscape.
bool is_large_screen(bool portrait, int client_width, int client_height);

}  // namespace quelor
