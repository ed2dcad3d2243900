// Background files drawn into the grid layer of the software tiles: symbols
// and lines continue across tile edges, labels sit right of their symbol,
// and a grid tile made after the load gets its part through the decoration.
#include <gtest/gtest.h>

#include <set>

#include <map>

#include "background/label_font.h"
#include "background/tile_drawing.h"
#include "map/grid.h"
#include "map/raster_tiles.h"

namespace quelor {
namespace {

constexpr int kTile = 20;
const MapFrame kFrame{1000.0, 2000.0, 1.0, kTile, kTile};

PaletteColour grid_pixel(RasterTiles& tiles, WorldCoordinate px, WorldCoordinate py) {
  const TilePixel t = tile_pixel({px, py}, kTile, kTile);
  const Raster* r = tiles.raster(kGridLayer, t.tx, t.ty);
  return r ? r->at(t.x, t.y) : PaletteColour{1, 2, 3};
}

BackgroundPoint at(WorldCoordinate px, WorldCoordinate py, std::string label = {}) {
  return {kFrame.origin_easting + static_cast<double>(px), kFrame.origin_northing + static_cast<double>(py),
          std::move(label), false};
}

void make_grid_tiles(RasterTiles& tiles, int first_column, int last_column) {
  const GridSpec no_lines{};  // spacing 0: no grid lines
  for (int tx = first_column; tx <= last_column; ++tx)
    for (int ty = 999; ty <= 1000; ++ty) make_tile_pair(tiles, no_lines, tx, ty);
}

TEST(BackgroundTiles, SquareAcrossTheTileCornerAndNewTiles) {
  RasterTiles tiles(kTile, kTile);
  make_grid_tiles(tiles, 1001, 1001);  // made before the load
  BackgroundLayer layer;
  layer.plans.push_back(plan_background_drawing({at(20, 0)}, background_style(4, 0), false, kFrame));
  ASSERT_EQ(layer.plans[0].half_size, 3);
  tiles.grid_decoration = [&](Canvas& c, int tx, int ty) {
    draw_background_layer_tile(layer, c, tx, ty, kTile, kTile);
  };
  tiles.for_each(kGridLayer, [&](int tx, int ty, Canvas& c) { tiles.grid_decoration(c, tx, ty); });
  make_grid_tiles(tiles, 1002, 1002);  // made afterwards: decorated when made
  // The fill 17..23 x -3..3 and its 2-pixel outline, which lies one pixel
  // beyond the fill on one side of each axis: an 8 x 8 square.
  for (WorldCoordinate x = 17; x <= 23; ++x)
    for (WorldCoordinate y = -3; y <= 3; ++y) EXPECT_EQ(grid_pixel(tiles, x, y), kBackgroundColour) << x << "," << y;
  int coloured = 0;
  for (WorldCoordinate x = 14; x <= 26; ++x)
    for (WorldCoordinate y = -6; y <= 6; ++y) {
      if (grid_pixel(tiles, x, y) != kBackgroundColour) continue;
      ++coloured;
      EXPECT_TRUE(x >= 16 && x <= 24 && y >= -4 && y <= 4) << x << "," << y;
    }
  EXPECT_EQ(coloured, 64);
}

TEST(BackgroundTiles, JoinedLinesLiftAtBreaksAndSpanTiles) {
  RasterTiles tiles(kTile, kTile);
  make_grid_tiles(tiles, 1001, 1003);
  std::vector<BackgroundPoint> pts = {
      at(2, 10), at(38, 10), {kBreakCoordinate, kBreakCoordinate, "", true}, at(2, 5), at(50, 5)};
  const BackgroundDrawing d = plan_background_drawing(pts, background_style(9, 0), false, kFrame);
  ASSERT_EQ(d.lines.size(), 2u);
  tiles.for_each(kGridLayer, [&](int tx, int ty, Canvas& c) {
    draw_background_tile(c, tx, ty, kTile, kTile, d, kBackgroundColour);
  });
  for (WorldCoordinate x = 2; x < 38; ++x) EXPECT_EQ(grid_pixel(tiles, x, 10), kBackgroundColour) << x;
  EXPECT_EQ(grid_pixel(tiles, 38, 10), kWhite);  // the end point, as with LineTo
  // Across two tile edges (px 20/21 and 40/41).
  for (WorldCoordinate x = 2; x < 50; ++x) EXPECT_EQ(grid_pixel(tiles, x, 5), kBackgroundColour) << x;
  // No line from the end of the first part to the start of the second.
  for (WorldCoordinate y = 6; y <= 9; ++y) EXPECT_EQ(grid_pixel(tiles, 30, y), kWhite) << y;
}

TEST(BackgroundTiles, LabelsRightOfTheirSymbol) {
  RasterTiles tiles(kTile, kTile);
  make_grid_tiles(tiles, 1001, 1003);
  const BackgroundDrawing d = plan_background_drawing({at(5, 10, "MH1")}, background_style(1, 0), true, kFrame);
  ASSERT_EQ(d.labels.size(), 1u);
  tiles.for_each(kGridLayer, [&](int tx, int ty, Canvas& c) {
    draw_background_tile(c, tx, ty, kTile, kTile, d, kBackgroundColour);
  });
  const WorldCoordinate left = d.labels[0].at.x;
  EXPECT_EQ(left, 5 + 2);  // medium: 2 pixels beyond the centre
  const int width = label_text_width("MH1", kLabelScale), height = kLabelGlyphHeight * kLabelScale;
  int inside = 0, outside = 0;
  for (WorldCoordinate x = 0; x < 60; ++x)
    for (WorldCoordinate y = -10; y < 30; ++y) {
      if (grid_pixel(tiles, x, y) != kBackgroundColour) continue;
      // the dot and its 2-pixel outline
      const bool symbol = std::abs(x - 5) <= d.half_size + 2 && std::abs(y - 10) <= d.half_size + 2;
      const bool label = x >= left && x < left + width && y <= 10 + height / 2 && y > 10 - height / 2 - 1;
      (label ? inside : symbol ? inside : outside) += 1;
    }
  EXPECT_GT(inside, 20);  // "MH1" crosses the tile edge at px 20/21 and continues
  EXPECT_EQ(outside, 0);
  bool right_tile = false;
  for (WorldCoordinate x = 21; x < 40; ++x)
    for (WorldCoordinate y = 0; y < 20; ++y) right_tile |= grid_pixel(tiles, x, y) == kBackgroundColour;
  EXPECT_TRUE(right_tile);
}

TEST(BackgroundTiles, LabelOffsetBySymbolSize) {
  for (const auto& [display, offset] : {std::pair{0, 1}, {1, 2}, {2, 3}, {3, 1}, {5, 3}, {8, 3}}) {
    const BackgroundDrawing d = plan_background_drawing({at(5, 10, "A")}, background_style(display, 0), true, kFrame);
    ASSERT_EQ(d.labels.size(), 1u);
    EXPECT_EQ(d.labels[0].at.x, 5 + offset) << display;
  }
}

// Every printable ASCII character has a glyph of its own; other bytes show "?".
TEST(LabelFont, EveryPrintableCharacterHasItsOwnGlyph) {
  const auto pixels = [](char c) {
    std::set<std::pair<int, int>> set;
    draw_label_text(std::string(1, c), 0, 0, 1, [&](int x, int y) { set.insert({x, y}); });
    return set;
  };
  std::map<std::set<std::pair<int, int>>, char> seen;
  for (int code = 0x20; code <= 0x7E; ++code) {
    const char c = static_cast<char>(code);
    EXPECT_TRUE(has_label_glyph(c));
    const auto glyph = pixels(c);
    EXPECT_EQ(c == ' ', glyph.empty()) << c;
    const auto [at, fresh] = seen.emplace(glyph, c);
    EXPECT_TRUE(fresh) << c << " looks like " << at->second;
  }
  EXPECT_EQ(pixels('\x7F'), pixels('?'));
  EXPECT_EQ(pixels('\xE9'), pixels('?'));
  EXPECT_FALSE(has_label_glyph('\t'));
  EXPECT_EQ(label_text_width("a&B", 2), 3 * 4 * 2);
}

}  // namespace
}  // namespace quelor
