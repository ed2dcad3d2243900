// Properties over many inputs: whatever the screen or the message, the
// results stay inside what the windows can show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "shell/main_window_geometry.h"
#include "shell/setup_keys.h"

namespace quelor {
namespace {

TEST(GeometryProperties, SizeWithinTheClampsAndNeverOffScreenTopLeft) {
  std::mt19937 rng(20261208);
  std::uniform_int_distribution<int> side(200, 4000);
  for (int i = 0; i < 20000; ++i) {
    const int sw = side(rng), sh = side(rng);
    const MainWindowGeometry g = main_window_geometry(sw, sh);
    ASSERT_GE(g.x, 0);
    ASSERT_GE(g.y, 0);
    if (g.portrait) {
      ASSERT_TRUE((g.width >= 640 && g.width <= 800 && g.height >= 986 && g.height <= 1242)) << sw << "x" << sh;
    } else {
      ASSERT_TRUE((g.width >= 800 && g.width <= 1280 && g.height >= 562 && g.height <= 762)) << sw << "x" << sh;
    }
    // Portrait exactly when the usable height is not below the width.
    ASSERT_EQ(g.portrait, !(sh - kTaskbarAllowance < sw));
    // Centred: equal margins (within one pixel) when the window fits.
    if (g.width <= sw && g.x > 0) {
      ASSERT_LE(std::abs((sw - g.width - g.x) - g.x), 1);
    }
  }
}

TEST(KeyProperties, AnyMessageGivesAButtonAndACommandInRange) {
  std::mt19937_64 rng(42);
  for (int i = 0; i < 50000; ++i) {
    const std::uint64_t w = (i % 2) ? rng() : (rng() & 0x1FF);
    const int focused = static_cast<int>(rng() % 10);
    const bool front = (rng() & 1) != 0;
    const SetupCommandDecision d = decode_setup_command(focused, front, w);
    ASSERT_GE(d.focused_button, 0);
    ASSERT_LT(d.focused_button, 10);
    ASSERT_GE(d.command, kNoCommand);
    ASSERT_LT(d.command, 10);
    if (!front) {
      ASSERT_EQ(d.focused_button, focused);
    }
    // A command and a focus move never come from the same message.
    if (d.focused_button != focused) {
      ASSERT_EQ(d.command, kNoCommand);
    }
  }
}

}  // namespace
}  // namespace quelor
