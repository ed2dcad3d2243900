#include "map/footprint.h"

#include <gtest/gtest.h>

#include "map/map_painter.h"
#include "map/raster_tiles.h"
#include "variant/variant.h"

namespace quelor {
namespace {

void expect_point(MapPoint p, double e, double n) {
  EXPECT_NEAR(p.easting, e, 1e-9);
  EXPECT_NEAR(p.northing, n, 1e-9);
}

TEST(Footprint, BarsLieAcrossTheDirectionOfTravel) {
  struct Case {
    double ux, uy;
    MapPoint left, right;
  };
  // Left is to the left of the direction of travel; L = 1, R = 2.
  for (const Case& c :
       {Case{1, 0, {10, 21}, {10, 18}}, Case{0, 1, {9, 20}, {12, 20}}, Case{-1, 0, {10, 19}, {10, 22}}}) {
    const Bar b = bar_at({10, 20}, c.ux, c.uy, 1.0, 2.0);
    expect_point(b.left, c.left.easting, c.left.northing);
    expect_point(b.right, c.right.easting, c.right.northing);
  }
}

TEST(Footprint, GeometryFromTheSettingsInTheMapUnit) {
  Settings s;
  s.swath_option = 3;  // 2 m
  s.map_units = 1;     // feet: half-widths and in-line offset alike
  const FootprintGeometry g = footprint_geometry(s, kEm31Mk2, 0.5, 1.524);
  EXPECT_NEAR(g.left_half, 1.5 / 0.3048, 1e-9);
  EXPECT_NEAR(g.right_half, 0.5 / 0.3048, 1e-9);
  EXPECT_NEAR(g.inline_offset, 5.0, 1e-9);
  EXPECT_TRUE(g.towed);
  EXPECT_FALSE(footprint_geometry(s, kEm31Mk2, 0.5, -1.0).towed);
  struct Width {
    InstrumentType type;
    int sensors, size, option;
    double separation, metres;
  };
  for (const Width& w :
       {Width{kEm61Mk2, 1, 0, 5, 0, 1.0}, Width{kEm61Mk2, 1, 4, 11, 0, 0.4}, Width{kEm61Lx2, 1, 0, 5, 0, 2.06},
        Width{kGrad601, 0, 0, 2, 1.0, 0.75}, Width{kGrad601, 1, 0, 2, 1.0, 2.0}, Width{kEm38_4, 1, 0, 7, 0, 10.0}}) {
    Settings t;
    t.number_of_sensors = w.sensors;
    t.sensor_size = w.size;
    t.swath_option = w.option;
    t.sensor_separation = w.separation;
    EXPECT_NEAR(swath_width_metres(t, w.type), w.metres, 1e-9) << w.type;
  }
}

// The swath edges the map draws: left = w / 2 + GPS X offset, right = w -
// left, in the map unit.
TEST(Footprint, SwathEdgesOfEveryFamily) {
  struct Case {
    InstrumentType type;
    int swath_option, sensor_size, sensors, map_units;
    double x_offset;
    double left, right;
  };
  const double ft = 0.3048;
  const Case cases[] = {
      {kEm31Mk2, 2, 0, 1, 0, -0.3, 0.2, 0.8},
      {kEm38, 7, 0, 1, 1, 0.0, 5.0 / ft, 5.0 / ft},
      {kEm38_4, 0, 0, 1, 0, 0.5, 0.625, -0.375},
      {kEm61Mk2, 5, 0, 1, 0, 0.0, 0.5, 0.5},
      {kEm61Mk2, 11, 1, 1, 0, 0.1, 0.6, 0.4},
      {kEm61Mk2, 5, 4, 1, 0, 0.0, 0.1, 0.1},
      {kEm61Lx2, 5, 0, 0, 0, 0.0, 0.515, 0.515},
      {kEm61Lx2, 5, 0, 1, 0, 0.0, 1.03, 1.03},
      {kEm61Lx2, 11, 0, 1, 1, 0.0, 2.06 / ft, 2.06 / ft},
  };
  for (const Case& c : cases) {
    Settings s;
    s.swath_option = c.swath_option;
    s.sensor_size = c.sensor_size;
    s.number_of_sensors = c.sensors;
    s.map_units = c.map_units;
    const FootprintGeometry g = footprint_geometry(s, c.type, c.x_offset, 0.0);
    EXPECT_NEAR(g.left_half, c.left, 1e-12) << c.type << " " << c.swath_option;
    EXPECT_NEAR(g.right_half, c.right, 1e-12) << c.type << " " << c.swath_option;
  }
}

TEST(Footprint, TowedSensorFollowsTheTrackAroundACorner) {
  TowedTrack t;
  for (MapPoint p : {MapPoint{0, 0}, MapPoint{4, 0}, MapPoint{4, 0}, MapPoint{4, 3}}) track_add(t, p);
  ASSERT_EQ(t.points.size(), 3u);  // the repeated point is not stored
  auto c = track_centre(t, 5.0);   // 3 back up the second leg, then 2 along the first
  ASSERT_TRUE(c);
  expect_point(c->centre, 2, 0);
  EXPECT_NEAR(c->ux, 1, 1e-12);
  c = track_centre(t, 1.0);
  expect_point(c->centre, 4, 2);
  EXPECT_NEAR(c->uy, 1, 1e-12);
  c = track_centre(t, 10.0);  // longer than the track: back from the first leg
  expect_point(c->centre, -3, 0);
  for (int i = 1; i <= 45; ++i) track_add(t, {4, 3.0 + i});
  EXPECT_LE(t.points.size(), static_cast<std::size_t>(kTrackPoints));
  EXPECT_DOUBLE_EQ(t.along.front(), 0.0);
  c = track_centre(t, 2.5);
  expect_point(c->centre, 4, 45.5);
}

TEST(Painter, StartRecordFirstThenTwoBarsThenOneAFixAndRecordsWithoutPainting) {
  MapState map = make_map_state(100, 100, 20, GridSpec{}, 15);
  RasterTiles tiles(100, 100);
  PainterState p;
  FixPaint f;
  f.geometry[0] = {1.0, 0.5, 0.5, false};
  f.antenna = {0, 0};
  FixPaintResult r = paint_fix(p, map, tiles, f);
  EXPECT_TRUE(r.start_record);
  EXPECT_TRUE(r.groups.empty());
  f.antenna = {0, 0};
  EXPECT_TRUE(paint_fix(p, map, tiles, f).groups.empty());  // no distance, no direction
  f.antenna = {2, 0};
  r = paint_fix(p, map, tiles, f);
  ASSERT_EQ(r.groups.size(), 2u);
  EXPECT_EQ(r.groups[0].second, (std::array<double, 4>{-1, 0.5, -1, -0.5}));  // sensor 1 behind the antenna
  EXPECT_EQ(r.groups[1].second, (std::array<double, 4>{1, 0.5, 1, -0.5}));
  EXPECT_EQ(r.marks, 2);
  f.paint = false;  // map review: the records still come
  f.antenna = {3, 0};
  r = paint_fix(p, map, tiles, f);
  EXPECT_EQ(r.groups.size(), 1u);
  EXPECT_EQ(r.marks, 0);
}

}  // namespace
}  // namespace quelor
