// The map title strip and the alarm indicator letter.

#include <gtest/gtest.h>

#include "map/colour_views.h"
#include "survey/map_title.h"
#include "variant/variant.h"

namespace quelor {
namespace {

struct Case {
  InstrumentType type;
  int view;
  bool review;
  const char* title;
};

class MapTitles : public ::testing::TestWithParam<Case> {};

TEST_P(MapTitles, ByInstrumentViewAndReview) {
  const Case c = GetParam();
  EXPECT_EQ(map_title(c.type, c.view, c.review), c.title);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MapTitles,
    ::testing::Values(Case{kEm31Mk2, 1, false, "Conductivity"}, Case{kEm31Mk2, 2, false, "Inphase"},
                      Case{kEm31Mk2, 1, true, "Review Conductivity"}, Case{kEm38, 2, true, "Review Inphase"},
                      Case{kEm61Mk2, 4, false, "Channel 4/T"}, Case{kEm61Mk2, 1, true, "Review Ch1"},
                      Case{kEm61Mk2, 4, true, "Review Ch4/T"}, Case{kEm61Lx2, 1, false, "Ch E"},
                      Case{kEm61Lx2, 3, true, "Review ChF"}, Case{kEm31Mk2, 0, false, ""}, Case{kEm61Mk2, 5, false, ""},
                      // every instrument names what its map shows
                      Case{kEm38Mk2, 1, false, "Conductivity 1 m"}, Case{kEm38Mk2, 2, false, "Inphase 1 m"},
                      Case{kEm38Mk2, 3, false, "Conductivity 0.5 m"}, Case{kEm38Mk2, 4, true, "Review Inphase 0.5 m"},
                      Case{kEm38Mk2, 5, false, ""}, Case{kEm38_4, 1, false, "Coil1 Conductivity"},
                      Case{kEm38_4, 2, false, "Coil1 Inphase"}, Case{kEm38_4, 5, false, "Coil3 Conductivity"},
                      Case{kEm38_4, 8, false, "Coil4 Inphase"}, Case{kEm38_4, 6, true, "Review Coil3 Inphase"},
                      Case{kEm38_4, 9, false, ""}, Case{kCs21, 1, false, "Conductivity VDM"},
                      Case{kCs21, 2, false, "Inphase VDM"}, Case{kCs21, 3, false, "Conductivity HDM"},
                      Case{kCs21, 4, false, "Inphase HDM"}, Case{kCs21, 0, false, ""},
                      Case{kEm34_3, 1, false, "Conductivity"}, Case{kEm34_3, 1, true, "Review Conductivity"},
                      Case{kEm34_3, 2, false, ""}, Case{kGrad601, 1, false, "Gradient"},
                      Case{kGrad601, 1, true, "Review Gradient"}, Case{kGrad601, 0, false, ""}));

// Every view the Map Display Options list offers beyond the positions view
// has a title, in every instrument.
TEST(MapTitles, EveryColourViewOfEveryInstrumentIsNamed) {
  for (const VariantRow& row : variant_table())
    for (int view = 1; view <= mapped_view_count({row.instrument_type, 0, 1, 0}); ++view) {
      EXPECT_FALSE(map_title(row.instrument_type, view, false).empty()) << row.instrument << " view " << view;
      EXPECT_EQ(map_title(row.instrument_type, view, true).rfind("Review ", 0), 0u)
          << row.instrument << " view " << view;
    }
}

TEST(AlarmIndicator, LetterOfTheMonitoredChannel) {
  EXPECT_EQ(alarm_channel_letter(0), 'E');
  EXPECT_EQ(alarm_channel_letter(1), 'L');
  EXPECT_EQ(alarm_channel_letter(2), 'F');
  EXPECT_EQ(alarm_channel_letter(3), 0);
  EXPECT_EQ(alarm_channel_letter(-1), 0);
}

}  // namespace
}  // namespace quelor
