// The setup dialogs of every variant at every width: each control the
// dialog logic fills is in the template the command opens, shows what the
// logic says, and OK stores and saves while Cancel leaves everything.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/setup_dialogs.h"
#include "settings/instrument_defaults.h"
#include "settings/value_text.h"
#include "setup/accelerators.h"
#include "setup/alarm_setup.h"
#include "setup/control_ids.h"
#include "setup/geometry_setup.h"
#include "setup/gps_setup.h"
#include "setup/survey_setup.h"
#include "setup/system_setup.h"
#include "dialog_keys_support.h"
#include "setup_test_support.h"
#include "shell/setup_dialog_templates.h"
#include "shell/setup_keys.h"

namespace quelor {
namespace {

constexpr InstrumentType kTypes[] = {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2};
constexpr int kWidths[] = {599, 1274};

DialogForm form_of(int command, const Settings& s, const Variant& v) {
  switch (command) {
    case kCommandSurveySetup: return survey_setup_session(s, v).form;
    case kCommandSystemSetup: return system_setup_form(s, v);
    case kCommandGeometrySetup: return v.instrument_type == kEm61Lx2 ? alarm_setup_form(s) : geometry_setup_form(s, v);
    default: return gps_input_form(s);
  }
}

std::wstring text_of(HWND w) {
  wchar_t buffer[128] = {};
  GetWindowTextW(w, buffer, 128);
  return buffer;
}

void expect_control_shows(HWND dialog, const DialogControl& c, const std::string& where) {
  HWND w = GetDlgItem(dialog, c.id);
  ASSERT_NE(w, nullptr) << where << " lacks control " << c.id;
  EXPECT_EQ(IsWindowVisible(w) != FALSE, c.visible) << where << " " << c.id;
  EXPECT_EQ(IsWindowEnabled(w) != FALSE, c.enabled) << where << " " << c.id;
  switch (c.kind) {
    case ControlKind::kList:
      EXPECT_EQ(SendMessageW(w, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(c.items.size())) << where << " " << c.id;
      EXPECT_EQ(SendMessageW(w, CB_GETCURSEL, 0, 0), c.selection) << where << " " << c.id;
      break;
    case ControlKind::kEdit: EXPECT_EQ(text_of(w), c.text) << where << " " << c.id; break;
    case ControlKind::kCheck:
    case ControlKind::kRadio:
      EXPECT_EQ(SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED, c.checked) << where << " " << c.id;
      break;
    case ControlKind::kLabel:
      if (!c.text.empty()) {
        EXPECT_EQ(text_of(w), label_with_accelerator(c.id, c.text)) << where << " " << c.id;
      }
      break;
  }
}

using SetupForms = test::SetupWindowFixture;

TEST_F(SetupForms, EveryTemplateHoldsItsDialogsControls) {
  int checked = 0;
  for (InstrumentType type : kTypes)
    for (int nav : {0, 1})
      for (int width : kWidths)
        for (int command : {kCommandSurveySetup, kCommandSystemSetup, kCommandGeometrySetup, kCommandGpsPortSetup}) {
          g_variant = Variant{type, nav};
          g_settings = initial_settings(g_variant);
          g_screen.client_width = width;
          const std::wstring name = setup_dialog_template_name(command);
          const std::string where = narrow_text(name) + " type " + std::to_string(type) + " nav " + std::to_string(nav);
          HWND dialog =
              CreateDialogParamW(GetModuleHandleW(nullptr), name.c_str(), main_, setup_dialog_procedure(command), 0);
          ASSERT_NE(dialog, nullptr) << where;
          ShowWindow(dialog, SW_SHOW);
          for (const DialogControl& c : form_of(command, g_settings, g_variant).controls)
            expect_control_shows(dialog, c, where);
          DestroyWindow(dialog);
          ++checked;
        }
  EXPECT_EQ(checked, 9 * 2 * 2 * 4);
}

// A key sent to the control that has the focus inside the modal dialog.
struct KeyScript {
  std::vector<std::pair<int, std::wstring>> texts;  // edit id, text
  std::vector<std::pair<int, int>> selections;      // list id, selection
  int end = IDOK;
};

DWORD WINAPI drive(LPVOID p) {
  auto* script = static_cast<KeyScript*>(p);
  HWND dialog = nullptr;
  // The dialog is shown once its WM_INITDIALOG has returned: a message sent
  // before would meet controls not filled yet.
  for (int i = 0; i < 400 && !dialog; ++i) {
    Sleep(10);
    HWND found = FindWindowW(L"#32770", nullptr);
    if (found && IsWindowVisible(found)) dialog = found;
  }
  if (!dialog) return 1;
  for (const auto& [id, selection] : script->selections) {
    SendMessageW(GetDlgItem(dialog, id), CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  for (const auto& [id, text] : script->texts) SetWindowTextW(GetDlgItem(dialog, id), text.c_str());
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(script->end, BN_CLICKED), 0);
  return 0;
}

TEST_F(SetupForms, OkStoresWhatTheDialogLogicStoresCancelNothing) {
  g_variant = Variant{kEm61Mk2, kRealTimeMap};
  g_settings = initial_settings(g_variant);
  const Settings before = g_settings;
  KeyScript script;
  script.selections = {{IDC_SURVEY_MODE, 1}};
  script.texts = {{IDC_STATION_INCREMENT, L"0.5"}, {IDC_SURVEY_LINE, L"C12"}};
  script.end = IDCANCEL;
  HANDLE t = CreateThread(nullptr, 0, drive, &script, 0, nullptr);
  EXPECT_EQ(open_setup_dialog(main_, kCommandSurveySetup), 0);
  WaitForSingleObject(t, 5000);
  CloseHandle(t);
  EXPECT_EQ(g_settings, before);
  script.end = IDOK;
  t = CreateThread(nullptr, 0, drive, &script, 0, nullptr);
  EXPECT_EQ(open_setup_dialog(main_, kCommandSurveySetup), 1);
  WaitForSingleObject(t, 5000);
  CloseHandle(t);
  EXPECT_EQ(g_settings.survey_mode, 1);
  EXPECT_DOUBLE_EQ(g_settings.station_increments[1], 0.5);
  EXPECT_DOUBLE_EQ(g_settings.station_increments[0], before.station_increments[0]);
  EXPECT_EQ(g_settings.survey_line, "C12");
}

// Every template of each dialog family, as one variant opens it: each field
// shown is reached by Alt and its own letter.
TEST_F(SetupForms, EveryFieldIsReachedByAltAndItsLetter) {
  struct Case {
    InstrumentType type;
    int nav, width, command;
  };
  std::vector<Case> cases;
  for (InstrumentType type : kTypes)
    for (int width : kWidths)
      for (int command : {kCommandSurveySetup, kCommandSystemSetup, kCommandGeometrySetup, kCommandGpsPortSetup})
        cases.push_back({type, type == kEm61Mk2 ? 0 : 1, width, command});
  cases.push_back({kEm38, 1, 1274, -1});  // the GPS warning mask
  int reached = 0;
  for (const Case& c : cases) {
    g_variant = Variant{c.type, c.nav};
    g_settings = initial_settings(g_variant);
    g_settings.tilt_meter = 1;  // the EM61-MK2 tilt fields enabled
    g_settings.number_of_sensors = 1;
    g_screen.client_width = c.width;
    const std::wstring name = c.command < 0 ? L"GPSMASK" : setup_dialog_template_name(c.command);
    const DLGPROC procedure = c.command < 0 ? gps_mask_procedure : setup_dialog_procedure(c.command);
    const std::string where = narrow_text(name) + " type " + std::to_string(c.type);
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), name.c_str(), main_, procedure, 0);
    ASSERT_NE(dialog, nullptr) << where;
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    const test::FieldsReached r = test::expect_every_field_reached(dialog, where);
    EXPECT_EQ(r.by_tab, 0) << where;
    test::expect_tab_order_is_template_order(dialog, where);
    reached += r.by_letter;
    DestroyWindow(dialog);
  }
  EXPECT_GT(reached, 200);
}

}  // namespace
}  // namespace quelor
