#include "shell/setup_keys.h"

#include <gtest/gtest.h>

#include "shell/uptime.h"

namespace quelor {
namespace {

constexpr std::uint64_t kTab = 0x09, kEnter = 0x0D, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28,
                        kSpace = 0x20, kF9 = 0x78;

TEST(SetupKeys, ButtonIdsGiveTheirCommand) {
  for (int i = 0; i < 10; ++i) {
    // BN_CLICKED in the high word does not matter.
    SetupCommandDecision d = decode_setup_command(0, true, 420 + i);
    EXPECT_EQ(d.command, i);
    EXPECT_EQ(d.focused_button, 0);
  }
  EXPECT_EQ(decode_setup_command(0, true, (0x0005ull << 16) | 429).command, kCommandExit);
}

TEST(SetupKeys, IdsOutsideTheButtonsDoNothing) {
  for (std::uint64_t id : {419ull, 430ull, 4ull, 780ull, 0ull})
    EXPECT_EQ(decode_setup_command(3, true, id).command, kNoCommand) << id;
}

TEST(SetupKeys, LetterTable) {
  const std::pair<char, int> table[] = {{'L', 0}, {'S', 1}, {'T', 2}, {'E', 3}, {'G', 4},
                                        {'O', 5}, {'M', 6}, {'P', 7}, {'R', 8}, {'X', 9}};
  for (auto [key, command] : table) {
    SetupCommandDecision d = decode_setup_command(4, true, static_cast<std::uint64_t>(key));
    EXPECT_EQ(d.command, command) << key;
    EXPECT_EQ(d.focused_button, 4) << key;
  }
}

TEST(SetupKeys, OtherKeysDoNothing) {
  for (std::uint64_t key : {kSpace, kF9, std::uint64_t{'A'}, std::uint64_t{'x'}, std::uint64_t{'Z'}})
    EXPECT_EQ(decode_setup_command(2, true, key).command, kNoCommand) << key;
}

TEST(SetupKeys, RightNineTimesReachesExitThenWraps) {
  int focused = 0;
  for (int i = 0; i < 9; ++i) {
    SetupCommandDecision d = decode_setup_command(focused, true, kRight);
    EXPECT_EQ(d.command, kNoCommand);
    focused = d.focused_button;
  }
  EXPECT_EQ(focused, 9);
  EXPECT_EQ(decode_setup_command(focused, true, kEnter).command, kCommandExit);
  EXPECT_EQ(decode_setup_command(focused, true, kRight).focused_button, 0);
}

TEST(SetupKeys, TabAndDownMoveForwardLeftAndUpBack) {
  EXPECT_EQ(decode_setup_command(3, true, kTab).focused_button, 4);
  EXPECT_EQ(decode_setup_command(3, true, kDown).focused_button, 4);
  EXPECT_EQ(decode_setup_command(3, true, kLeft).focused_button, 2);
  EXPECT_EQ(decode_setup_command(3, true, kUp).focused_button, 2);
  EXPECT_EQ(decode_setup_command(0, true, kLeft).focused_button, 9);
  EXPECT_EQ(decode_setup_command(0, true, kUp).focused_button, 9);
}

TEST(SetupKeys, EnterPressesTheFocusedButton) {
  for (int i = 0; i < 10; ++i) EXPECT_EQ(decode_setup_command(i, true, kEnter).command, i);
}

TEST(SetupKeys, KeysAreIgnoredWhileAnotherWindowIsInFront) {
  // While logging, L typed into the setup window does not start a second survey.
  EXPECT_EQ(decode_setup_command(0, false, 'L').command, kNoCommand);
  EXPECT_EQ(decode_setup_command(0, false, kEnter).command, kNoCommand);
  EXPECT_EQ(decode_setup_command(5, false, kRight).focused_button, 5);
}

TEST(Uptime, TwentyDayLimit) {
  EXPECT_FALSE(uptime_exceeded(0));
  EXPECT_FALSE(uptime_exceeded(1728000000u));
  EXPECT_TRUE(uptime_exceeded(1728000001u));
  EXPECT_TRUE(uptime_exceeded(0xFFFFFFFFu));
  EXPECT_EQ(kUptimeStopTitle, L"Program Stop");
  EXPECT_NE(kUptimeStopText.find(L"20 days.\r\nPlease restart"), std::wstring_view::npos);
  EXPECT_TRUE(kUptimeStopText.ends_with(L"Use RESTART not SHUT DOWN."));
}

}  // namespace
}  // namespace quelor
