// The display dialogs driven as the surveyor drives them: fields filled,
// lists chosen, OK; what the settings record holds afterwards.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/app_state.h"
#include "app/logging/display_dialog_ids.h"
#include "app/logging/display_dialogs.h"
#include "setup_test_support.h"

namespace quelor {
namespace {

// The dialog titled `title` filled by `fill`, then OK.
struct FilledDialog : test::DialogScript {
  FilledDialog(const wchar_t* title, std::function<void(HWND)> fill) : DialogScript(title, std::move(fill), IDOK) {}
};

using DisplayDialogs = test::SetupWindowFixture;

TEST_F(DisplayDialogs, ReadingsScaleRaisesAMaximumAtOrBelowItsMinimum) {
  g_variant = {kEm31Mk2, kNavigation};
  g_settings.profile_scale_1 = {0, 500};
  g_settings.profile_scale_2 = {-25, 25};
  FilledDialog script(L"Conductivity/Inphase Readings Scales", [](HWND d) {
    SetDlgItemTextW(d, QUELOR_SCALE_FIRST_MIN_ID, L"600");
    SetDlgItemTextW(d, QUELOR_SCALE_FIRST_MAX_ID, L"500");
    SetDlgItemTextW(d, QUELOR_SCALE_SECOND_MIN_ID, L"-10");
    SetDlgItemTextW(d, QUELOR_SCALE_SECOND_MAX_ID, L"40");
  });
  readings_scale_action(g_log_window, 105);
  EXPECT_TRUE(script.ran());
  EXPECT_EQ(g_settings.profile_scale_1, (std::array<double, 2>{600, 700}));
  EXPECT_EQ(g_settings.profile_scale_2, (std::array<double, 2>{-10, 40}));
}

TEST_F(DisplayDialogs, SpeedScaleKeepsItsMaximumForZeroAndTakesTheUnit) {
  g_settings.speed_scale_maximum = 5.0;
  g_settings.speed_bar_units = 0;
  std::wstring current;
  {
    FilledDialog script(L"Set New Speed Bar Scale", [&](HWND d) {
      wchar_t text[32] = {};
      GetDlgItemTextW(d, QUELOR_SPEED_CURRENT_ID, text, 32);
      current = text;
      SetDlgItemTextW(d, QUELOR_SPEED_NEW_ID, L"0");
      SendDlgItemMessageW(d, QUELOR_SPEED_UNITS_ID, CB_SETCURSEL, 3, 0);
    });
    speed_scale_action(g_log_window, 106);
    EXPECT_TRUE(script.ran());
  }
  EXPECT_EQ(current, L"5.00");
  EXPECT_DOUBLE_EQ(g_settings.speed_scale_maximum, 5.0);
  EXPECT_EQ(g_settings.speed_bar_units, 3);
  {
    FilledDialog script(L"Set New Speed Bar Scale", [](HWND d) { SetDlgItemTextW(d, QUELOR_SPEED_NEW_ID, L"12.5"); });
    speed_scale_action(g_log_window, 106);
  }
  EXPECT_DOUBLE_EQ(g_settings.speed_scale_maximum, 12.5);
}

TEST_F(DisplayDialogs, ProfileOptionsShowTheInstrumentsTracesAndStoreThem) {
  struct Case {
    InstrumentType type;
    int sensors, rows;
  };
  for (const Case c : {Case{kEm61Lx2, 1, 6}, Case{kEm61Mk2, 0, 4}, Case{kGrad601, 0, 1}}) {
    g_variant = {c.type, kRealTimeMap};
    g_settings.number_of_sensors = c.sensors;
    int visible = 0;
    FilledDialog script(L"Profiles Options", [&](HWND d) {
      for (int i = 0; i < 8; ++i)  // the row is shown (the dialog itself may not be yet)
        visible += (GetWindowLongPtrW(GetDlgItem(d, QUELOR_TRACE_COLOUR_ID + i), GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
      SendDlgItemMessageW(d, QUELOR_TRACE_COLOUR_ID, CB_SETCURSEL, 2, 0);  // "Red"
      SendDlgItemMessageW(d, QUELOR_TRACE_WIDTH_ID, CB_SETCURSEL, 3, 0);   // 4 pixels
    });
    profile_options_action(g_log_window, 107);
    EXPECT_TRUE(script.ran()) << c.type;
    EXPECT_EQ(visible, c.rows) << c.type;
    EXPECT_EQ(g_settings.trace_colours[0], 0x0000FFu) << c.type;
    EXPECT_EQ(g_settings.trace_widths[0], 4) << c.type;
  }
}

}  // namespace
}  // namespace quelor
