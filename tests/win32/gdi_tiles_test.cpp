// The program's map tiles packed out of sight and unpacked when drawn into
// or shown: the pixels and later drawing are as if never packed.

#include "app/map/gdi_tiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quelor {
namespace {

std::vector<std::uint32_t> pixels_of(GdiTiles& tiles, int layer, int tx, int ty) {
  const int w = tiles.tile_width(), h = tiles.tile_height();
  std::vector<std::uint32_t> p(static_cast<std::size_t>(w * h));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HBITMAP b = tiles.bitmap(layer, tx, ty);
  tiles.deselect(b);
  EXPECT_EQ(GetDIBits(tiles.drawing_dc(), b, 0, static_cast<UINT>(h), p.data(), &info, DIB_RGB_COLORS), h);
  return p;
}

void draw(Canvas& c, int shift) {
  c.line(0, shift, 150, 120 - shift, {200, 30, 40}, 3);
  c.disc(60 + shift, 40, 9, {10, 120, 250});
}

TEST(GdiTiles, PackedTilesKeepEveryPixelAndTakeFurtherDrawing) {
  GdiTiles tiles(160, 120), never_packed(160, 120, 100);
  for (int tx = 1000; tx < 1006; ++tx) {
    draw(*tiles.make(kDataLayer, tx, 1000), tx - 1000);
    draw(*never_packed.make(kDataLayer, tx, 1000), tx - 1000);
  }
  const std::vector<std::uint32_t> before = pixels_of(tiles, kDataLayer, 1001, 1000);
  tiles.trim(2);
  EXPECT_EQ(tiles.bitmap_count(), 2u);
  EXPECT_EQ(pixels_of(tiles, kDataLayer, 1001, 1000), before);  // shown again
  draw(*tiles.find(kDataLayer, 1003, 1000), 30);                // drawn into while packed
  draw(*never_packed.find(kDataLayer, 1003, 1000), 30);
  tiles.trim(0);
  EXPECT_EQ(tiles.bitmap_count(), 0u);
  tiles.find(kDataLayer, 1004, 1000)->fill(kWhite);  // whitened while packed, as the whole-map redraw does
  never_packed.find(kDataLayer, 1004, 1000)->fill(kWhite);
  draw(*tiles.find(kDataLayer, 1005, 1000), 50);
  draw(*never_packed.find(kDataLayer, 1005, 1000), 50);
  EXPECT_EQ(tiles.bitmap_count(), 1u);
  for (int tx = 1000; tx < 1006; ++tx)
    EXPECT_EQ(pixels_of(tiles, kDataLayer, tx, 1000), pixels_of(never_packed, kDataLayer, tx, 1000)) << tx;
}

TEST(GdiTiles, DrawingManyTilesHoldsFewBitmapsAtOnce) {
  GdiTiles tiles(160, 120, 2), never_packed(160, 120, 100);
  std::size_t most = 0;
  for (int i = 0; i < 30; ++i) {  // a long walk, then a redraw of every tile
    draw(*tiles.make(kDataLayer, 1000 + i % 15, 1000 + i / 15), i);
    draw(*never_packed.make(kDataLayer, 1000 + i % 15, 1000 + i / 15), i);
    most = std::max(most, tiles.bitmap_count());
  }
  tiles.for_each(kDataLayer, [&](int, int, Canvas& c) {
    draw(c, 7);
    most = std::max(most, tiles.bitmap_count());
  });
  never_packed.for_each(kDataLayer, [&](int, int, Canvas& c) { draw(c, 7); });
  EXPECT_LE(most, 4u);  // two a layer, as after a paint
  EXPECT_EQ(never_packed.bitmap_count(), 30u);
  for (int i = 0; i < 30; ++i)
    EXPECT_EQ(pixels_of(tiles, kDataLayer, 1000 + i % 15, 1000 + i / 15),
              pixels_of(never_packed, kDataLayer, 1000 + i % 15, 1000 + i / 15))
        << i;
}

}  // namespace
}  // namespace quelor
