#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "gui_test_support.h"
#include "platform/win32/message_dialog.h"

namespace quelor {
namespace {

std::wstring item_text(HWND dialog, int id) {
  wchar_t buffer[1100] = {};
  GetDlgItemTextW(dialog, id, buffer, 1100);
  return buffer;
}

// What the timer saw of the open dialog, and the button it then pressed.
struct DialogProbe {
  const wchar_t* title = nullptr;
  int button_to_press = 0;
  bool found = false;
  std::wstring text, caption, button1, button2;
};
DialogProbe* g_probe = nullptr;

void CALLBACK press_button(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", g_probe->title);
  if (!dialog) return;  // not up yet: try at the next tick
  KillTimer(nullptr, timer);
  g_probe->found = true;
  g_probe->text = item_text(dialog, kMessageTextControl);
  g_probe->caption.resize(GetWindowTextLengthW(dialog));
  GetWindowTextW(dialog, g_probe->caption.data(), static_cast<int>(g_probe->caption.size()) + 1);
  g_probe->button1 = item_text(dialog, 1);
  g_probe->button2 = item_text(dialog, 2);
  HWND button = GetDlgItem(dialog, g_probe->button_to_press);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(g_probe->button_to_press, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

struct TemplateCase {
  const wchar_t* name;
  const wchar_t* button1;
  const wchar_t* button2;  // nullptr: no second button
};

const TemplateCase kTemplates[] = {{L"MESSAGEOK", L"OK", nullptr},
                                   {L"MESSAGEOKCANCEL", L"OK", L"Cancel"},
                                   {L"MESSAGEYESNO", L"Yes", L"No"},
                                   {L"MESSAGENOYES", L"No", L"Yes"}};

int run_dialog(const wchar_t* name, const wchar_t* title, const wchar_t* text, int press, DialogProbe& probe) {
  probe = DialogProbe{};
  probe.title = title;
  probe.button_to_press = press;
  g_probe = &probe;
  SetTimer(nullptr, 0, 30, press_button);
  int result = show_message(name, title, text);
  g_probe = nullptr;
  return result;
}

TEST(MessageDialog, ButtonOneGivesOneOnEveryTemplate) {
  QUELOR_REQUIRE_WINDOWS();
  for (const TemplateCase& t : kTemplates) {
    DialogProbe probe;
    const std::wstring title = std::wstring(L"T1 ") + t.name;
    EXPECT_EQ(run_dialog(t.name, title.c_str(), L"Line one\r\nLine two", 1, probe), 1) << t.name;
    EXPECT_TRUE(probe.found) << t.name;
    EXPECT_EQ(probe.caption, title);
    EXPECT_EQ(probe.text, L"Line one\r\nLine two");
    EXPECT_EQ(probe.button1, t.button1) << t.name;
    if (t.button2) {
      EXPECT_EQ(probe.button2, t.button2) << t.name;
    }
    EXPECT_EQ(std::wstring(g_message_title), title);
  }
}

TEST(MessageDialog, ButtonTwoGivesZero) {
  QUELOR_REQUIRE_WINDOWS();
  for (const TemplateCase& t : kTemplates) {
    if (!t.button2) continue;
    DialogProbe probe;
    const std::wstring title = std::wstring(L"T2 ") + t.name;
    EXPECT_EQ(run_dialog(t.name, title.c_str(), L"Question?", 2, probe), 0) << t.name;
    EXPECT_TRUE(probe.found) << t.name;
  }
}

TEST(MessageDialog, TemplatesAreTitledMessage) {
  QUELOR_REQUIRE_WINDOWS();
  auto keep_title = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; };
  for (const TemplateCase& t : kTemplates) {
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), t.name, nullptr, keep_title, 0);
    ASSERT_NE(dialog, nullptr) << t.name;
    wchar_t caption[64] = {};
    GetWindowTextW(dialog, caption, 64);
    EXPECT_STREQ(caption, L"Message") << t.name;
    EXPECT_NE(GetDlgItem(dialog, kMessageTextControl), nullptr) << t.name;
    EXPECT_NE(GetDlgItem(dialog, 1), nullptr) << t.name;
    EXPECT_EQ(GetDlgItem(dialog, 2) != nullptr, t.button2 != nullptr) << t.name;
    DestroyWindow(dialog);
  }
}

TEST(MessageDialog, LongTextIsCutToTheBuffer) {
  QUELOR_REQUIRE_WINDOWS();
  const std::wstring long_text(5000, L'W');
  DialogProbe probe;
  EXPECT_EQ(run_dialog(kMessageOk, L"Long", long_text.c_str(), 1, probe), 1);
  EXPECT_EQ(probe.text, std::wstring(kMessageTextSize - 1, L'W'));
}

TEST(MessageDialog, MissingTemplateIsReportedAsFailure) {
  QUELOR_REQUIRE_WINDOWS();
  EXPECT_EQ(show_message(L"NOSUCHTEMPLATE", L"x", L"y"), -1);
}

}  // namespace
}  // namespace quelor
