// The survey's yes/no questions answered by their first letters.

#include <windows.h>

#include <gtest/gtest.h>

#include "gui_test_support.h"
#include "platform/win32/win32_message_box.h"

namespace quelor {
namespace {

TEST(YesNoLetters, KeyToAnswer) {
  EXPECT_STREQ(yes_no_answer_of_key('Y'), L"Yes");
  EXPECT_STREQ(yes_no_answer_of_key('y'), L"Yes");
  EXPECT_STREQ(yes_no_answer_of_key('N'), L"No");
  EXPECT_STREQ(yes_no_answer_of_key('n'), L"No");
  for (unsigned key : {unsigned('X'), unsigned(VK_RETURN), unsigned(VK_ESCAPE), unsigned('O'), 0u})
    EXPECT_EQ(yes_no_answer_of_key(key), nullptr) << key;
}

// The letter typed into the open dialog (posted to its focused control, as
// the keyboard would), found by its title at the next timer tick.
struct LetterProbe {
  const wchar_t* title;
  WPARAM key;
  bool typed = false;
  int ticks_after = 0;
  bool stuck = false;  // the letter did not close the dialog
};
LetterProbe* g_letter = nullptr;

void CALLBACK type_letter(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", g_letter->title);
  if (!dialog) return;
  if (g_letter->typed) {
    if (++g_letter->ticks_after < 20) return;
    g_letter->stuck = true;  // still open a second later: close it
    KillTimer(nullptr, timer);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);
    return;
  }
  HWND focus = GetDlgItem(dialog, 1);
  PostMessageW(focus ? focus : dialog, WM_KEYDOWN, g_letter->key, 0);
  g_letter->typed = true;
}

struct LetterCase {
  DialogTemplate dialog;
  WPARAM key;
  int result;
};

class YesNoByLetter : public ::testing::TestWithParam<LetterCase> {};

TEST_P(YesNoByLetter, TheLetterPressesItsButton) {
  QUELOR_REQUIRE_WINDOWS();
  const LetterCase c = GetParam();
  LetterProbe probe{L"Confirm Exit", c.key};
  g_letter = &probe;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, type_letter);
  Win32MessageBox box;
  const int result = box.show({"Confirm Exit", "Exit Logging?", c.dialog});
  KillTimer(nullptr, timer);
  g_letter = nullptr;
  EXPECT_TRUE(probe.typed);
  EXPECT_FALSE(probe.stuck);
  EXPECT_EQ(result, c.result);
}

// MESSAGEYESNO: Yes is button 1 (result 1). MESSAGENOYES: No is button 1.
INSTANTIATE_TEST_SUITE_P(Templates, YesNoByLetter,
                         ::testing::Values(LetterCase{DialogTemplate::kYesNo, 'Y', 1},
                                           LetterCase{DialogTemplate::kYesNo, 'N', 0},
                                           LetterCase{DialogTemplate::kNoYes, 'N', 1},
                                           LetterCase{DialogTemplate::kNoYes, 'Y', 0}));

}  // namespace
}  // namespace quelor
