#include "shell/setup_buttons.h"

#include <gtest/gtest.h>

#include <set>

#include "variant/variant.h"

namespace quelor {
namespace {

TEST(SetupButtons, IdsRunFrom420To429) {
  for (int i = 0; i < kSetupButtonCount; ++i) EXPECT_EQ(setup_button_id(i), 420 + i);
}

TEST(SetupButtons, TextsInIdOrder) {
  const wchar_t* expected[] = {
      L"&Logging",        L"&Survey Setup", L"Sys&tem Setup",     L"G&eometry Setup",   L"&GPS Port Setup",
      L"GPS M&onitoring", L"&Map Options",  L"&Profiles Options", L"&Reset to Default", L"E&xit"};
  for (int i = 0; i < kSetupButtonCount; ++i)
    EXPECT_EQ(setup_button_text(i, kEm31Mk2), std::wstring_view(expected[i])) << i;
}

TEST(SetupButtons, Em61Lx2FourthButtonIsAlarmsSetup) {
  EXPECT_EQ(setup_button_text(3, kEm61Lx2), L"Alarms S&etup");
  for (const VariantRow& row : variant_table()) {
    if (row.instrument_type == kEm61Lx2) continue;
    EXPECT_EQ(setup_button_text(3, row.instrument_type), L"G&eometry Setup") << row.instrument;
  }
  // Only the fourth differs.
  for (int i = 0; i < kSetupButtonCount; ++i) {
    if (i == 3) continue;
    EXPECT_EQ(setup_button_text(i, kEm61Lx2), setup_button_text(i, kEm31Mk2));
  }
}

TEST(SetupButtons, EveryTextHasOneDistinctAccelerator) {
  std::set<wchar_t> letters;
  for (int i = 0; i < kSetupButtonCount; ++i) {
    std::wstring_view t = setup_button_text(i, kEm31Mk2);
    size_t amp = t.find(L'&');
    ASSERT_NE(amp, std::wstring_view::npos) << i;
    EXPECT_EQ(t.find(L'&', amp + 1), std::wstring_view::npos) << i;
    letters.insert(static_cast<wchar_t>(towupper(t[amp + 1])));
  }
  EXPECT_EQ(letters, (std::set<wchar_t>{L'L', L'S', L'T', L'E', L'G', L'O', L'M', L'P', L'R', L'X'}));
}

TEST(SetupButtons, OutOfRangeIndexHasNoText) {
  EXPECT_TRUE(setup_button_text(-1, kEm31Mk2).empty());
  EXPECT_TRUE(setup_button_text(10, kEm31Mk2).empty());
}

TEST(SetupButtonLayout, InitialColumnUsesTheCreateHeight) {
  ButtonLayout l = initial_button_column(1274, 733);
  for (int i = 0; i < kSetupButtonCount; ++i) EXPECT_EQ(l[i], (ButtonRect{1074, 30 + i * 50, 170, 47})) << i;
  // Small clients keep the minimum height of 36.
  EXPECT_EQ(initial_button_column(794, 500)[9], (ButtonRect{594, 30 + 9 * 39, 170, 36}));
}

TEST(SetupButtonLayout, PortraitThreeRows) {
  ButtonLayout l = setup_button_layout(true, 800, 1200);
  // w = 751 / 4 = 187, top = 660, h = (1200 - 660 - 36) / 3 = 168
  EXPECT_EQ(l[1], (ButtonRect{20, 660, 187, 168}));
  EXPECT_EQ(l[2], (ButtonRect{210, 660, 187, 168}));
  EXPECT_EQ(l[3], (ButtonRect{400, 660, 187, 168}));
  EXPECT_EQ(l[4], (ButtonRect{590, 660, 187, 168}));
  EXPECT_EQ(l[5], (ButtonRect{20, 831, 187, 168}));
  EXPECT_EQ(l[8], (ButtonRect{590, 831, 187, 168}));
  EXPECT_EQ(l[9], (ButtonRect{20, 1002, 187, 168}));
  EXPECT_EQ(l[0], (ButtonRect{210, 1002, 567, 168}));
  // "&Logging" ends where the fourth column ends.
  EXPECT_EQ(l[0].x + l[0].width, l[4].x + l[4].width);
}

TEST(SetupButtonLayout, PortraitTopIsTruncated) {
  // 0.55 * 1001 = 550.55 -> 550; h = (1001 - 550 - 36) / 3 = 138
  ButtonLayout l = setup_button_layout(true, 640, 1001);
  EXPECT_EQ(l[1].y, 550);
  EXPECT_EQ(l[1].height, 138);
  // A short portrait client keeps 36-pixel buttons.
  EXPECT_EQ(setup_button_layout(true, 640, 150)[1].height, 36);
}

TEST(SetupButtonLayout, WideLandscapeTwoColumns) {
  ButtonLayout l = setup_button_layout(false, 1274, 733);
  // w = 212, left = 1274 - 424 - 33 = 817, h = (733 - 172) / 5 = 112
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(l[row], (ButtonRect{817, 30 + row * 115, 212, 112})) << row;
    EXPECT_EQ(l[5 + row], (ButtonRect{1032, 30 + row * 115, 212, 112})) << row;
  }
}

TEST(SetupButtonLayout, NarrowLandscapeOneColumn) {
  ButtonLayout l = setup_button_layout(false, 999, 555);
  // h = max(36, 348 / 10 = 34) = 36
  for (int i = 0; i < kSetupButtonCount; ++i) EXPECT_EQ(l[i], (ButtonRect{799, 30 + i * 39, 170, 36})) << i;
  EXPECT_EQ(setup_button_layout(false, 999, 757)[0].height, 55);
}

TEST(SetupButtonLayout, VeryShortPortraitFallsBackToOneColumn) {
  ButtonLayout l = setup_button_layout(true, 640, 109);
  EXPECT_EQ(l[0], (ButtonRect{440, 30, 170, 36}));
  EXPECT_EQ(l[9], (ButtonRect{440, 30 + 9 * 39, 170, 36}));
}

// Whatever the client, no two buttons overlap.
TEST(SetupButtonLayout, ButtonsNeverOverlap) {
  auto overlap = [](const ButtonRect& a, const ButtonRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
  };
  for (bool portrait : {false, true})
    for (int w = 600; w <= 1600; w += 97)
      for (int h = 80; h <= 1600; h += 89) {
        ButtonLayout l = setup_button_layout(portrait, w, h);
        for (int i = 0; i < kSetupButtonCount; ++i) {
          EXPECT_GT(l[i].width, 0);
          EXPECT_GE(l[i].height, 36);
          for (int j = i + 1; j < kSetupButtonCount; ++j)
            EXPECT_FALSE(overlap(l[i], l[j])) << portrait << " " << w << "x" << h << " " << i << "," << j;
        }
      }
}

TEST(SetupButtonFont, LargeFontsAbove1100) {
  EXPECT_EQ(setup_button_font(false, 1274, 733), ButtonFontChoice::kLargeButton);
  EXPECT_EQ(setup_button_font(false, 1100, 733), ButtonFontChoice::kButton);
  EXPECT_EQ(setup_button_font(false, 1101, 500), ButtonFontChoice::kLargeButton);
  EXPECT_EQ(setup_button_font(true, 794, 1213), ButtonFontChoice::kPortraitLargeButton);
  EXPECT_EQ(setup_button_font(true, 794, 1100), ButtonFontChoice::kButton);
  EXPECT_EQ(setup_button_font(true, 1101, 900), ButtonFontChoice::kPortraitLargeButton);
}

}  // namespace
}  // namespace quelor
