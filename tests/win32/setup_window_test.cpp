#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/gps_monitor_window.h"
#include "app/readers/serial_ports.h"
#include "app/setup_dialog_ids.h"
#include "app/setup_summary.h"
#include "settings/instrument_defaults.h"
#include "setup_test_support.h"
#include "shell/main_window_geometry.h"
#include "shell/setup_buttons.h"

namespace quelor {
namespace {

constexpr InstrumentType kTypes[] = {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2};

// Screens of every button layout: wide landscape (two columns), narrow
// landscape (one column) and portrait rows, at their largest and smallest.
struct Screen {
  int width, height;
};
constexpr Screen kScreens[] = {{1920, 1080}, {1024, 768}, {800, 600}, {1080, 1920}, {640, 1024}};

// The client a main window of that screen has (the frame of this system
// taken off).
void use_screen(HWND main, const Screen& s) {
  g_screen.window = main_window_geometry(s.width, s.height);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRect(&frame, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE);
  g_screen.client_width = g_screen.window.width - (frame.right - frame.left);
  g_screen.client_height = g_screen.window.height - (frame.bottom - frame.top);
  SetWindowPos(main, nullptr, 0, 0, g_screen.window.width, g_screen.window.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The free area of the setup screen: beside the buttons in landscape, above
// them in portrait.
RECT free_area() {
  const ButtonLayout layout =
      setup_button_layout(g_screen.window.portrait, g_screen.client_width, g_screen.client_height);
  RECT area{0, 0, g_screen.client_width, g_screen.client_height};
  if (g_screen.window.portrait)
    area.bottom = layout[1].y;
  else
    area.right = layout[0].x;
  return area;
}

int count_colour(HWND window, COLORREF colour) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  int found = 0;
  for (int y = 0; y < client.bottom; y += 2)
    for (int x = 0; x < client.right; x += 2)
      if (GetPixel(dc, x, y) == colour) ++found;
  ReleaseDC(window, dc);
  return found;
}

using SetupPaint = test::SetupWindowFixture;

// Every instrument in every layout: the summary stays inside the free area
// (under the title block, or from the top on the smallest screens) and leaves
// room for the sketch; measuring it gives the size it is drawn at.
TEST_F(SetupPaint, SummaryFitsTheFreeAreaOfEveryLayout) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 1300, 1300);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (const Screen& s : kScreens)
    for (InstrumentType type : kTypes)
      for (int nav : {0, 1}) {
        use_screen(main_, s);
        g_variant = {type, nav};
        g_settings = initial_settings(g_variant);
        const RECT area = free_area();
        const RECT inner{area.left + 20, area.top + 10, area.right - 20, area.bottom - 8};
        const RECT used = paint_settings_summary(dc, inner);
        const SIZE measured = measure_settings_summary(dc);
        EXPECT_EQ(measured.cx, used.right - used.left) << type;
        EXPECT_EQ(measured.cy, used.bottom - used.top) << type;
        EXPECT_LE(used.bottom, inner.bottom) << s.width << "x" << s.height << " type " << type;
        EXPECT_LE(used.right + 200, inner.right) << s.width << "x" << s.height << " type " << type;
        EXPECT_GT(used.bottom - used.top, 10 * g_line_height) << type;
      }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

// A survey line far longer than the 15 characters of the settings (a
// damaged file) is cut: the block keeps its width and leaves the sketch room.
TEST_F(SetupPaint, LongSurveyLineIsCut) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 1300, 1300);
  HGDIOBJ old = SelectObject(dc, bitmap);
  use_screen(main_, kScreens[2]);
  const RECT area = free_area();
  const RECT inner{area.left + 20, area.top + 10, area.right - 20, area.bottom - 8};
  const LONG normal = paint_settings_summary(dc, inner).right;
  g_settings.survey_line = std::string(300, 'W');
  const RECT used = paint_settings_summary(dc, inner);
  EXPECT_GT(used.right, normal);
  EXPECT_LE(used.right + 200, inner.right);
  EXPECT_EQ(measure_settings_summary(dc).cx, used.right - used.left);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

// Painting every instrument in every layout, also with damaged settings:
// no crash, and on a screen that shows the whole window the antenna is drawn.
TEST_F(SetupPaint, PaintsEveryInstrumentInEveryLayout) {
  const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  constexpr COLORREF kAntenna = RGB(0xD0, 0x00, 0x00);
  for (const Screen& s : kScreens)
    for (InstrumentType type : kTypes) {
      use_screen(main_, s);
      g_variant = {type, 0};
      g_settings = initial_settings(g_variant);
      g_settings.gps_x_offset = 0.8;
      g_settings.gps_y_offset = -1.5;
      InvalidateRect(main_, nullptr, TRUE);
      UpdateWindow(main_);
      if (g_screen.window.width <= screen_w && g_screen.window.height <= screen_h) {
        EXPECT_GT(count_colour(main_, kAntenna), 3) << s.width << "x" << s.height << " " << type;
      }
      // A damaged file: no crash, nothing drawn outside the window.
      g_settings.gps_x_offset = std::numeric_limits<double>::quiet_NaN();
      g_settings.gps_y_offset = 1e300;
      g_settings.sensor_size = -7;
      g_settings.dipole_mode = 1 << 30;
      g_settings.number_of_sensors = 5;
      g_settings.survey_line = std::string(200, 'W');
      InvalidateRect(main_, nullptr, TRUE);
      UpdateWindow(main_);
    }
  EXPECT_TRUE(IsWindow(main_));
}

using GpsMonitor = test::SetupWindowFixture;

int visible_buttons() {
  int n = 0;
  for (HWND b : g_setup_buttons) n += IsWindowVisible(b) ? 1 : 0;
  return n;
}

TEST_F(GpsMonitor, OpensOverTheSetupWindowAndLeavesOnX) {
  g_settings.gps_enabled = 0;  // no port to open
  SendMessageW(main_, WM_KEYDOWN, 'O', 0);
  ASSERT_TRUE(IsWindowVisible(g_monitor_gps_window));
  EXPECT_EQ(g_setup_state, kGpsMonitorShown);
  EXPECT_EQ(visible_buttons(), 0);
  EXPECT_EQ(GetFocus(), g_monitor_gps_window);
  HWND exit = GetDlgItem(g_monitor_gps_window, QUELOR_GPS_MONITOR_EXIT_ID);
  ASSERT_NE(exit, nullptr);
  wchar_t text[32] = {};
  GetWindowTextW(exit, text, 32);
  EXPECT_STREQ(text, L"E&xit");
  UpdateWindow(g_monitor_gps_window);

  // Keys typed into the setup window meanwhile only hand the focus over: no
  // survey starts, no dialog opens, the window does not close.
  SetFocus(main_);
  {
    test::DialogPresser opened(L"Survey Setup", IDCANCEL);  // must not happen
    for (WPARAM key : {WPARAM('L'), WPARAM('S'), WPARAM('X'), WPARAM(VK_RETURN)})
      SendMessageW(main_, WM_KEYDOWN, key, 0);
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(429, BN_CLICKED), 0);
    EXPECT_FALSE(opened.pressed());
  }
  ASSERT_TRUE(IsWindow(main_));
  EXPECT_FALSE(IsWindowVisible(g_log_window));
  EXPECT_TRUE(IsWindowVisible(g_monitor_gps_window));
  EXPECT_EQ(GetFocus(), g_monitor_gps_window);
  EXPECT_EQ(g_setup_state, kGpsMonitorShown);

