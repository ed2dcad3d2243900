// The map title strip and the alarm indicator letter.

#include <gtest/gtest.h>

#include "survey/map_title.h"
#include "variant/variant.h"

namespace quelor {
namespace {

struct Case {
  int type, view;
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
                      Case{kEm61Lx2, 3, true, "Review ChF"}, Case{kEm31Mk2, 0, false, ""},
                      Case{kEm61Mk2, 5, false, ""}, Case{kGrad601, 1, false, ""}, Case{99, 1, false, ""}));

TEST(AlarmIndicator, LetterOfTheMonitoredChannel) {
  EXPECT_EQ(alarm_channel_letter(0), 'E');
  EXPECT_EQ(alarm_channel_letter(1), 'L');
  EXPECT_EQ(alarm_channel_letter(2), 'F');
  EXPECT_EQ(alarm_channel_letter(3), 0);
  EXPECT_EQ(alarm_channel_letter(-1), 0);
}

}  // namespace
}  // namespace quelor
