// The logging window's layout rules, channel selectors, message table and
// the display helpers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
#include <vector>

#include "app/logging/display_windows.h"
#include "app/logging/instrument_handlers_win.h"
#include "app/logging/logging_handlers.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_window.h"
#include "serial/reading_messages.h"
#include "variant/variant.h"

namespace quelor {
namespace {

int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

struct Shape {
  int w, h, lh;
  bool portrait, map;
};

// The profile windows of an instrument: one, two stacked, two with bars.
struct Profiles {
  int count;
  bool bars;
};

class LayoutShapes : public ::testing::TestWithParam<std::tuple<Shape, Profiles>> {
 protected:
  Shape s = std::get<0>(GetParam());
  Profiles pr = std::get<1>(GetParam());
  LayoutInput input() const {
    LayoutInput in{s.w, s.h, s.lh, s.portrait, s.map, 4};
    in.profile_count = pr.count;
    in.bars = pr.bars;
    // the survey rows with four instrument rows, the GPS block's most lines
    // (SLAM among them) and the two lines of the pause hint
    in.survey_block = 9 * s.lh + 8;
    in.gps_block = s.map ? 8 * s.lh + 4 : 0;
    in.hint_block = 2 * (s.lh + 6);
    return in;
  }
};

bool empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

TEST_P(LayoutShapes, CommonRulesHold) {
  const LoggingLayout l = compute_logging_layout(input());
  // numbers window: 110 wide, 20 from the right edge, 4 lines + 10 high
  EXPECT_EQ(width(l.numbers), 110);
  EXPECT_EQ(l.numbers.right, s.w - 20);
  EXPECT_EQ(height(l.numbers), 4 * s.lh + 10);
  // the button column under it, as wide
  EXPECT_GT(l.buttons.top, l.numbers.bottom);
  EXPECT_EQ(l.buttons.left, l.numbers.left);
  EXPECT_EQ(l.buttons.right, l.numbers.right);
  EXPECT_LE(l.buttons.bottom, s.h);
  // 20-pixel margins at the left and the top
  const RECT& first = s.map ? l.map : l.profile_area;
  EXPECT_EQ(first.left, 20);
  EXPECT_EQ(first.top, 20);
  // nothing reaches into the numbers column left of it
  if (!s.portrait) {
    EXPECT_LE(l.profile_area.right, l.numbers.left - LayoutInput{}.side_width);
  }
  EXPECT_LE(l.status.right, l.numbers.left);
  if (s.portrait) {
    EXPECT_GT(l.numbers.top, l.speed.bottom);
    if (s.map) {
      EXPECT_GT(l.profile_area.top, l.speed.bottom);
    }
  }
  EXPECT_LT(l.status.top, l.status.bottom);
  // the speed row: a whole text line right above the speed bar, as wide as
  // it, inside the window and clear of every other block
  EXPECT_EQ(height(l.speed_row), s.lh);
  EXPECT_EQ(l.speed_row.left, l.speed.left);
  EXPECT_EQ(l.speed_row.right, l.speed.right);
  EXPECT_LT(l.speed_row.bottom, l.speed.top);
  EXPECT_GT(l.speed_row.top, (s.map ? l.map : l.profile_area).bottom);
  EXPECT_TRUE(inside(l.speed_row, RECT{0, 0, s.w, s.h}));
  EXPECT_LE(l.speed.bottom, s.h);
  for (const RECT& other : {l.status, l.profile_area, l.numbers, l.buttons, l.map, l.speed})
    EXPECT_FALSE(overlap(l.speed_row, other));
  EXPECT_GE(l.status.top, l.profile_area.bottom);
  EXPECT_EQ(l.map_shown, s.map);
  if (s.map) {
    EXPECT_EQ(width(l.map), height(l.map));  // a square
    EXPECT_EQ(l.speed.left, l.map.left);
    EXPECT_EQ(width(l.speed), width(l.map));
    EXPECT_EQ(height(l.speed), 8);
    EXPECT_EQ(l.speed.top, l.map.bottom + s.lh + 2);
    EXPECT_FALSE(overlap(l.map, l.profile_area));
  }
  // The map buttons' row: with the map view only, beside the speed bar (at
  // its right in landscape, right under it in portrait), a button high,
  // inside the window and clear of every other block.
  EXPECT_EQ(empty(l.map_buttons), !s.map);
  if (s.map) {
    EXPECT_GE(height(l.map_buttons), s.lh + 8);
    EXPECT_TRUE(inside(l.map_buttons, RECT{0, 0, s.w, s.h}));
    for (const RECT& other : {l.status, l.profile_area, l.numbers, l.buttons, l.map, l.speed, l.speed_row})
      EXPECT_FALSE(overlap(l.map_buttons, other));
    if (s.portrait) {
      EXPECT_GT(l.map_buttons.top, l.speed.bottom);
      EXPECT_EQ(l.map_buttons.left, l.speed.left);
    } else {
      EXPECT_GE(l.map_buttons.left, l.speed.right);
      EXPECT_EQ(l.map_buttons.bottom, l.speed.bottom);
      EXPECT_GE(l.map_buttons.top, l.speed_row.top);  // level with the speed row and bar
    }
  }
  if (s.map && !s.portrait) {
    EXPECT_EQ(width(l.map), s.h - 44 - s.lh);
    EXPECT_EQ(l.profile_area.left, l.map.right + 6);
    // the profiles end at three fifths of the height, higher where the
    // status blocks and the pause hint would not fit above the map buttons
    // (1024 x 768: one column under another)
    const int needed = status_blocks_height(input(), l.status_two_columns);
    EXPECT_GE(height(l.status), needed);
    EXPECT_EQ(l.status_two_columns, width(l.status) >= kTwoStatusColumnsWidth);
    if (l.profile_area.bottom < s.h * 3 / 5) {
      EXPECT_EQ(height(l.status), needed);
    } else {
      EXPECT_EQ(l.profile_area.bottom, s.h * 3 / 5);
    }
  }
  if (s.portrait && !s.map) {
    EXPECT_EQ(width(l.profile_area), s.w - 40);
    EXPECT_EQ(height(l.profile_area), s.w - 40);
  }
  if (s.portrait && s.map) {
    EXPECT_EQ(width(l.map), s.w - 40);
  }
}

// Each profile window has a line-high strip above and below it for its
// scale labels, clear of the top row, the status blocks, the bars and the
// other window; the windows are stacked top first inside the profile area.
TEST_P(LayoutShapes, ProfileWindowsAndTheirScaleStrips) {
  const LoggingLayout l = compute_logging_layout(input());
  ASSERT_EQ(l.profile_count, pr.count);
  std::vector<RECT> others{l.status, l.numbers, l.buttons};
  if (s.map) others.insert(others.end(), {l.map, l.speed});
  for (int k = 0; k < l.profile_count; ++k) {
    const ProfileArea& a = l.profiles[k];
    EXPECT_GE(height(a.curve), 40);
    EXPECT_EQ(l.labels_beside, s.portrait && s.map);  // height is short only under the portrait map
    if (l.labels_beside) {
      // a column at the left, the labels beside the window's top and bottom rows
      EXPECT_EQ(a.scale_top.top, a.curve.top);
      EXPECT_EQ(a.scale_bottom.bottom, a.curve.bottom);
      EXPECT_LE(a.scale_top.bottom, a.scale_bottom.top);
      EXPECT_GE(width(a.scale_top), 4 * s.lh);
      EXPECT_LT(a.scale_top.right, a.curve.left);
    } else {
      EXPECT_EQ(a.scale_top.bottom, a.curve.top);
      EXPECT_EQ(a.scale_bottom.top, a.curve.bottom);
    }
    for (const RECT* strip : {&a.scale_top, &a.scale_bottom}) {
      EXPECT_GE(height(*strip), s.lh + 2);
      EXPECT_EQ(strip->left, l.profile_area.left);
      if (!l.labels_beside) {
        EXPECT_EQ(strip->right, l.profile_area.right);
      }
      EXPECT_GE(strip->top, 2 + s.lh);  // below the top row
      EXPECT_TRUE(inside(*strip, l.profile_area));
      for (const RECT& other : others) EXPECT_FALSE(overlap(*strip, other));
      for (int j = 0; j < l.profile_count; ++j) {
        EXPECT_FALSE(overlap(*strip, l.profiles[j].curve)) << k << " " << j;
        if (!empty(l.profiles[j].bar)) {
          EXPECT_FALSE(overlap(*strip, l.profiles[j].bar)) << k << " " << j;
        }
        if (j != k) {
          EXPECT_FALSE(overlap(*strip, l.profiles[j].scale_top)) << k << " " << j;
          EXPECT_FALSE(overlap(*strip, l.profiles[j].scale_bottom)) << k << " " << j;
        }
      }
    }
    EXPECT_TRUE(inside(a.curve, l.profile_area));
    for (const RECT& other : others) EXPECT_FALSE(overlap(a.curve, other));
    if (pr.bars) {
      // the gauges beside the window, as high as it, so a bar reads on its scale lines
      EXPECT_GE(a.bar.left, a.curve.right);
      EXPECT_EQ(a.bar.right, l.profile_area.right);
      EXPECT_EQ(a.bar.top, a.curve.top);
      EXPECT_EQ(a.bar.bottom, a.curve.bottom);
      EXPECT_GE(width(a.bar), 30);
    } else {
      EXPECT_TRUE(empty(a.bar));
      EXPECT_EQ(a.curve.right, l.profile_area.right);
    }
  }
  EXPECT_EQ(l.profiles[0].scale_top.top, l.profile_area.top);
  EXPECT_EQ(l.profiles[l.profile_count - 1].scale_bottom.bottom, l.profile_area.bottom);
  if (l.profile_count == 2) {
    EXPECT_GE(l.profiles[1].scale_top.top, l.profiles[0].scale_bottom.bottom);
    EXPECT_GE(l.profiles[1].curve.top, l.profiles[0].curve.bottom);
    EXPECT_LE(std::abs(height(l.profiles[0].curve) - height(l.profiles[1].curve)), 1);  // an even split
  }
  if (s.portrait && s.map) {
    // under the portrait map, the status blocks and the pause hint keep
    // about sixteen lines
    EXPECT_GE(height(l.status), 16 * s.lh);
  }
}

// The EM61-LX2 keeps a wider column free for its alarm boxes.
TEST(LoggingLayout, SideColumnBesideTheNumbersStaysFree) {
  for (bool portrait : {false, true}) {
    LayoutInput in{portrait ? 792 : 1272, portrait ? 1240 : 760, 16, portrait, true, 6};
    in.profile_count = 2;
    in.side_width = kAlarmColumnWidth;
    const LoggingLayout l = compute_logging_layout(in);
    EXPECT_EQ(l.profile_area.right, l.numbers.left - kAlarmColumnWidth) << portrait;
    EXPECT_EQ(l.profiles[1].curve.right, l.profile_area.right) << portrait;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, LayoutShapes,
    ::testing::Combine(::testing::Values(Shape{1272, 760, 16, false, true}, Shape{1272, 760, 16, false, false},
                                         Shape{1016, 700, 18, false, true}, Shape{1912, 1040, 18, false, true},
                                         Shape{792, 1240, 16, true, true}, Shape{792, 1240, 16, true, false},
                                         Shape{600, 1000, 14, true, true}),
                       ::testing::Values(Profiles{1, false}, Profiles{2, false}, Profiles{2, true})));

// The reading and command rows, then the survey end posted by the GPS-fix handler.
TEST(LoggingWindowTable, RowsInSearchOrder) {
  const std::vector<UINT> expected = {
      WM_CREATE,         WM_SIZE,         WM_COMMAND,         0x103,          WM_KEYDOWN,          WM_KEYUP,
      WM_PAINT,          WM_TIMER,        WM_GPS_POSITION,    WM_GPS_GSA,     WM_EM61_READING,     WM_EM31_READING,
      WM_EM38_READING,   WM_EM34_READING, WM_EM38MK2_READING, WM_LX2_READING, WM_LX2_DUAL_READING, WM_GRAD_READING,
      WM_EM38_4_READING, WM_TILT_READING, WM_CS21_READING,    WM_END_SURVEY,  WM_READER_NOTICE};
  const auto table = logging_window_message_table();
  ASSERT_EQ(table.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(table[i].message, expected[i]) << i;
    EXPECT_NE(table[i].handler, nullptr) << i;
  }
  EXPECT_EQ(table[11].handler, table[12].handler);  // EM31-MK2 and EM38 share the T handler
  EXPECT_EQ(table[2].handler, table[4].handler);    // buttons and keys: one command handler
}

TEST(DisplayHelpers, ScaleFractionClampsAndRefusesEmptyScales) {
  EXPECT_DOUBLE_EQ(scale_fraction(250.0, 0.0, 500.0), 0.5);
  EXPECT_DOUBLE_EQ(scale_fraction(-10.0, 0.0, 500.0), 0.0);
  EXPECT_DOUBLE_EQ(scale_fraction(900.0, 0.0, 500.0), 1.0);
  EXPECT_DOUBLE_EQ(scale_fraction(5.0, 10.0, 10.0), 0.0);
  EXPECT_DOUBLE_EQ(scale_fraction(5.0, 10.0, 0.0), 0.0);
  EXPECT_DOUBLE_EQ(scale_fraction(0.0 / 0.0, 0.0, 1.0), 0.0);
}

TEST(DisplayHelpers, MapPixelCentresTheOriginNorthUp) {
  const SIZE size{400, 400};
  EXPECT_EQ(map_pixel(0, 0, 40, size).x, 200);
  EXPECT_EQ(map_pixel(0, 0, 40, size).y, 200);
  EXPECT_EQ(map_pixel(10, 0, 40, size).x, 300);  // 10 px per unit
  EXPECT_EQ(map_pixel(0, 10, 40, size).y, 100);  // north is up
  EXPECT_EQ(map_pixel(-20, -20, 40, size).x, 0);
  const POINT distant = map_pixel(1e12, -1e12, 40, size);  // clamped, no overflow
  EXPECT_EQ(distant.x, 1000000);
  EXPECT_EQ(distant.y, 1000000);
}

}  // namespace
}  // namespace quelor
