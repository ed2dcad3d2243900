// The simulator's grid <-> geographic conversion and the lawnmower walk.

#include <gtest/gtest.h>

#include <cmath>

#include "devsim/geodesy.h"
#include "devsim/walk.h"
#include "gps/projection.h"

namespace quelor::devsim {
namespace {

TEST(Geodesy, InverseUndoesForwardEverywhereInAZone) {
  for (double lat = -79; lat <= 83; lat += 7.3) {
    for (double dlon = -2.9; dlon <= 2.9; dlon += 0.7) {
      const GeoPoint p{lat, -81.0 + dlon};
      const devsim::GridPoint g = to_grid(p, 17);
      const GeoPoint back = to_geographic(g);
      EXPECT_NEAR(back.latitude, p.latitude, 1e-10) << lat << " " << dlon;
      EXPECT_NEAR(back.longitude, p.longitude, 1e-10) << lat << " " << dlon;
    }
  }
}

// The program's classic series and the simulator's Krueger series agree to
// the millimetre where surveys happen (within 3.5 degrees of the meridian).
TEST(Geodesy, AgreesWithTheProgramsProjection) {
  for (double lat = -60; lat <= 70; lat += 6.5) {
    for (double dlon : {-3.4, -1.4, 0.0, 0.9, 2.6}) {
      const double lon = -81.0 + dlon;
      const devsim::GridPoint mine = to_grid({lat, lon}, 17);
      const quelor::GridPoint theirs = project_to_utm(lat, lon, 17);
      EXPECT_NEAR(mine.easting, theirs.easting, 0.001) << lat << " " << lon;
      EXPECT_NEAR(mine.northing, theirs.northing, 0.001) << lat << " " << lon;
    }
  }
}

TEST(Geodesy, ZoneAndHemisphere) {
  EXPECT_EQ(utm_zone_of(-79.6), 17);
  EXPECT_EQ(utm_zone_of(-180), 1);
  EXPECT_EQ(utm_zone_of(180), 60);
  EXPECT_EQ(utm_zone_of(3.0), 31);
  const devsim::GridPoint south = to_grid({-0.000001, 3.0});
  EXPECT_TRUE(south.south);
  EXPECT_NEAR(south.northing, 10000000.0, 0.2);
  EXPECT_NEAR(to_grid({0.0, 3.0}).easting, 500000.0, 1e-6);
  const GeoPoint back = to_geographic(south);
  EXPECT_NEAR(back.latitude, -0.000001, 1e-11);
}

WalkPlan plan(double heading) {
  WalkPlan p;
  p.origin = to_grid({43.6099, -79.6});
  p.lines = 3;
  p.line_length = 20;
  p.spacing = 2;
  p.speed = 1;
  p.heading = heading;
  return p;
}

TEST(Walk, LawnmowerLinesAndCrossWalks) {
  const WalkPlan p = plan(0);
  EXPECT_DOUBLE_EQ(walk_length(p), 3 * 20 + 2 * 2);
  struct Case {
    double distance, along, across, course;
    int line;
    bool on_line;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0, true},     {10, 10, 0, 0, 0, true},     {20, 20, 0, 0, 0, true},   {21, 20, 1, 90, 0, false},
      {22, 20, 2, 180, 1, true}, {27, 15, 2, 180, 1, true},   {42, 0, 2, 180, 1, true},  {43, 0, 3, 90, 1, false},
      {44, 0, 4, 0, 2, true},    {63.5, 19.5, 4, 0, 2, true}, {100, 20, 4, 0, 2, false},
  };
  for (const Case& c : cases) {
    const WalkPoint w = walk_at_distance(p, c.distance);
    EXPECT_NEAR(w.along, c.along, 1e-9) << c.distance;
    EXPECT_NEAR(w.across, c.across, 1e-9) << c.distance;
    EXPECT_NEAR(w.course, c.course, 1e-9) << c.distance;
    EXPECT_EQ(w.line, c.line) << c.distance;
    EXPECT_EQ(w.on_line, c.on_line) << c.distance;
    // Heading 0: along is north, across is east.
    EXPECT_NEAR(w.easting - p.origin.easting, c.across, 1e-9);
    EXPECT_NEAR(w.northing - p.origin.northing, c.along, 1e-9);
  }
  EXPECT_TRUE(walk_at_distance(p, 100).finished);
  EXPECT_FALSE(walk_at_distance(p, 63).finished);
}

TEST(Walk, HeadingTurnsTheWholePattern) {
  const WalkPlan p = plan(90);                  // lines run east, the next line lies south
  const WalkPoint w = walk_at_distance(p, 27);  // line 1, 15 m along
  EXPECT_NEAR(w.easting - p.origin.easting, 15, 1e-9);
  EXPECT_NEAR(w.northing - p.origin.northing, -2, 1e-9);
  EXPECT_NEAR(w.course, 270, 1e-9);
  // Speed: walking distance equals grid distance on the lines.
  const WalkPoint a = walk_at_distance(p, 3), b = walk_at_distance(p, 8);
  EXPECT_NEAR(std::hypot(b.easting - a.easting, b.northing - a.northing), 5, 1e-9);
}

TEST(Walk, LoopReturnsToTheStart) {
  WalkPlan p = plan(0);
  p.loop = true;
  const double total = walk_length(p);
  const WalkPoint back = walk_at_distance(p, total + p.spacing / 2);  // half way back
  EXPECT_FALSE(back.on_line);
  EXPECT_FALSE(back.finished);
  EXPECT_NEAR(back.along, 10, 1e-9);
  EXPECT_NEAR(back.across, 2, 1e-9);
  const WalkPoint again = walk_at_distance(p, total + p.spacing + 5);
  EXPECT_NEAR(again.along, 5, 1e-9);
  EXPECT_NEAR(again.across, 0, 1e-9);
  EXPECT_EQ(again.line, 0);
}

}  // namespace
}  // namespace quelor::devsim