  SendMessageW(g_monitor_gps_window, WM_KEYDOWN, 'X', 0);
  EXPECT_FALSE(IsWindowVisible(g_monitor_gps_window));
  EXPECT_EQ(g_setup_state, kSetupInFront);
  EXPECT_EQ(visible_buttons(), kSetupButtonCount);
  EXPECT_EQ(GetFocus(), main_);
  ASSERT_TRUE(IsWindow(main_));
}

TEST_F(GpsMonitor, EscapeAndTheExitButtonLeaveToo) {
  g_settings.gps_enabled = 0;
  SendMessageW(main_, WM_COMMAND, MAKEWPARAM(425, BN_CLICKED), 0);
  ASSERT_TRUE(IsWindowVisible(g_monitor_gps_window));
  SendMessageW(g_monitor_gps_window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindowVisible(g_monitor_gps_window));
  EXPECT_EQ(g_setup_state, kSetupInFront);

  SendMessageW(main_, WM_KEYDOWN, 'O', 0);
  ASSERT_TRUE(IsWindowVisible(g_monitor_gps_window));
  // Other keys do nothing.
  SendMessageW(g_monitor_gps_window, WM_KEYDOWN, 'Q', 0);
  EXPECT_TRUE(IsWindowVisible(g_monitor_gps_window));
  SendMessageW(GetDlgItem(g_monitor_gps_window, QUELOR_GPS_MONITOR_EXIT_ID), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(g_monitor_gps_window));
  EXPECT_EQ(visible_buttons(), kSetupButtonCount);
  // The setup window's keys work again.
  SendMessageW(main_, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(g_focused_button, 1);
}

using SetupFocus = test::SetupWindowFixture;

// While the logging window is in front, the setup window's keys and buttons
// only give it the focus: L does not start a second survey, S opens no
// dialog, X does not close the program.
TEST_F(SetupFocus, KeysWhileLoggingOnlyMoveTheFocus) {
  ShowWindow(g_log_window, SW_SHOW);
  g_setup_state = kLoggingShown;
  for (HWND b : g_setup_buttons) ShowWindow(b, SW_HIDE);
  SetFocus(main_);
  {
    test::DialogPresser opened(L"Survey Setup", IDCANCEL);  // must not happen
    for (WPARAM key : {WPARAM('L'), WPARAM('S'), WPARAM('O'), WPARAM('X'), WPARAM(VK_RETURN)}) {
      SendMessageW(main_, WM_KEYDOWN, key, 0);
      EXPECT_EQ(GetFocus(), g_log_window) << key;
      SetFocus(main_);
    }
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(420, BN_CLICKED), 0);
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(429, BN_CLICKED), 0);
    EXPECT_FALSE(opened.pressed());
  }
  ASSERT_TRUE(IsWindow(main_));
  EXPECT_EQ(g_setup_state, kLoggingShown);
  EXPECT_FALSE(IsWindowVisible(g_monitor_gps_window));
  EXPECT_EQ(g_focused_button, 0);
  ShowWindow(g_log_window, SW_HIDE);
}

PortMessage g_reported;
int g_reports = 0;
void take_message(const PortMessage& m) {
  g_reported = m;
  ++g_reports;
}

// A GPS port that cannot be opened: the opener reports, the setup window
// stays in front.
TEST_F(GpsMonitor, PortFailureStaysInTheSetupWindow) {
  g_settings.gps_enabled = 1;
  g_settings.gps_port = 96;  // COM97: no such port in the prefix
  g_reports = 0;
  set_port_message_sink(take_message);
  SendMessageW(main_, WM_KEYDOWN, 'O', 0);
  set_port_message_sink(nullptr);
  EXPECT_EQ(g_reports, 1);
  EXPECT_FALSE(IsWindowVisible(g_monitor_gps_window));
  EXPECT_EQ(g_setup_state, kSetupInFront);
  EXPECT_EQ(visible_buttons(), kSetupButtonCount);
}

}  // namespace
}  // namespace quelor
