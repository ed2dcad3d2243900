#include "survey/palette.h"

#include <gtest/gtest.h>

#include "survey/colour_class.h"

namespace quelor {
namespace {

TEST(Palette, LowReadingsBlueHighMagentaLastWhite) {
  EXPECT_EQ(colour_palette().size(), 51u);
  EXPECT_EQ(palette_colour(colour_class(-1e9, 0.0, 500.0)), (PaletteColour{32, 0, 255}));
  EXPECT_EQ(palette_colour(colour_class(1e9, 0.0, 500.0)), (PaletteColour{255, 0, 255}));
  EXPECT_EQ(palette_colour(colour_class(250.0, 0.0, 500.0)), (PaletteColour{64, 255, 0}));  // class 25
  EXPECT_EQ(palette_colour(kPaletteWhite), (PaletteColour{255, 255, 255}));
  EXPECT_EQ(palette_colour(-1), palette_colour(kPaletteWhite));
  EXPECT_EQ(palette_colour(50), palette_colour(kPaletteWhite));
}

TEST(Palette, ColoursRunBlueCyanGreenYellowRed) {
  // Each landmark class of the scale has its pure colour.
  EXPECT_EQ(palette_colour(4), (PaletteColour{0, 0, 255}));
  EXPECT_EQ(palette_colour(13), (PaletteColour{0, 255, 255}));
  EXPECT_EQ(palette_colour(22), (PaletteColour{0, 255, 0}));
  EXPECT_EQ(palette_colour(31), (PaletteColour{255, 255, 0}));
  EXPECT_EQ(palette_colour(42), (PaletteColour{255, 0, 0}));
  // No class but the last entry is white, and no two neighbours are equal.
  for (int c = 0; c < kPaletteWhite; ++c) {
    EXPECT_NE(palette_colour(c), palette_colour(kPaletteWhite)) << c;
    if (c > 0) {
      EXPECT_NE(palette_colour(c), palette_colour(c - 1)) << c;
    }
  }
}

TEST(Palette, Em38_4CalibrationTexts) {
  EXPECT_STREQ(em38_4_calibration_text(0), "Calib: OFF");
  EXPECT_STREQ(em38_4_calibration_text(1), "Calib: ON");
  EXPECT_STREQ(em38_4_calibration_text(2), "Calib/Offset: ON");
}

}  // namespace
}  // namespace quelor
