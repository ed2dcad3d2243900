// The raster line that starts stepping where the raster begins sets exactly
// the pixels of the line stepped from its first point to its last.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "map/raster.h"

namespace quelor {
namespace {

// Bresenham's line stepped over its whole length, the end point excluded.
void stepped_line(Raster& r, int x0, int y0, int x1, int y1, PaletteColour c, int width) {
  const long long dx = std::llabs(static_cast<long long>(x1) - x0), dy = -std::llabs(static_cast<long long>(y1) - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  long long err = dx + dy, x = x0, y = y0;
  const int from = -(width / 2);
  while (x != x1 || y != y1) {
    for (int j = 0; j < width; ++j)
      for (int i = 0; i < width; ++i)
        if (std::llabs(x) < 100000 && std::llabs(y) < 100000)
          r.set(static_cast<int>(x) + from + i, static_cast<int>(y) + from + j, c);
    const long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

TEST(RasterLine, SetsThePixelsOfTheWholeSteppedLine) {
  std::mt19937 rng(1212);
  const PaletteColour green{0, 128, 0};
  for (int i = 0; i < 1500; ++i) {
    // Ends near the raster, or far away on either side, or on it.
    const int spread = i % 3 == 0 ? 60 : i % 3 == 1 ? 5000 : 60000;
    const auto end = [&] { return static_cast<int>(rng() % (2 * spread + 1)) - spread + 20; };
    const int x0 = end(), y0 = end(), x1 = end(), y1 = end(), width = 1 + static_cast<int>(rng() % 3);
    Raster fast(40, 30, kWhite), stepped(40, 30, kWhite);
    raster_line(fast, x0, y0, x1, y1, green, width);
    stepped_line(stepped, x0, y0, x1, y1, green, width);
    ASSERT_EQ(fast.rgb, stepped.rgb) << x0 << "," << y0 << " to " << x1 << "," << y1 << " width " << width;
  }
}

}  // namespace
}  // namespace quelor
