#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/window_classes.h"
#include "gui_test_support.h"
#include "test_files.h"
#include "platform/win32/message_dialog.h"
#include "shell/setup_buttons.h"

namespace quelor {
namespace {

std::wstring text_of(HWND w) {
  wchar_t buffer[256] = {};
  GetWindowTextW(w, buffer, 256);
  return buffer;
}

std::wstring class_of(HWND w) {
  wchar_t buffer[256] = {};
  GetClassNameW(w, buffer, 256);
  return buffer;
}

BOOL CALLBACK collect_child(HWND child, LPARAM l) {
  auto* children = reinterpret_cast<std::map<int, HWND>*>(l);
  if (GetParent(child) == GetAncestor(child, GA_PARENT)) (*children)[GetDlgCtrlID(child)] = child;
  return TRUE;
}

constexpr const wchar_t* kSettingsFile = L"C:\\ProgramData\\Quelor\\Qyn31MK2\\Qyn31MK2_220.INI";

// Registration and the whole main window, in the order the program runs them.
class MainWindowTest : public ::testing::Test {
 protected:
  // Reads the queue up to the quit message that the destroy handler posts,
  // and forgets the destroyed window's handles.
  static bool quit_was_posted() {
    MSG msg{};
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        EXPECT_EQ(msg.wParam, 0u);
      } else {
        DispatchMessageW(&msg);
      }
    }
    g_main_window = g_log_window = g_monitor_gps_window = nullptr;
    g_setup_buttons.fill(nullptr);
    return quit;
  }

  static void SetUpTestSuite() {
    if (test::windows_available()) first_registration_ = register_window_classes(GetModuleHandleW(nullptr));
  }
  static inline int first_registration_ = -1;
};

TEST_F(MainWindowTest, RegistersEveryClassOnce) {
  QUELOR_REQUIRE_WINDOWS();
  EXPECT_EQ(first_registration_, 0);
  struct Expected {
    const wchar_t* name;
    UINT style;
    bool white;
  };
  const UINT redraw = CS_HREDRAW | CS_VREDRAW;
  const Expected classes[] = {
      {L"Zelko", redraw, false},     {L"ScreenLogWnd", redraw, false}, {L"DecayWnd", redraw, true},
      {L"BarQWnd", redraw, true},    {L"BarIWnd", redraw, true},       {L"CurveWnd", redraw, true},
      {L"NumbersWnd", redraw, true}, {L"SpeedWnd", redraw, true},      {L"MapWnd", redraw, true},
      {L"ColorBarWnd", 0, true},     {L"MonitorGPSWnd", 0, false}};
  for (const Expected& e : classes) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), e.name, &wc)) << e.name;
    EXPECT_EQ(wc.style, e.style) << e.name;
    EXPECT_EQ(wc.lpszMenuName, nullptr) << e.name;
    EXPECT_NE(wc.hCursor, nullptr) << e.name;
    const bool white = wc.hbrBackground == GetStockObject(WHITE_BRUSH);
    EXPECT_EQ(white, e.white) << e.name;
  }
  WNDCLASSEXW main_class{};
  main_class.cbSize = sizeof main_class;
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"Zelko", &main_class));
  EXPECT_NE(main_class.hIcon, nullptr);
  // A second registration fails at ScreenLogWnd: reported as 2.
  EXPECT_EQ(register_window_classes(GetModuleHandleW(nullptr)), 2);
}

