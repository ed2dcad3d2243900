#pragma once
// The setup window tests: the program's classes registered once, the main
// window of the build-time variant created and destroyed around each test,
// and the globals that a test switches (variant, settings, screen) restored.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/window_classes.h"
#include "gui_test_support.h"

namespace quelor::test {

// Registers the program's classes unless a test before did; true when this
// call registered them.
inline bool register_program_classes_once() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), L"Zelko", &wc)) return false;
  return register_window_classes(GetModuleHandleW(nullptr)) == 0;
}

// Takes the classes away again, so that the registration tests find none.
inline void unregister_program_classes() {
  for (const wchar_t* name : {L"Zelko", L"ScreenLogWnd", L"DecayWnd", L"BarQWnd", L"BarIWnd", L"CurveWnd",
                              L"NumbersWnd", L"SpeedWnd", L"MapWnd", L"ColorBarWnd", L"MonitorGPSWnd"})
    UnregisterClassW(name, GetModuleHandleW(nullptr));
}

class SetupWindowFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { registered_here_ = windows_available() && register_program_classes_once(); }
  static void TearDownTestSuite() {
    if (registered_here_) unregister_program_classes();
    registered_here_ = false;
  }
  static inline bool registered_here_ = false;

  void SetUp() override {
    if (!windows_available()) GTEST_SKIP() << "no display: windows cannot be created";
    if (!running_under_wine()) GTEST_SKIP() << "touches C:\\ProgramData\\Quelor: runs only under Wine";
    saved_variant_ = g_variant;
    main_ = create_main_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    ASSERT_NE(main_, nullptr);
    saved_settings_ = g_settings;
    saved_screen_ = g_screen;
  }

  void TearDown() override {
    if (!main_) return;
    g_variant = saved_variant_;
    g_settings = saved_settings_;
    g_screen = saved_screen_;
    g_setup_state = kSetupInFront;
    if (IsWindow(main_)) DestroyWindow(main_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message != WM_QUIT) DispatchMessageW(&msg);
    g_main_window = g_log_window = g_monitor_gps_window = nullptr;
    g_setup_buttons.fill(nullptr);
  }

  HWND main_ = nullptr;
  Variant saved_variant_{};
  Settings saved_settings_{};
  ScreenState saved_screen_{};
};

}  // namespace quelor::test
