#include "survey/palette.h"

#include <gtest/gtest.h>

#include "display/display_forms.h"
#include "survey/colour_class.h"
#include "survey/colour_rescale.h"
#include "variant/variant.h"

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

// Readings Scale OK: the map is redrawn when the scale its colour view
// takes its classes from moved, and only then.
TEST(ReadingsScaleRecolour, WhenTheMappedViewsScaleMoves) {
  struct Case {
    InstrumentType type;
    int view;
    bool first_changed;  // else the second group's minimum is changed
    bool recolours;
  };
  const Case cases[] = {
      {kEm31Mk2, 1, true, true},  {kEm31Mk2, 1, false, false}, {kEm31Mk2, 2, false, true},  {kEm31Mk2, 2, true, false},
      {kEm31Mk2, 0, true, false}, {kEm38Mk2, 4, false, true},  {kEm38Mk2, 3, false, false}, {kEm38_4, 6, false, true},
      {kCs21, 1, true, true},     {kEm61Mk2, 3, true, true},   {kGrad601, 1, true, true},   {kEm34_3, 1, true, true},
  };
  for (const Case& c : cases) {
    Settings before;
    before.colour_map_view = c.view;
    ReadingsScaleForm form = readings_scale_form(before, c.type);
    if (c.first_changed)
      form.first[0] += 10.0;
    else
      form.second[0] += 1.0;
    Settings after = before;
    store_readings_scale(form, after);
    EXPECT_EQ(readings_scale_recolours_map(before, after, c.type), c.recolours) << c.type << " view " << c.view;
    // OK without a change redraws nothing.
    Settings same = before;
    store_readings_scale(readings_scale_form(before, c.type), same);
    EXPECT_FALSE(readings_scale_recolours_map(before, same, c.type)) << c.type;
  }
}

}  // namespace
}  // namespace quelor
