#pragma once
// The program's few globals: the variant, the settings record, the screen
// geometry and the setup window's handles. They live for the whole run and
// are touched only on the window thread.

#include <windows.h>

#include <array>

#include "settings/settings.h"
#include "settings/settings_derived.h"
#include "shell/fonts.h"
#include "shell/main_window_geometry.h"
#include "shell/setup_buttons.h"
#include "variant/variant.h"

namespace quelor {

struct ScreenState {
  MainWindowGeometry window;  // main window size and position, `portrait`
  int client_width = 0;
  int client_height = 0;
  bool large_screen = false;
};

// 0 setup window in front, 1 logging window shown, 2 GPS monitor shown.
enum SetupState : int { kSetupInFront = 0, kLoggingShown = 1, kGpsMonitorShown = 2 };

extern Variant g_variant;
extern Settings g_settings;
extern SettingsDerived g_settings_derived;  // recomputed after every load
extern ScreenState g_screen;

extern HWND g_main_window;
extern HWND g_log_window;          // ScreenLogWnd, child id 4
extern HWND g_monitor_gps_window;  // MonitorGPSWnd, child id 780
extern std::array<HWND, kSetupButtonCount> g_setup_buttons;
extern std::array<HFONT, kFontCount> g_fonts;

extern int g_line_height;
extern int g_char_width;
extern bool g_uptime_flag;
extern bool g_gps_assigned;
extern int g_setup_state;
extern int g_focused_button;

}  // namespace quelor
