// Pixel-exact pictures of what the painter draws, on 8 x 8 tiles composed as
// the map window composes them (grid copied, data ANDed). '.' white, '+'
// grid grey, '#' the position colour, 'A'.. the colour classes 0...
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map/raster_tiles.h"
#include "map/segment_buffer.h"
#include "map/strip.h"

namespace quelor {
namespace {

constexpr int T = 8;
constexpr PaletteColour kPosition{255, 0, 200};  // not a palette colour

char pixel_char(PaletteColour c) {
  if (c == kWhite) return '.';
  if (c == kGridGrey) return '+';
  if (c == kPosition) return '#';
  for (int k = 0; k < 50; ++k)
    if (c == class_pen_colour(k)) return static_cast<char>(k < 26 ? 'A' + k : 'a' + k - 26);
  return '?';
}

// Columns 999..1002, rows 1001..998: world px -15..16, py 16..-16.
std::string picture(RasterTiles& tiles) {
  const Raster r = compose_range(tiles, TileRange{false, 999, 1002, 998, 1001});
  std::string out = "\n";
  for (int y = 0; y < r.height; ++y) {
    for (int x = 0; x < r.width; ++x) out += pixel_char(r.at(x, y));
    out += '\n';
  }
  return out;
}

// Only the rows and columns that hold something, to keep the goldens short.
std::string crop(const std::string& full) {
  std::vector<std::string> rows;
  std::size_t at = 1;
  while (at < full.size()) {
    const std::size_t end = full.find('\n', at);
    rows.push_back(full.substr(at, end - at));
    at = end + 1;
  }
  std::size_t top = rows.size(), bottom = 0, left = rows[0].size(), right = 0;
  for (std::size_t y = 0; y < rows.size(); ++y)
    for (std::size_t x = 0; x < rows[y].size(); ++x)
      if (rows[y][x] != '.') {
        top = std::min(top, y), bottom = std::max(bottom, y);
        left = std::min(left, x), right = std::max(right, x);
      }
  std::string out = "\n";
  for (std::size_t y = top; y <= bottom && top <= bottom; ++y) out += rows[y].substr(left, right - left + 1) + '\n';
  return out;
}

const GridSpec kNoGrid{kGridSquare, 0.0, 0.0};

TEST(StripGolden, DotsOfSizeZeroAndThreeAreRepeatedAcrossTileEdges) {
  RasterTiles tiles(T, T);
  // The origin is the last pixel of column 1000, row 1000: a 2 x 2 dot spans four tiles.
  draw_position_mark(tiles, kNoGrid, {{0, 0}, {0, 0}}, 0, kPosition, false);
  draw_position_mark(tiles, kNoGrid, {{9, -8}, {9, -8}}, 3, kPosition, false);
  EXPECT_EQ(tiles.touched(), (TileRange{false, 1000, 1002, 998, 1000}));
  EXPECT_EQ(crop(picture(tiles)),
            "\n"
            "##............\n"
            "##............\n"
            "..............\n"
            "..............\n"
            "..............\n"
            "........####..\n"
            ".......######.\n"
            "......########\n"
            "......########\n"
            "......########\n"
            "......########\n"
            ".......######.\n"
            "........####..\n");
}

TEST(StripGolden, BarsWithThinAndMediumPens) {
  RasterTiles tiles(T, T);
  draw_position_mark(tiles, kNoGrid, {{-3, 4}, {4, 4}}, 4, kPosition, false);
  draw_position_mark(tiles, kNoGrid, {{-3, 0}, {4, -3}}, 5, kPosition, false);
  EXPECT_EQ(crop(picture(tiles)),
            "\n"
            ".#######\n"
            "........\n"
            "........\n"
            "###.....\n"
            "#####...\n"
            "..#####.\n"
            "....####\n"
            "......##\n");
}

TEST(StripGolden, StripAcrossAVerticalTileBorder) {
  RasterTiles tiles(T, T);
  const std::vector<int> row{2, 5, 9};
  const StripResult r = draw_colour_strip(tiles, kNoGrid, {{-4, 3}, {-4, -3}}, {{4, 3}, {4, -3}}, row, false);
  EXPECT_EQ(r.lines, 8);
  EXPECT_EQ(crop(picture(tiles)),
            "\n"
            "CCCFFFJJJ\n"
            "CCCFFFJJJ\n"
            "CCCFFFJJJ\n"
            "CCCFFFJJJ\n"
            "CCCFFFJJJ\n"
            "CCCFFFJJJ\n"
            "CCCFFFJJJ\n");
}

TEST(StripGolden, StripAcrossAHorizontalTileBorderWithOneReading) {
  RasterTiles tiles(T, T);
  const std::vector<int> row{30};  // q = 0: the whole strip in that reading's colour
  const StripResult r = draw_colour_strip(tiles, kNoGrid, {{2, 4}, {6, 4}}, {{2, -3}, {6, -3}}, row, false);
  EXPECT_EQ(r.lines, 7);
  EXPECT_EQ(crop(picture(tiles)),
            "\n"
            "eeeee\n"
            "eeeee\n"
            "eeeee\n"
            "eeeee\n"
            "eeeee\n"
            "eeeee\n"
            "eeeee\n"
            "eeeee\n");
}

TEST(StripGolden, DiagonalStripThroughTheCornerTileWithTwoSensors) {
  RasterTiles tiles(T, T);
  const std::vector<int> row{segment_pair_entry(1, 40), segment_pair_entry(3, 45)};
  const StripResult r = draw_colour_strip(tiles, kNoGrid, {{-6, 1}, {-2, -3}}, {{2, 9}, {6, 5}}, row, true);
  EXPECT_EQ(r.lines, 11);
  EXPECT_EQ(crop(picture(tiles)),
            "\n"
            "........D...\n"
            "........DD..\n"
            ".....DDDDtt.\n"
            "....DDDDtttt\n"
            "...BDDDDtttt\n"
            "..BBBDttttt.\n"
            ".BBBBotttt..\n"
            "BBBBooott...\n"
            "BBBooooo....\n"
            ".BBoooo.....\n"
            "..oooo......\n"
            "...oo.......\n");
}

TEST(StripGolden, ShortStripsAndJumps) {
  RasterTiles tiles(T, T);
  const std::vector<int> row{7};
  EXPECT_EQ(draw_colour_strip(tiles, kNoGrid, {{1, 1}, {1, -3}}, {{4, 1}, {4, -3}}, row, false).lines, 3);
  EXPECT_EQ(draw_colour_strip(tiles, kNoGrid, {{1, 1}, {1, -3}}, {{1, 1}, {1, -3}}, row, false).lines, 0);
  EXPECT_EQ(draw_colour_strip(tiles, kNoGrid, {{1, 1}, {1, -3}}, {{5, 1}, {5, -3}}, {}, false).lines, 0);
  const StripResult jump =
      draw_colour_strip(tiles, kNoGrid, {{1, 1}, {1, -3}}, {{2 * T + 2, 1}, {2 * T + 2, -3}}, row, false);
  EXPECT_TRUE(jump.skipped);
  EXPECT_EQ(jump.lines, 0);
}

}  // namespace
}  // namespace quelor
