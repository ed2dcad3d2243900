#include "app/main_window.h"

#include <string>

#include "app/app_state.h"
#include "app/background/background_actions.h"
#include "app/logging/logging_commands_win.h"
#include "platform/win32/device_context.h"
#include "platform/win32/win32_file_system.h"
#include "shell/uptime.h"

#include "settings/instrument_defaults.h"
#include "settings/settings_derived.h"
#include "settings/settings_file.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr const wchar_t* kProgramDataFolder = L"C:\\ProgramData\\Quelor";
constexpr const wchar_t* kWorkFolder = L"C:\\ProgramData\\Quelor\\Temp\\";
constexpr int kLogWindowId = 4;
constexpr int kMonitorGpsWindowId = 780;

std::wstring widen(std::string_view text) { return std::wstring(text.begin(), text.end()); }

void read_client_size(HWND window) {
  RECT rc;
  GetClientRect(window, &rc);
  g_screen.client_width = rc.right - rc.left;
  g_screen.client_height = rc.bottom - rc.top;
}

// The parent is created first: on a fresh machine neither folder exists.
void create_work_folder(FileSystem& fs) {
  fs.create_directory(kProgramDataFolder);
  fs.create_directory(kWorkFolder);
}

// The coordinate settings and the colour scale are derived from the loaded
// record by the GPS and map code when they set up their windows.
void load_settings(FileSystem& fs) {
  settings_file_operation(kLoadSettings, g_settings, g_variant, fs);
  g_settings_derived = derive_settings(g_settings, g_variant);
  if (has_trait(g_variant.instrument_type, Trait::kNoGeometryUnits)) g_settings.geometry_units = 0;
}

void create_fonts() {
  const auto table = font_table(g_screen.large_screen);
  const std::wstring face(kFontFace);
  for (int i = 0; i < kFontCount; ++i)
    g_fonts[i] =
        CreateFontW(table[i].height, 0, 0, 0, table[i].weight, table[i].italic, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face.c_str());
}

void measure_text(HWND window) {
  TEXTMETRICW tm{};
  {
    WindowDc dc(window);
    SelectedObject font(dc, g_screen.large_screen ? g_fonts[kTextFont] : nullptr);
    GetTextMetricsW(dc, &tm);
  }
  g_line_height =
      text_line_height(tm.tmHeight, g_variant.instrument_type, g_screen.window.portrait, g_screen.client_width);
  g_char_width = tm.tmAveCharWidth;
}

HFONT setup_button_hfont() {
  switch (setup_button_font(g_screen.window.portrait, g_screen.client_width, g_screen.client_height)) {
    case ButtonFontChoice::kPortraitLargeButton: return g_fonts[kPortraitLargeButtonFont];
    case ButtonFontChoice::kLargeButton: return g_fonts[kLargeButtonFont];
    default: return g_fonts[kButtonFont];
  }
}

void create_setup_buttons(HWND window) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const ButtonLayout column = initial_button_column(g_screen.client_width, g_screen.client_height);
  const HFONT font = setup_button_hfont();
  for (int i = 0; i < kSetupButtonCount; ++i) {
    const std::wstring text(setup_button_text(i, g_variant.instrument_type));
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    g_setup_buttons[i] =
        CreateWindowExW(0, L"BUTTON", text.c_str(), style, column[i].x, column[i].y, column[i].width, column[i].height,
                        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(setup_button_id(i))), instance, nullptr);
    SendMessageW(g_setup_buttons[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  g_focused_button = 0;
}

HWND create_hidden_child(HWND parent, const wchar_t* class_name, const wchar_t* title, int id) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  return CreateWindowExW(0, class_name, title, WS_CHILD, 0, 0, g_screen.client_width, g_screen.client_height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

HWND create_main_window(HINSTANCE instance, int show_command) {
  if (!is_valid_variant(g_variant)) return nullptr;
  g_screen.window = main_window_geometry(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const std::wstring title = widen(product_names(g_variant).program_name);
  const MainWindowGeometry& g = g_screen.window;
  HWND window = CreateWindowExW(0, L"Zelko", title.c_str(), WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, g.x,
                                g.y, g.width, g.height, nullptr, nullptr, instance, nullptr);
  if (!window || !IsWindow(window)) return nullptr;
  ShowWindow(window, show_command);
  UpdateWindow(window);
  // Keys reach the setup window's command handler from the start.
  SetFocus(window);
  return window;
}

LRESULT main_create_handler(HWND window, UINT, WPARAM, LPARAM) {
  g_main_window = window;
  read_client_size(window);
  g_screen.large_screen = is_large_screen(g_screen.window.portrait, g_screen.client_width, g_screen.client_height);
  Win32FileSystem fs;
  create_work_folder(fs);
  apply_instrument_defaults(g_settings, g_variant.instrument_type);
  g_uptime_flag = uptime_exceeded(GetTickCount());
  if (g_variant.navigation_mode == kNavigation) g_settings.colour_map_view = 0;
  load_settings(fs);
  create_fonts();
  measure_text(window);
  create_setup_buttons(window);
  g_log_window = create_hidden_child(window, L"ScreenLogWnd", L"Log", kLogWindowId);
  g_monitor_gps_window = create_hidden_child(window, L"MonitorGPSWnd", L"Monitor GPS", kMonitorGpsWindowId);
  // Without them no survey could run: the main window goes, and with it the
  // message loop (WM_DESTROY posts the quit).
  if (!g_log_window || !g_monitor_gps_window) {
    DestroyWindow(window);
    return 0;
  }
  g_gps_assigned = g_settings.gps_port != 0;
  lay_out_setup_buttons();
  return 0;
}

void lay_out_setup_buttons() {
  const ButtonLayout layout =
      setup_button_layout(g_screen.window.portrait, g_screen.client_width, g_screen.client_height);
  for (int i = 0; i < kSetupButtonCount; ++i)
    if (g_setup_buttons[i])
      MoveWindow(g_setup_buttons[i], layout[i].x, layout[i].y, layout[i].width, layout[i].height, TRUE);
}

LRESULT main_size_handler(HWND window, UINT, WPARAM, LPARAM) {
  read_client_size(window);
  return 0;
}

LRESULT main_destroy_handler(HWND, UINT, WPARAM, LPARAM) {
  end_running_survey();       // a running survey ends without asking
  forget_background_files();  // the temporary point files go with the program
  PostQuitMessage(0);
  return 0;
}

}  // namespace quelor
