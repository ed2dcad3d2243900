#include "shell/fonts.h"

#include <gtest/gtest.h>

#include "variant/variant.h"

namespace quelor {
namespace {

struct FontCase {
  FontId id;
  int height_small, height_large, weight;
  bool italic;
};

TEST(FontTable, HeightsWeightsAndStyles) {
  const FontCase cases[] = {
      {kValueFont, 20, 20, 200, false},
      {kLargeButtonFont, 28, 28, 600, false},
      {kPortraitLargeButtonFont, 24, 24, 600, false},
      {kHugeFont, 48, 48, 800, false},
      {kTextFont, 14, 16, 400, false},
      {kSmallBoldFont, 14, 14, 600, false},
      {kHeadingFont, 14, 16, 700, false},
      {kButtonFont, 18, 18, 600, false},
      {kPlainFont, 16, 16, 400, false},
      {kItalicFont, 18, 18, 400, true},
  };
  auto small = font_table(false);
  auto large = font_table(true);
  for (const FontCase& c : cases) {
    EXPECT_EQ(small[c.id].height, c.height_small) << c.id;
    EXPECT_EQ(large[c.id].height, c.height_large) << c.id;
    EXPECT_EQ(small[c.id].weight, c.weight) << c.id;
    EXPECT_EQ(large[c.id].weight, c.weight) << c.id;
    EXPECT_EQ(small[c.id].italic, c.italic) << c.id;
  }
  EXPECT_EQ(kFontFace, L"Microsoft Sans Serif");
}

TEST(TextLineHeight, CharacterHeightPlusTwo) {
  EXPECT_EQ(text_line_height(16, kEm31Mk2, false, 1274), 18);
  EXPECT_EQ(text_line_height(16, kEm31Mk2, true, 600), 18);
  EXPECT_EQ(text_line_height(16, kEm61Lx2, false, 600), 18);
  EXPECT_EQ(text_line_height(16, kEm61Lx2, true, 640), 18);
}

TEST(TextLineHeight, Em61Lx2NarrowPortraitPacksRows) {
  EXPECT_EQ(text_line_height(16, kEm61Lx2, true, 639), 15);
  EXPECT_EQ(text_line_height(14, kEm61Lx2, true, 100), 13);
}

}  // namespace
}  // namespace quelor
