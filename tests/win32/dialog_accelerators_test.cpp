// The logging window's dialogs opened by their own commands: every field is
// reached by Alt and its underlined letter, unique within its dialog (a
// list without a label of its own by one Tab from the field before it), and
// Tab goes through the fields in the template's order.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/background/background_actions.h"
#include "app/background/background_dialog_ids.h"
#include "app/logging/display_dialogs.h"
#include "app/logging/line_actions.h"
#include "app/logging/logging_session.h"
#include "app/map/map_actions.h"
#include "app/procedures/procedure_actions.h"
#include "dialog_keys_support.h"
#include "display/display_forms.h"
#include "settings/instrument_defaults.h"
#include "setup_test_support.h"

namespace quelor {
namespace {

constexpr InstrumentType kTypes[] = {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2};

constexpr int kGiveUpTicks = 100;  // 3 s

struct Opened {
  int by_letter = -1;
  int by_tab = -1;
};

// Opens a dialog with `command` and checks its fields while it is open.
Opened check_dialog(const wchar_t* title, void (*command)(HWND, int), const std::string& where) {
  Opened opened;
  test::DialogScript check(
      title,
      [&](HWND dialog) {
        const test::FieldsReached r = test::expect_every_field_reached(dialog, where);
        opened = {r.by_letter, r.by_tab};
        test::expect_tab_order_is_template_order(dialog, where);
      },
      IDCANCEL, kGiveUpTicks);
  command(g_log_window, 0);
  EXPECT_TRUE(check.ran()) << where << ": \"" << std::string(title, title + wcslen(title)) << "\" not opened";
  return opened;
}

using DialogAccelerators = test::SetupWindowFixture;

TEST_F(DialogAccelerators, CommandDialogs) {
  struct Case {
    const wchar_t* title;
    void (*command)(HWND, int);
    int fields;
  };
  const Case cases[] = {{L"New Line", new_line_action, 4},
                        {L"New Station", new_station_action, 1},
                        {L"Comment", comment_action, 1},
                        {L"Audio Options", audio_options_action, 3},
                        {L"Coordinates Display Units", coordinates_units_action, 4}};
  for (const Case& c : cases) {
    const Opened o = check_dialog(c.title, c.command, "command dialog");
    EXPECT_EQ(o.by_letter, c.fields) << std::string(c.title, c.title + wcslen(c.title));
    EXPECT_EQ(o.by_tab, 0);
  }
}

TEST_F(DialogAccelerators, DisplayDialogs) {
  int reached = 0;
  for (InstrumentType type : kTypes) {
    g_variant = Variant{type, kNavigation};
    g_settings = initial_settings(g_variant);
    const std::string where = "type " + std::to_string(type);
    const bool two_groups = readings_scale_template(type) == "READINGSCALE31";
    const wchar_t* scale_title = two_groups ? L"Conductivity/Inphase Readings Scales" : L"Readings Scale";
    const Opened scale = check_dialog(scale_title, readings_scale_action, where + " readings scale");
    EXPECT_EQ(scale.by_letter, two_groups ? 4 : 2) << where;
    const Opened speed = check_dialog(L"Set New Speed Bar Scale", speed_scale_action, where + " speed bar");
    EXPECT_EQ(speed.by_letter, 2) << where;
    // Each trace row: "Trace N" names its width list; its colour list is the
    // next Tab stop.
    const Opened profiles = check_dialog(L"Profiles Options", profile_options_action, where + " profiles");
    const ProfileOptionsForm form = profile_options_form(g_settings, type);
    EXPECT_EQ(profiles.by_letter, form.traces + (form.channel_choice ? 1 : 0)) << where;
    EXPECT_EQ(profiles.by_tab, form.traces) << where;
    reached += scale.by_letter + speed.by_letter + profiles.by_letter;
  }
  EXPECT_GT(reached, 50);
}

TEST_F(DialogAccelerators, MapDialogs) {
  int reached = 0;
  for (InstrumentType type : kTypes)
    for (int nav : {kNavigation, kRealTimeMap})
      for (bool parallel_lines : {false, true}) {
        g_variant = Variant{type, nav};
        g_settings = initial_settings(g_variant);
        g_settings.map.parallel_lines = parallel_lines;
        const std::string where = "type " + std::to_string(type) + " nav " + std::to_string(nav);
        const Opened size = check_dialog(L"Map Size", map_size_action, where + " map size");
        EXPECT_EQ(size.by_letter, 3) << where;
        // The colour map view list has no label: one Tab after the field before it.
        const Opened options = check_dialog(L"Map Display Options", map_display_options_action, where + " options");
        EXPECT_GE(options.by_letter, 12) << where;
        EXPECT_LE(options.by_tab, 1) << where;
        reached += size.by_letter + options.by_letter;
      }
  EXPECT_GT(reached, 400);
}

TEST_F(DialogAccelerators, BackgroundDialogs) {
  for (int nav : {kNavigation, kRealTimeMap}) {
    g_variant = Variant{kEm31Mk2, nav};
    g_settings = initial_settings(g_variant);
    logging_session().survey.first_fix_done = true;  // loading needs a valid position
    // The text file types enable the column lists (the labelled one its labels list too).
    test::DialogScript check(
        L"Load BackGround File",
        [&](HWND dialog) {
          HWND types = GetDlgItem(dialog, QUELOR_BG_TYPE_ID);
          SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(SendMessageW(types, CB_GETCOUNT, 0, 0) - 1), 0);
          SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(QUELOR_BG_TYPE_ID, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(types));
          const test::FieldsReached r = test::expect_every_field_reached(dialog, "load nav " + std::to_string(nav));
          test::expect_tab_order_is_template_order(dialog, "load");
          EXPECT_EQ(r.by_letter, nav == kNavigation ? 6 : 7) << nav;
          EXPECT_EQ(r.by_tab, 0);
        },
        IDCANCEL, kGiveUpTicks);
    enter_background_action(g_log_window, 0);
    EXPECT_TRUE(check.ran());
  }
  logging_session().survey.first_fix_done = false;
  // Ten loaded files, one named with an "&" that is shown as itself.
  BackgroundFileTable& table = background_files();
  for (int i = 1; i <= 10; ++i)
    table.files.push_back(
        {i, L"C:\\data\\line " + std::to_wstring(i) + (i == 3 ? L" & more.txt" : L".txt"), L"", {}, false, {}, {}});
  std::wstring third;
  test::DialogScript check(
      L"Remove BackGround Files",
      [&](HWND dialog) {
        const test::FieldsReached r = test::expect_every_field_reached(dialog, "remove");
        EXPECT_EQ(test::expect_tab_order_is_template_order(dialog, "remove"), 13);  // and OK, Cancel
        EXPECT_EQ(r.by_letter, 11);
        third = test::window_text(GetWindow(GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDNEXT), GW_HWNDNEXT));
      },
      IDCANCEL, kGiveUpTicks);
  remove_background_action(g_log_window, 0);
  EXPECT_TRUE(check.ran());
  EXPECT_EQ(third, L"  &3. line 3 && more.txt");
  EXPECT_EQ(table.files.size(), 10u);  // Cancel removed nothing
  table.files.clear();
}

TEST_F(DialogAccelerators, ProcedureDialogs) {
  const Opened drift = check_dialog(L"Drift Reminder", drift_reminder_action, "drift reminder");
  EXPECT_EQ(drift.by_letter, 1);
  EXPECT_EQ(drift.by_tab, 0);
}

}  // namespace
}  // namespace quelor