TEST_F(MainWindowTest, CreatesTheSetupWindowAndExitsOnX) {
  QUELOR_REQUIRE_WINDOWS();
  QUELOR_REQUIRE_WINE_PREFIX();
  ASSERT_EQ(first_registration_, 0);
  // A fresh machine: no C:\ProgramData\Quelor at all.
  test::remove_tree(L"C:\\ProgramData\\Quelor");
  ASSERT_FALSE(test::is_folder(L"C:\\ProgramData\\Quelor"));
  HWND main = create_main_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main, g_main_window);
  EXPECT_EQ(text_of(main), L"Qyn31");
  EXPECT_EQ(class_of(main), L"Zelko");
  const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  RECT wr;
  GetWindowRect(main, &wr);
  const MainWindowGeometry g = main_window_geometry(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(wr.right - wr.left, g.width);
  EXPECT_EQ(wr.bottom - wr.top, g.height);
  EXPECT_EQ(wr.left, g.x);
  EXPECT_EQ(wr.top, g.y);

  std::map<int, HWND> children;
  EnumChildWindows(main, collect_child, reinterpret_cast<LPARAM>(&children));
  RECT client;
  GetClientRect(main, &client);
  const ButtonLayout layout = setup_button_layout(g.portrait, client.right, client.bottom);
  for (int i = 0; i < kSetupButtonCount; ++i) {
    HWND button = children[420 + i];
    ASSERT_NE(button, nullptr) << i;
    EXPECT_EQ(class_of(button), L"Button") << i;
    EXPECT_EQ(text_of(button), std::wstring(setup_button_text(i, kEm31Mk2))) << i;
    EXPECT_TRUE(IsWindowVisible(button)) << i;
    RECT r;
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, layout[i].x) << i;
    EXPECT_EQ(r.top, layout[i].y) << i;
    EXPECT_EQ(r.right - r.left, layout[i].width) << i;
    EXPECT_EQ(r.bottom - r.top, layout[i].height) << i;
  }
  EXPECT_EQ(GetWindowLongPtrW(children[420], GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
  ASSERT_NE(children[4], nullptr);
  EXPECT_EQ(class_of(children[4]), L"ScreenLogWnd");
  EXPECT_EQ(text_of(children[4]), L"Log");
  EXPECT_FALSE(IsWindowVisible(children[4]));
  ASSERT_NE(children[780], nullptr);
  EXPECT_EQ(class_of(children[780]), L"MonitorGPSWnd");
  EXPECT_EQ(text_of(children[780]), L"Monitor GPS");
  EXPECT_FALSE(IsWindowVisible(children[780]));
  // Ten buttons and the two hidden windows of its own (the logging window
  // and the GPS monitor have theirs, such as the monitor's "E&xit", 753).
  ASSERT_NE(children[753], nullptr);
  EXPECT_EQ(GetParent(children[753]), children[780]);
  int own_children = 0;
  for (const auto& [id, child] : children) own_children += GetParent(child) == main ? 1 : 0;
  EXPECT_EQ(own_children, 12);

  // The work folder and the settings file of the first start.
  EXPECT_TRUE(test::is_folder(L"C:\\ProgramData\\Quelor\\Temp"));
  EXPECT_NE(GetFileAttributesW(kSettingsFile), INVALID_FILE_ATTRIBUTES);

  // X closes the window, whose destruction posts the quit message.
  SendMessageW(main, WM_KEYDOWN, 'X', 0);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_TRUE(quit_was_posted());
}

TEST_F(MainWindowTest, FocusMovesRoundTheButtonsAndExitButtonCloses) {
  QUELOR_REQUIRE_WINDOWS();
  QUELOR_REQUIRE_WINE_PREFIX();
  ASSERT_EQ(first_registration_, 0);
  HWND main = create_main_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  ASSERT_NE(main, nullptr);
  auto default_style = [&](int id) {
    return (GetWindowLongPtrW(GetDlgItem(main, id), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
  };
  for (int i = 0; i < 9; ++i) SendMessageW(main, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(g_focused_button, 9);
  EXPECT_TRUE(default_style(429));
  EXPECT_FALSE(default_style(420));
  SendMessageW(main, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_TRUE(default_style(420));
  EXPECT_FALSE(default_style(429));
  // Keys without a command leave the window open.
  SendMessageW(main, WM_KEYDOWN, 'Z', 0);
  SendMessageW(main, 0x103, 'A', 0);
  ASSERT_TRUE(IsWindow(main));
  // A click on "E&xit".
  SendMessageW(GetDlgItem(main, 429), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_TRUE(quit_was_posted());
}

TEST_F(MainWindowTest, ResetToDefaultCancelled) {
  QUELOR_REQUIRE_WINDOWS();
  QUELOR_REQUIRE_WINE_PREFIX();
  ASSERT_EQ(first_registration_, 0);
  HWND main = create_main_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  ASSERT_NE(main, nullptr);
  {
    test::DialogPresser cancel(L"Reset to Default Setting", 2);
    SendMessageW(main, WM_KEYDOWN, 'R', 0);
    EXPECT_TRUE(cancel.pressed());
  }
  EXPECT_TRUE(IsWindow(main));
  EXPECT_NE(GetFileAttributesW(kSettingsFile), INVALID_FILE_ATTRIBUTES);
  DestroyWindow(main);
  EXPECT_TRUE(quit_was_posted());
}

TEST_F(MainWindowTest, ResetToDefaultDeletesTheSettingsFileAndCloses) {
  QUELOR_REQUIRE_WINDOWS();
  QUELOR_REQUIRE_WINE_PREFIX();
  ASSERT_EQ(first_registration_, 0);
  HWND main = create_main_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  ASSERT_NE(main, nullptr);
  ASSERT_NE(GetFileAttributesW(kSettingsFile), INVALID_FILE_ATTRIBUTES);
  {
    test::DialogPresser ok(L"Reset to Default Setting", 1);
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(428, BN_CLICKED), 0);
    EXPECT_TRUE(ok.pressed());
  }
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(GetFileAttributesW(kSettingsFile), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(quit_was_posted());
}

// After 20 days of uptime the first paint asks for a restart and closes.
TEST_F(MainWindowTest, UptimeStopShowsItsMessageOnceAndCloses) {
  QUELOR_REQUIRE_WINDOWS();
  QUELOR_REQUIRE_WINE_PREFIX();
  ASSERT_EQ(first_registration_, 0);
  HWND main = create_main_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  ASSERT_NE(main, nullptr);
  g_uptime_flag = true;
  {
    test::DialogPresser ok(L"Program Stop", 1);
    InvalidateRect(main, nullptr, TRUE);
    UpdateWindow(main);
    EXPECT_TRUE(ok.pressed());
  }
  EXPECT_FALSE(g_uptime_flag);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(std::wstring(g_message_text),
            L"Windows has run for more than 20 days.\r\n"
            L"Please restart the system to ensure efficient use of Windows timer.\r\n"
            L"Use RESTART not SHUT DOWN.");
  EXPECT_TRUE(quit_was_posted());
}

// A child window that cannot be made takes the main window with it; its
// quit message ends the message loop normally (code 0).
TEST_F(MainWindowTest, MissingChildWindowDestroysTheMainWindow) {
  QUELOR_REQUIRE_WINDOWS();
  QUELOR_REQUIRE_WINE_PREFIX();
  ASSERT_EQ(first_registration_, 0);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  ASSERT_TRUE(UnregisterClassW(L"MonitorGPSWnd", instance));
  EXPECT_EQ(create_main_window(instance, SW_SHOWNORMAL), nullptr);
  EXPECT_TRUE(quit_was_posted());
  // The classes back for the tests that follow.
  for (const wchar_t* name : {L"Zelko", L"ScreenLogWnd", L"DecayWnd", L"BarQWnd", L"BarIWnd", L"CurveWnd",
                              L"NumbersWnd", L"SpeedWnd", L"MapWnd", L"ColorBarWnd"})
    UnregisterClassW(name, instance);
  ASSERT_EQ(register_window_classes(instance), 0);
}

}  // namespace
}  // namespace quelor
