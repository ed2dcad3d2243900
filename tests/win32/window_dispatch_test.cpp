#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/setup_window.h"
#include "app/window_classes.h"
#include "gui_test_support.h"
#include "platform/win32/window_dispatch.h"

namespace quelor {
namespace {

std::wstring window_text(HWND w) {
  wchar_t buffer[256] = {};
  GetWindowTextW(w, buffer, 256);
  return buffer;
}

int g_test_handler_calls = 0;
LRESULT counting_handler(HWND, UINT, WPARAM w, LPARAM) {
  ++g_test_handler_calls;
  return static_cast<LRESULT>(w) * 2;
}
constexpr Win32MessageRow kTestTable[] = {{WM_USER + 7, counting_handler}};

TEST(WindowDispatch, TableRowIsCalled) {
  QUELOR_REQUIRE_WINDOWS();
  HWND w = test::plain_window();
  g_test_handler_calls = 0;
  auto procedure = table_window_procedure<kTestTable, 1>;
  EXPECT_EQ(procedure(w, WM_USER + 7, 21, 0), 42);
  EXPECT_EQ(g_test_handler_calls, 1);
  DestroyWindow(w);
}

TEST(WindowDispatch, NoRowReachesDefWindowProcUnchanged) {
  QUELOR_REQUIRE_WINDOWS();
  HWND w = test::plain_window(L"before");
  auto procedure = table_window_procedure<kTestTable, 1>;
  // WM_SETTEXT has no row: DefWindowProcW sets the text.
  EXPECT_TRUE(procedure(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"after")));
  EXPECT_EQ(window_text(w), L"after");
  EXPECT_EQ(procedure(w, WM_GETTEXTLENGTH, 0, 0), 5);
  const int before = g_test_handler_calls;
  procedure(w, WM_USER + 8, 1, 1);
  EXPECT_EQ(g_test_handler_calls, before);
  DestroyWindow(w);
}

TEST(WindowDispatch, MainWindowFallsBackToDefWindowProc) {
  QUELOR_REQUIRE_WINDOWS();
  HWND w = test::plain_window(L"x");
  EXPECT_TRUE(main_window_procedure(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Qyn31")));
  EXPECT_EQ(window_text(w), L"Qyn31");
  EXPECT_EQ(main_window_procedure(w, WM_GETTEXTLENGTH, 0, 0), 5);
  DestroyWindow(w);
}

TEST(MainWindowTable, RowsAndHandlers) {
  struct Row {
    UINT message;
    MessageHandler handler;
  };
  const Row expected[] = {{WM_CREATE, main_create_handler},   {WM_SIZE, main_size_handler},
                          {WM_DESTROY, main_destroy_handler}, {WM_COMMAND, setup_command_handler},
                          {0x103, setup_command_handler},     {WM_KEYDOWN, setup_command_handler},
                          {WM_PAINT, setup_paint_handler}};
  auto table = main_window_message_table();
  ASSERT_EQ(table.size(), std::size(expected));
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].message, expected[i].message) << i;
    EXPECT_EQ(table[i].handler, expected[i].handler) << i;
  }
}

// The setup command handler on a stand-in window: the X key closes it.
class SetupKeysOnWindow : public ::testing::TestWithParam<std::pair<UINT, WPARAM>> {};

TEST_P(SetupKeysOnWindow, ExitClosesTheWindow) {
  QUELOR_REQUIRE_WINDOWS();
  HWND w = test::plain_window();
  ASSERT_TRUE(IsWindow(w));
  main_window_procedure(w, GetParam().first, GetParam().second, 0);
  EXPECT_FALSE(IsWindow(w));
  if (IsWindow(w)) DestroyWindow(w);
}

INSTANTIATE_TEST_SUITE_P(ExitKeys, SetupKeysOnWindow,
                         ::testing::Values(std::pair<UINT, WPARAM>{0x103 /* WM_DEADCHAR */, 'X'},
                                           std::pair<UINT, WPARAM>{WM_KEYDOWN, 'X'},
                                           std::pair<UINT, WPARAM>{WM_COMMAND, MAKEWPARAM(429, BN_CLICKED)}));

TEST(SetupKeys, OtherKeysLeaveTheWindowAndMoveTheFocus) {
  QUELOR_REQUIRE_WINDOWS();
  HWND w = test::plain_window();
  const int saved_focus = g_focused_button;
  g_focused_button = 0;
  main_window_procedure(w, WM_KEYDOWN, 'A', 0);
  main_window_procedure(w, 0x103, 'Q', 0);
  EXPECT_TRUE(IsWindow(w));
  main_window_procedure(w, WM_KEYDOWN, VK_RIGHT, 0);
  main_window_procedure(w, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(g_focused_button, 2);
  main_window_procedure(w, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(g_focused_button, 1);
  // Enter on "E&xit" closes.
  for (int i = 0; i < 8; ++i) main_window_procedure(w, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(g_focused_button, 9);
  main_window_procedure(w, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(IsWindow(w));
  g_focused_button = saved_focus;
}

}  // namespace
}  // namespace quelor
