#include "shell/main_window_geometry.h"

#include <gtest/gtest.h>

namespace quelor {
namespace {

struct GeometryCase {
  int screen_width, screen_height;
  int width, height, x, y;
  bool portrait;
};

class MainWindowGeometryTest : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(MainWindowGeometryTest, SizeAndPosition) {
  const GeometryCase& c = GetParam();
  MainWindowGeometry g = main_window_geometry(c.screen_width, c.screen_height);
  EXPECT_EQ(g.width, c.width);
  EXPECT_EQ(g.height, c.height);
  EXPECT_EQ(g.x, c.x);
  EXPECT_EQ(g.y, c.y);
  EXPECT_EQ(g.portrait, c.portrait);
}

INSTANTIATE_TEST_SUITE_P(Screens, MainWindowGeometryTest,
                         ::testing::Values(
                             // Full HD landscape: clamped to 1280 x 762 and centred.
                             GeometryCase{1920, 1080, 1280, 762, 320, 140, false},
                             // Neither clamp fires.
                             GeometryCase{1024, 768, 1024, 730, 0, 0, false},
                             // Full HD portrait: clamped to 800 x 1242.
                             GeometryCase{1080, 1920, 800, 1242, 140, 320, true},
                             // The Xvfb screen of the tests: exactly the landscape maximum.
                             GeometryCase{1280, 800, 1280, 762, 0, 0, false},
                             // One pixel wider than the maximum: both sides set together.
                             GeometryCase{1281, 800, 1280, 762, 0, 0, false},
                             // Small landscape screen: raised to 800 x 562, never negative.
                             GeometryCase{640, 480, 800, 562, 0, 0, false},
                             // Only the height too small: both set together to the minimum.
                             GeometryCase{900, 590, 800, 562, 50, 0, false},
                             // Small portrait screen: raised to 640 x 986.
                             GeometryCase{600, 1000, 640, 986, 0, 0, true},
                             // Portrait within limits.
                             GeometryCase{768, 1100, 768, 1062, 0, 0, true},
                             // Square after the allowance counts as portrait (height not < width),
                             // then too short for portrait: raised to 640 x 986, y clipped to 0.
                             GeometryCase{800, 838, 640, 986, 80, 0, true},
                             // Portrait width above 800 alone triggers the upper clamp.
                             GeometryCase{900, 1200, 800, 1242, 50, 0, true},
                             // Odd differences are divided towards zero.
                             GeometryCase{1921, 1081, 1280, 762, 320, 140, false}));

TEST(LargeScreen, PortraitDependsOnHeightOnly) {
  EXPECT_FALSE(is_large_screen(true, 2000, 1000));
  EXPECT_TRUE(is_large_screen(true, 100, 1001));
}

TEST(LargeScreen, LandscapeWidthOrHeight) {
  EXPECT_FALSE(is_large_screen(false, 1024, 900));
  EXPECT_TRUE(is_large_screen(false, 1025, 100));
  EXPECT_TRUE(is_large_screen(false, 100, 901));
  // The 1280 x 762 window of a full HD screen has a client wider than 1024.
  EXPECT_TRUE(is_large_screen(false, 1274, 733));
}

}  // namespace
}  // namespace quelor
