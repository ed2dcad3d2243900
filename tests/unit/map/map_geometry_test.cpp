#include "map/map_geometry.h"

#include <gtest/gtest.h>

#include "map/colour_class.h"
#include "map/grid.h"
#include "map/map_view.h"
#include "map/raster_tiles.h"

namespace quelor {
namespace {

TEST(MapGeometry, WorldPixelsRoundHalfUpOnBothSidesOfTheOrigin) {
  MapFrame f;
  f.pixels_per_unit = 10.0;
  struct Case {
    double e, n;
    WorldCoordinate px, py;
  };
  // West and south of the origin too: every x in [-0.5, 0.5) gives 0.
  for (const Case& c :
       {Case{0.0, 0.0, 0, 0}, Case{0.04, -0.04, 0, 0}, Case{0.05, -0.05, 1, 0}, Case{-0.06, 0.06, -1, 1},
        Case{-0.15, -0.16, -1, -2}, Case{-0.25, 0.25, -2, 3}, Case{1e300, -1e300, 1099511627776, -1099511627776}}) {
    const WorldPixel p = world_pixel(f, c.e, c.n);
    EXPECT_EQ(p.x, c.px) << c.e;
    EXPECT_EQ(p.y, c.py) << c.n;
  }
}

TEST(MapGeometry, TilesByFloorDivisionWithNonNegativeRemainders) {
  struct Case {
    WorldCoordinate px, py;
    TilePixel t;
  };
  constexpr int W = 400, H = 400;
  for (const Case& c : {
           Case{0, 0, {1000, 1000, 399, 399}},  // the origin: last column, bottom row
           Case{1, 0, {1001, 1000, 0, 399}},    // px 1..W in column 1001
           Case{400, 399, {1001, 1000, 399, 0}}, Case{-399, -1, {1000, 999, 0, 0}},  // px -(W-1)..0 in column 1000
           Case{-400, -400, {999, 999, 399, 399}}, Case{401, 400, {1002, 1001, 0, 399}},
           Case{-400801, 800000, {-1, 2000, 398, 399}},  // far outside: clamped out of the grid
       }) {
    EXPECT_EQ(tile_pixel({c.px, c.py}, W, H), c.t) << c.px << "," << c.py;
    const TilePixel t = tile_pixel({c.px, c.py}, W, H);
    if (tile_in_grid(t.tx, t.ty)) {
      const WorldPixel o = tile_origin(t.tx, t.ty, W, H);
      EXPECT_EQ(o.x + t.x, c.px);
      EXPECT_EQ(o.y - t.y, c.py);
    }
  }
  EXPECT_FALSE(tile_in_grid(-1, 5));
  EXPECT_FALSE(tile_usable(2, 1000));
  EXPECT_TRUE(tile_usable(1996, 3));
}

TEST(MapGeometry, ColourClassesOfTheScale) {
  struct Case {
    double v;
    int c;
  };
  for (const Case& c : {Case{0, 0}, Case{9.99, 0}, Case{10, 1}, Case{250, 25}, Case{499.9, 49}, Case{500, 49},
                        Case{1e9, 49}, Case{-3, 0}})
    EXPECT_EQ(colour_class(c.v, 0, 500), c.c) << c.v;
  EXPECT_EQ(class_pen_colour(-7), class_pen_colour(0));
  EXPECT_EQ(class_pen_colour(50), class_pen_colour(49));  // never the white entry
  EXPECT_EQ(palette_colour(50), kWhite);
}

TEST(MapGrid, ModesSpacingAndGuards) {
  struct Case {
    double interval;
    bool parallel;
    double angle;
    int mode;
    double spacing;
  };
  for (const Case& c : {Case{2.0, false, 30, kGridSquare, 20.0}, Case{2.0, true, 0, kGridVertical, 20.0},
                        Case{2.0, true, 180, kGridVertical, 20.0}, Case{2.0, true, -180, kGridVertical, 20.0},
                        Case{2.0, true, 90, kGridAngled, 20.0}, Case{2.0, true, 30, kGridAngled, 40.0},
                        Case{2.0, true, -30, kGridAngledNegative, 40.0}, Case{0.1, false, 0, kGridSquare, 5.0}}) {
    const GridSpec g = grid_spec(c.interval, c.parallel, c.angle, 10.0);
    EXPECT_EQ(g.mode, c.mode) << c.angle;
    EXPECT_NEAR(g.spacing, c.spacing, 1e-6) << c.angle;
  }
  // 90 degrees: horizontal lines every interval x k; 0: vertical lines only.
  RasterCanvas tile(40, 40);
  EXPECT_EQ(draw_grid_tile(tile, grid_spec(1.0, true, 90, 10.0), 1001, 1000, 40, 40), 5);  // py 0..40
  EXPECT_EQ(tile.raster().at(5, 39), kGridGrey);  // py = 0, the tile's bottom row
  EXPECT_EQ(tile.raster().at(5, 29), kGridGrey);  // py = 10
  EXPECT_EQ(tile.raster().at(5, 30), kWhite);
  EXPECT_EQ(draw_grid_tile(tile, grid_spec(1.0, true, 0, 10.0), 1001, 1000, 40, 40), 4);
  EXPECT_EQ(tile.raster().at(9, 3), kGridGrey);  // px = 10
  EXPECT_EQ(tile.raster().at(10, 39), kWhite);
  // A spacing far below one pixel stops at 10,000 lines per loop.
  EXPECT_EQ(draw_grid_tile(tile, GridSpec{kGridSquare, 0.001, 0}, 1001, 1000, 40, 40), 2 * kMaximumGridLines);
}

TEST(MapView, ZoomPanAndFitSizes) {
  struct Zoom {
    long size, in, out;
  };
  for (const Zoom& z : {Zoom{1, 1, 2}, Zoom{40, 38, 42}, Zoom{10, 9, 11}, Zoom{2, 1, 3}}) {
    EXPECT_EQ(zoom_in_size(z.size), z.in);
    EXPECT_EQ(zoom_out_size(z.size), z.out);
  }
  EXPECT_EQ(pan_step(76), 7);
  MapExtents point{false, 5, 5, 7, 7};
  EXPECT_EQ(fit_size(point, 1), 10);
  MapExtents wide{false, 0, 100, 0, 30};
  EXPECT_EQ(fit_size(wide, 1), static_cast<long>(100.5 * 1.1 + 10));
  EXPECT_EQ(cursor_band_width(1, 506), 75);
}

class MapViewTest : public ::testing::Test {
 protected:
  static constexpr int W = 400;
  MapState map = make_map_state(W, W, 40, grid_spec(2, false, 0, 10), 76);
  RasterTiles tiles{W, W};
};

TEST_F(MapViewTest, FirstPositionIsCentredWhateverItsCoordinates) {
  map.frame.origin_easting = 654321.25;
  map.frame.origin_northing = 5432100.75;
  const PositionStep s = map_position(map, tiles, 654321.25, 5432100.75);
  EXPECT_TRUE(s.first);
  EXPECT_EQ(map.cursor_x, W / 2 - 1);
  EXPECT_EQ(map.cursor_y, W / 2 - 1);
  EXPECT_EQ(map.live.right, map.live.left + W);
  EXPECT_EQ(map.live.bottom, map.live.top - W);
  EXPECT_EQ(map.live.tx, 1000);
  EXPECT_EQ(map.live.ty, 1000);
  EXPECT_EQ(map.live.ox, W / 2);
  EXPECT_EQ(map.live.oy, W / 2);
  EXPECT_EQ(tiles.touched(), (TileRange{false, 1000, 1001, 999, 1000}));
  EXPECT_EQ(tiles.tile_count(kGridLayer), 4u);
  EXPECT_EQ(tiles.tile_count(kDataLayer), 4u);
}

TEST_F(MapViewTest, CursorBandScrollsByTheWholeDisplacement) {
  map_position(map, tiles, 0, 0);
  // Inside the central area: no scrolling. Band edge: right - 76 = 124 px.
  EXPECT_FALSE(map_position(map, tiles, 12.0, 0).view_moved);
  EXPECT_FALSE(map_position(map, tiles, 12.4, 0).view_moved);
  const MapView before = map.live;
  const int cursor = map.cursor_x;
  const PositionStep s = map_position(map, tiles, 12.6, 3.0);  // px 126 > right - M = 125
  EXPECT_TRUE(s.view_moved);
  EXPECT_EQ(map.live.left, before.left + 2);
  EXPECT_EQ(map.live.top, before.top + 30);
  EXPECT_EQ(map.cursor_x, cursor);
  // A jump of several tiles (a GPS glitch): the view tile follows by floor division.
  map_position(map, tiles, 1000.0, -500.0);
  EXPECT_EQ(map.live.tx, tile_pixel({map.live.left, map.live.top - 1}, W, W).tx);
  EXPECT_GE(map.live.ox, 0);
  EXPECT_LT(map.live.ox, W);
  EXPECT_GE(map.live.oy, 0);
  EXPECT_LT(map.live.oy, W);
}

TEST_F(MapViewTest, PanStopsAtTheTouchedRange) {
  map_position(map, tiles, 0, 0);
  int steps = 0;
  while (map_pan(map, tiles.touched(), kPanLeft) && steps < 1000) ++steps;
  EXPECT_EQ(steps, 28);  // from offset 200 to the left edge of column 1000 in 7-pixel steps
  EXPECT_EQ(map.live.tx, 1000);
  steps = 0;
  while (map_pan(map, tiles.touched(), kPanUp) && steps < 1000) ++steps;
  EXPECT_EQ(steps, 28);  // row 1000 is the largest
  EXPECT_EQ(map.live.ty, 1000);
  EXPECT_FALSE(map_pan(map, tiles.touched(), kPanRight + 0) && map.live.tx > 1000);  // column 1001 is the largest
  EXPECT_TRUE(map_pan(map, tiles.touched(), kPanDown));
}

TEST_F(MapViewTest, ReviewKeepsTheLiveScaleAndOutsidePositionsNeverWidenTheExtents) {
  map_position(map, tiles, 0, 0);
  map_position(map, tiles, 30, 10);
  map_position(map, tiles, 1e7, 1e7);  // tile far outside the grid
  EXPECT_DOUBLE_EQ(map.extents.max_easting, 30);
  EXPECT_TRUE(map.map_full || range_usable(tiles.touched()));
  enter_review(map, 2);
  map_fit(map, 1);
  EXPECT_EQ(map.map_size, fit_size(map.extents, 1));
  EXPECT_EQ(map.live.tx, map.live.tx);
  EXPECT_EQ(exit_review(map), 2);
  EXPECT_EQ(map.map_size, 40);
  EXPECT_DOUBLE_EQ(map.frame.pixels_per_unit, 10.0);
  EXPECT_TRUE(map.recentre);
}

TEST_F(MapViewTest, TheMapIsFullOnceTheTouchedRangeLeavesTheUsableTiles) {
  map_position(map, tiles, 0, 0);
  EXPECT_FALSE(map.map_full);
  // 996 tiles east is column 1997.
  const PositionStep s = map_position(map, tiles, 996 * 40.0 + 20, 0);
  EXPECT_TRUE(s.became_full);
  EXPECT_TRUE(map.map_full);
  EXPECT_FALSE(map_position(map, tiles, 997 * 40.0, 0).became_full);  // once
}

}  // namespace
}  // namespace quelor
