#include "app/app_state.h"

#include "app/variant_constants.h"

namespace quelor {

Variant g_variant = program_variant();
Settings g_settings;
SettingsDerived g_settings_derived;
ScreenState g_screen;

HWND g_main_window = nullptr;
HWND g_log_window = nullptr;
HWND g_monitor_gps_window = nullptr;
std::array<HWND, kSetupButtonCount> g_setup_buttons{};
std::array<HFONT, kFontCount> g_fonts{};

int g_line_height = 16;
int g_char_width = 7;
bool g_uptime_flag = false;
bool g_gps_assigned = false;
int g_setup_state = kSetupInFront;
int g_focused_button = 0;

}  // namespace quelor
