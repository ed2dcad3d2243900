#include "map/map_scale.h"

#include <gtest/gtest.h>

#include "map/raster_tiles.h"

namespace quelor {
namespace {

TEST(MapScale, TypedValuesWithinTheirLimits) {
  struct Case {
    long size;
    double interval;
    long stored_size;
    double stored_interval;
    bool message, size_changed;
  };
  for (const Case& c : {Case{40, 2.0, 40, 2.0, false, false}, Case{0, 2.0, 1, 2.0, false, true},
                        Case{-5, 0.25, 1, 0.5, true, true}, Case{80, 0.5, 80, 0.5, false, true}}) {
    Settings s;
    const MapScaleOutcome o = apply_map_scale(s, {c.size, c.interval, 3}, nullptr);
    EXPECT_TRUE(o.accepted);
    EXPECT_EQ(s.map.map_size, c.stored_size);
    EXPECT_DOUBLE_EQ(s.map.lines_interval, c.stored_interval);
    EXPECT_EQ(o.message.has_value(), c.message);
    EXPECT_EQ(o.size_changed, c.size_changed);
    EXPECT_EQ(s.map.cursor_band_index, 3);
  }
}

TEST(MapScale, ASizeThatNoLongerHoldsTheTrackIsRefused) {
  MapState map = make_map_state(400, 400, 40, GridSpec{}, 60);
  RasterTiles tiles(400, 400);
  map_position(map, tiles, 0, 0);
  map_position(map, tiles, 30000, 0);  // 750 tiles east at 40 units a tile
  Settings s;
  EXPECT_TRUE(track_fits(map, 40));
  EXPECT_FALSE(track_fits(map, 20));  // 1500 tiles east: beyond column 1996
  const MapScaleOutcome o = apply_map_scale(s, {20, 2.0, 1}, &map);
  EXPECT_FALSE(o.accepted);
  EXPECT_TRUE(o.ring);
  EXPECT_EQ(s.map.map_size, 40);
}

}  // namespace
}  // namespace quelor

#include "map/colour_bar.h"

namespace quelor {
namespace {

TEST(ColourBar, FiftyBoxesFromTheBottomAndQuarterLabels) {
  const ColourBarLayout one = colour_bar_layout(kGrad601, 0, 2000, 0, 0);
  ASSERT_EQ(one.boxes.size(), 50u);
  EXPECT_EQ(one.boxes[0].bottom, 278);  // 28 from the top, 250 tall
  EXPECT_EQ(one.boxes[0].top, 273);
  EXPECT_EQ(one.boxes[49].top, 28);
  EXPECT_EQ(one.boxes[0].left, 75);
  EXPECT_EQ(one.boxes[0].right, 95);
  ASSERT_EQ(one.labels.size(), 5u);
  EXPECT_EQ(one.labels[0].text, "0.00");
  EXPECT_EQ(one.labels[2].text, "1000.00");
  EXPECT_EQ(one.labels[4].text, "2000.00");
  EXPECT_EQ(one.labels[0].y, 278 - 6 - 5);
  EXPECT_EQ(one.labels[4].y, 28 - 6 + 5);
  EXPECT_TRUE(one.titles.empty());
  const ColourBarLayout two = colour_bar_layout(kEm31Mk2, 0, 500, -25, 25);  // EM31-MK2
  ASSERT_EQ(two.boxes.size(), 100u);
  EXPECT_EQ(two.boxes[50].left, 75 + 132);
  EXPECT_EQ(two.labels[5].x, 137);
  EXPECT_EQ(two.labels[5].text, "-25.00");
  ASSERT_EQ(two.titles.size(), 2u);
  EXPECT_EQ(two.titles[1].text, "Inphase [ppt]");
  // EM31-MK2 mapping in-phase: still both bars, each on its own scale
  const ColourBarLayout both = colour_bar_layout(kEm31Mk2, 0, 500, -25, 25, true);
  EXPECT_EQ(both.labels[0].text, "0.00");
  EXPECT_EQ(both.labels[5].text, "-25.00");
}

// The CS-21 has one bar: an in-phase view labels it with the in-phase scale.
TEST(ColourBar, SingleBarCarriesTheMappedComponentsScale) {
  const ColourBarLayout conductivity = colour_bar_layout(kCs21, 0, 1000, -30, 30, false);
  const ColourBarLayout inphase = colour_bar_layout(kCs21, 0, 1000, -30, 30, true);
  ASSERT_EQ(inphase.boxes.size(), 50u);
  ASSERT_EQ(inphase.labels.size(), 5u);
  EXPECT_EQ(conductivity.labels[4].text, "1000.00");
  EXPECT_EQ(inphase.labels[0].text, "-30.00");
  EXPECT_EQ(inphase.labels[2].text, "0.00");
  EXPECT_EQ(inphase.labels[4].text, "30.00");
}

// The labelled bar is seen over the map's corner in review with a colour
// view, where the map holds it whole; never over the live map.
TEST(ColourBar, SeenInReviewWithAColourView) {
  ColourBarInput in{kEm31Mk2, 5, 40, 500, 400, true, true, 1};  // EM31-MK2: two bars
  ColourBarPlace p = colour_bar_place(in);
  EXPECT_TRUE(p.shown);
  EXPECT_EQ(p.left, 35);
  EXPECT_EQ(p.top, 65);
  EXPECT_EQ(p.width, 244);
  EXPECT_EQ(p.height, 296);
  in.instrument_type = kEm61Lx2;  // EM61-LX2: one bar
  p = colour_bar_place(in);
  EXPECT_EQ(p.left, 45);
  EXPECT_EQ(p.width, 142);
  for (auto hide : {+[](ColourBarInput& c) { c.review = false; }, +[](ColourBarInput& c) { c.colour_map_view = 0; },
                    +[](ColourBarInput& c) { c.map_shown = false; }, +[](ColourBarInput& c) { c.map_height = 320; }}) {
    ColourBarInput h = in;
    hide(h);
    EXPECT_FALSE(colour_bar_place(h).shown);
  }
}

}  // namespace
}  // namespace quelor
