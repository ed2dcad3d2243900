#include "app/setup_window.h"

#include <array>
#include <cmath>
#include <string>

#include "app/app_state.h"
#include "app/gps_monitor_window.h"
#include "app/setup_dialogs.h"
#include "app/setup_sketch.h"
#include "app/setup_summary.h"
#include "app/survey_start.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"
#include "platform/win32/message_dialog.h"
#include "platform/win32/win32_file_system.h"
#include "shell/setup_keys.h"
#include "shell/uptime.h"

#include "settings/settings_file.h"

namespace quelor {

namespace {

constexpr const wchar_t* kCompanyLine = L"Quelor Software Inc.";

using CommandFunction = void (*)(HWND);

void close_setup_window(HWND window) { SendMessageW(window, WM_CLOSE, 0, 0); }

void wait_ms(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) Sleep(0);
}

void reset_to_default(HWND window) {
  if (show_message(kMessageOkCancel, L"Reset to Default Setting",
                   L"Program settings will be reset to default and the program will close", window) != 1)
    return;
  Win32FileSystem fs;
  settings_file_operation(kDeleteSettings, g_settings, g_variant, fs);
  wait_ms(100);
  close_setup_window(window);
}

template <int command>
void dialog_command(HWND window) {
  open_setup_dialog(window, command);
}

// Commands by index (button id - 420).
constexpr std::array<CommandFunction, kSetupButtonCount> kCommands{start_survey_command,
                                                                   dialog_command<kCommandSurveySetup>,
                                                                   dialog_command<kCommandSystemSetup>,
                                                                   dialog_command<kCommandGeometrySetup>,
                                                                   dialog_command<kCommandGpsPortSetup>,
                                                                   gps_monitoring_command,
                                                                   dialog_command<kCommandMapOptions>,
                                                                   dialog_command<kCommandProfilesOptions>,
                                                                   reset_to_default,
                                                                   close_setup_window};

bool visible(HWND window) { return window && IsWindowVisible(window); }

std::wstring widen(std::string_view text) { return std::wstring(text.begin(), text.end()); }

// Left part of the client: beside the buttons in landscape, above them in
// portrait.
RECT text_area() {
  const ButtonLayout layout =
      setup_button_layout(g_screen.window.portrait, g_screen.client_width, g_screen.client_height);
  RECT area{0, 0, g_screen.client_width, g_screen.client_height};
  if (g_screen.window.portrait)
    area.bottom = layout[1].y;
  else
    area.right = layout[0].x;
  return area;
}

void draw_logo(HDC dc, int centre_x, int top) {
  const UniquePen pen(CreatePen(PS_SOLID, 3, RGB(0x1F, 0x5F, 0xA0)));
  SelectedObject selected_pen(dc, pen.get());
  SelectedObject selected_brush(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, centre_x - 60, top, centre_x + 60, top + 40);
  Ellipse(dc, centre_x - 36, top + 8, centre_x + 36, top + 32);
  std::array<POINT, 25> wave;
  for (int i = 0; i < static_cast<int>(wave.size()); ++i)
    wave[i] = {centre_x - 96 + i * 8, top + 20 - static_cast<int>(std::lround(14 * std::sin(i * 0.5)))};
  Polyline(dc, wave.data(), static_cast<int>(wave.size()));
}

// One centred line (drawn only when `draw`); returns the y under it.
int centred_line(HDC dc, const RECT& area, int y, HFONT font, const std::wstring& text, bool draw) {
  SelectedObject selected(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  const int x = area.left + (area.right - area.left - size.cx) / 2;
  if (draw) ExtTextOutW(dc, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  return y + size.cy + 4;
}

constexpr int kLogoHeight = 52;

// Logo, company line, program name and version centred in `area` from its
// top (drawn only when `draw`); returns the y under them.
int title_block(HDC dc, const RECT& area, bool draw) {
  const ProductNames& names = product_names(g_variant);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  if (draw) draw_logo(dc, (area.left + area.right) / 2, area.top + 16);
  int y = area.top + 16 + kLogoHeight;
  y = centred_line(dc, area, y, g_fonts[kHeadingFont], kCompanyLine, draw);
  y = centred_line(dc, area, y, g_fonts[kHugeFont], widen(names.program_name), draw);
  return centred_line(dc, area, y, g_fonts[kTextFont], L"Version " + widen(names.version), draw);
}

constexpr int kMargin = 20;

// The title block across the free area, the summary down its left under it
// and the geometry sketch beside the summary. When the summary would not fit
// under the title (the smallest screens), it starts at the top and the title
// block moves above the sketch.
void paint_setup_screen(HDC dc) {
  const RECT area = text_area();
  const SIZE summary = measure_settings_summary(dc);
  const int title_bottom = title_block(dc, area, false) + 10;
  const bool compact = title_bottom + summary.cy > area.bottom - 8;
  const int summary_top = compact ? area.top + 10 : title_bottom;
  const RECT used =
      paint_settings_summary(dc, RECT{area.left + kMargin, summary_top, area.right - kMargin, area.bottom - 8});
  RECT side{used.right + kMargin, title_bottom, area.right - 8, area.bottom - 8};
  if (compact)
    side.top = title_block(dc, RECT{side.left, area.top, side.right, area.bottom}, true) + 10;
  else
    title_block(dc, area, true);
  paint_geometry_sketch(dc, side);
}

// While the logging window or the GPS monitor covers the client, the setup
// screen underneath is not drawn.
bool covered() { return visible(g_log_window) || visible(g_monitor_gps_window); }

// Shown once, after painting ends, so that the modal loop does not paint
// (and ask) again underneath.
void uptime_stop(HWND window) {
  g_uptime_flag = false;
  const std::wstring title(kUptimeStopTitle), text(kUptimeStopText);
  show_message(kMessageOk, title.c_str(), text.c_str(), window);
  wait_ms(100);
  SendMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace

void move_focused_button(int index) {
  if (index == g_focused_button || index < 0 || index >= kSetupButtonCount) return;
  if (HWND old = g_setup_buttons[g_focused_button]) SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  if (HWND now = g_setup_buttons[index]) SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  g_focused_button = index;
}

LRESULT setup_command_handler(HWND window, UINT, WPARAM w, LPARAM) {
  if (visible(g_log_window)) {
    SetFocus(g_log_window);
    return 0;
  }
  if (visible(g_monitor_gps_window)) {
    SetFocus(g_monitor_gps_window);
    return 0;
  }
  SetFocus(window);
  const SetupCommandDecision d = decode_setup_command(g_focused_button, g_setup_state == kSetupInFront, w);
  move_focused_button(d.focused_button);
  if (d.command == kNoCommand) return 0;
  if (CommandFunction command = kCommands[d.command]) command(window);
  return 0;
}

LRESULT setup_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  {
    PaintDc dc(window);
    if (!covered()) paint_setup_screen(dc);
  }
  if (g_uptime_flag) uptime_stop(window);
  return 0;
}

}  // namespace quelor
