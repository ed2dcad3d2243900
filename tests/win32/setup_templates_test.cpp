#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/map/map_dialog_ids.h"
#include "app/logging/display_dialog_ids.h"
#include "app/setup_dialog_ids.h"
#include "app/setup_dialogs.h"
#include "settings/value_text.h"
#include "setup_test_support.h"
#include "shell/setup_dialog_templates.h"
#include "shell/setup_keys.h"

namespace quelor {
namespace {

constexpr InstrumentType kTypes[] = {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2};
constexpr int kWidths[] = {594, 599, 600, 634, 639, 640, 783, 784, 1018, 1274};
constexpr const wchar_t* kSettingsFile = L"C:\\ProgramData\\Quelor\\Qyn31MK2\\Qyn31MK2_220.INI";

std::wstring window_text(HWND w) {
  wchar_t buffer[256] = {};
  GetWindowTextW(w, buffer, 256);
  return buffer;
}

// Every command of every one of the 18 variants at every width finds its
// dialog template among the program's resources.
TEST(SetupTemplates, EveryVariantFindsEveryTemplate) {
  const HMODULE module = GetModuleHandleW(nullptr);
  int looked_up = 0;
  for (InstrumentType type : kTypes)
    for (int nav : {0, 1})
      for (int command = 0; command < 10; ++command)
        for (int width : kWidths) {
          const std::string_view name = setup_dialog_template(command, {type, nav}, width);
          if (!is_dialog_command(command)) {
            EXPECT_TRUE(name.empty());
            continue;
          }
          const std::wstring wide = widen_text(name);
          EXPECT_NE(FindResourceW(module, wide.c_str(), RT_DIALOG), nullptr)
              << "type " << type << " nav " << nav << " command " << command << " " << name;
          ++looked_up;
        }
  EXPECT_EQ(looked_up, 9 * 2 * 6 * 10);
  for (std::string_view name : all_setup_dialog_templates())
    EXPECT_NE(FindResourceW(module, widen_text(name).c_str(), RT_DIALOG), nullptr) << name;
  EXPECT_EQ(FindResourceW(module, L"NOSUCHTEMPLATE", RT_DIALOG), nullptr);
}

// Each template, created, is titled like its command and holds OK and
// Cancel; the profile options hold a width and a colour list per trace.
TEST(SetupTemplates, EachTemplateIsTitledLikeItsCommand) {
  QUELOR_REQUIRE_WINDOWS();
  std::map<std::string, std::pair<std::string, int>> title_of;
  for (InstrumentType type : kTypes)
    for (int nav : {0, 1})
      for (int command = 1; command <= 7; ++command)
        for (int width : kWidths) {
          const std::string_view name = setup_dialog_template(command, {type, nav}, width);
          if (name.empty()) continue;
          const std::string title(setup_dialog_title(command, type));
          auto [it, inserted] = title_of.emplace(std::string(name), std::make_pair(title, command));
          EXPECT_EQ(it->second.first, title) << name << " serves two dialogs";
        }
  EXPECT_EQ(title_of.size(), all_setup_dialog_templates().size());
  for (const auto& [name, entry] : title_of) {
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), widen_text(name).c_str(), nullptr,
                                     setup_shell_dialog_procedure, 0);
    ASSERT_NE(dialog, nullptr) << name;
    EXPECT_EQ(window_text(dialog), widen_text(entry.first)) << name;
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDOK)), L"OK") << name;
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDCANCEL)), L"Cancel") << name;
    const bool map_options = entry.second == kCommandMapOptions;  // the colour map view list and the rest
    EXPECT_EQ(GetDlgItem(dialog, QUELOR_SETUP_NOTE_ID), nullptr) << name;
    EXPECT_EQ(GetDlgItem(dialog, QUELOR_DISPLAY_VIEW_ID) != nullptr, map_options) << name;
    const bool traces = entry.second == kCommandProfilesOptions;  // a width and a colour list per trace
    EXPECT_EQ(GetDlgItem(dialog, QUELOR_TRACE_WIDTH_ID + 7) != nullptr, traces) << name;
    EXPECT_EQ(GetDlgItem(dialog, QUELOR_TRACE_COLOUR_ID) != nullptr, traces) << name;
    DestroyWindow(dialog);
  }
}

using SetupDialogCommands = test::SetupWindowFixture;

// OK saves the settings file; Cancel does not.
TEST_F(SetupDialogCommands, OkSavesTheSettingsAndCancelDoesNot) {
  const struct {
    char key;
    const wchar_t* title;
  } commands[] = {{'S', L"Survey Setup"},   {'T', L"System Setup"},        {'E', L"Geometry Setup"},
                  {'G', L"GPS Port Setup"}, {'M', L"Map Display Options"}, {'P', L"Profiles Options"}};
  for (const auto& c : commands) {
    SCOPED_TRACE(c.key);
    ASSERT_TRUE(DeleteFileW(kSettingsFile));
    {
      test::DialogPresser cancel(c.title, IDCANCEL);
      SendMessageW(main_, WM_KEYDOWN, c.key, 0);
      EXPECT_TRUE(cancel.pressed());
    }
    EXPECT_EQ(GetFileAttributesW(kSettingsFile), INVALID_FILE_ATTRIBUTES);
    {
      test::DialogPresser ok(c.title, IDOK);
      SendMessageW(main_, WM_KEYDOWN, c.key, 0);
      EXPECT_TRUE(ok.pressed());
    }
    EXPECT_NE(GetFileAttributesW(kSettingsFile), INVALID_FILE_ATTRIBUTES);
    // Both leave the setup window to be repainted.
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(main_, &update, FALSE));
    UpdateWindow(main_);
  }
}

// The buttons open the same dialogs as the keys.
TEST_F(SetupDialogCommands, ButtonsOpenTheirDialog) {
  const std::pair<int, const wchar_t*> buttons[] = {{421, L"Survey Setup"},        {422, L"System Setup"},
                                                    {423, L"Geometry Setup"},      {424, L"GPS Port Setup"},
                                                    {426, L"Map Display Options"}, {427, L"Profiles Options"}};
  for (const auto& [id, title] : buttons) {
    test::DialogPresser cancel(title, IDCANCEL);
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main_, id)));
    EXPECT_TRUE(cancel.pressed()) << id;
  }
}

TEST_F(SetupDialogCommands, TemplateNameFollowsTheClientWidth) {
  EXPECT_EQ(setup_dialog_template_name(kCommandSurveySetup), L"SURVEYSETUP31");
  g_screen.client_width = 1000;
  EXPECT_EQ(setup_dialog_template_name(kCommandMapOptions), L"DISPLAYOPTIONS31TRM");
  g_screen.client_width = 700;
  EXPECT_EQ(setup_dialog_template_name(kCommandMapOptions), L"DISPLAYOPTIONS31TRMNARROW");
  g_screen.client_width = 620;
  EXPECT_EQ(setup_dialog_template_name(kCommandSystemSetup), L"SYSTEMNARROW");
  EXPECT_EQ(setup_dialog_template_name(kCommandGpsMonitoring), L"");
}

}  // namespace
}  // namespace quelor
