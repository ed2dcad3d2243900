// The map buttons: which the view shows, and their row.

#include "map/map_buttons.h"

#include <gtest/gtest.h>

namespace quelor {
namespace {

TEST(MapButtons, ShownWithTheMapViewByReview) {
  const struct {
    bool map_view, review;
    MapButtonMask shown;
  } rows[] = {
      {false, false, {}},
      {false, true, {}},
      {true, false, {true, true, true, true, false, false, false, true, false}},
      {true, true, {true, true, true, true, true, true, true, false, true}},
  };
  for (const auto& r : rows) EXPECT_EQ(map_buttons_shown(r.map_view, r.review), r.shown) << r.map_view << r.review;
}

// Each shown button as wide as its text and padding, 2 pixels apart, left
// to right; a short row narrows them in proportion and they stay inside it.
TEST(MapButtons, RowFromTheTextWidths) {
  const std::array<int, kMapButtonCount> texts{14, 14, 16, 16, 22, 20, 40, 70, 64};
  for (bool review : {false, true})
    for (const auto& [left, right] : {std::pair{100, 900}, std::pair{100, 300}, std::pair{50, 120}}) {
      const MapButtonMask shown = map_buttons_shown(true, review);
      const auto row = map_button_row(shown, texts, left, right);
      int x = left, total = 0;
      for (int i = 0; i < kMapButtonCount; ++i) {
        const ButtonSpan& b = row[static_cast<std::size_t>(i)];
        if (!shown[static_cast<std::size_t>(i)]) {
          EXPECT_EQ(b.width, 0) << i;
          continue;
        }
        EXPECT_EQ(b.left, x) << i;
        EXPECT_GE(b.width, 1) << i;
        EXPECT_LE(b.width, texts[static_cast<std::size_t>(i)] + kMapButtonPadding) << i;
        if (right - left >= 800) {
          EXPECT_EQ(b.width, texts[static_cast<std::size_t>(i)] + kMapButtonPadding) << i;
        }
        x = b.left + b.width + kMapButtonGap;
        total += b.width;
      }
      EXPECT_LE(x - kMapButtonGap, right) << left << "-" << right << " review " << review;
      EXPECT_GT(total, 0);
    }
  EXPECT_EQ(map_button_row(map_buttons_shown(false, false), texts, 0, 500)[0].width, 0);
}

}  // namespace
}  // namespace quelor
