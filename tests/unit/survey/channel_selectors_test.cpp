#include "survey/channel_selectors.h"

#include <gtest/gtest.h>

#include "survey/survey_state.h"
#include "variant/variant.h"

namespace quelor {
namespace {

int shown_count(const SelectorView& v) {
  int n = 0;
  for (bool s : v.shown) n += s ? 1 : 0;
  return n;
}

SelectorInput visible(int type) {
  SelectorInput in;
  in.instrument_type = type;
  in.navigation_mode = kRealTimeMap;
  in.state = kStateMonitoring;
  in.channel = 1;
  return in;
}

TEST(ChannelSelectors, CountPerInstrument) {
  EXPECT_EQ(channel_selector_count(kEm31Mk2, 0, 0), 2);
  EXPECT_EQ(channel_selector_count(kEm34_3, 0, 0), 2);
  EXPECT_EQ(channel_selector_count(kEm38, 0, 0), 2);
  EXPECT_EQ(channel_selector_count(kEm38Mk2, 0, 0), 4);
  EXPECT_EQ(channel_selector_count(kEm38Mk2, 1, 0), 2);
  EXPECT_EQ(channel_selector_count(kEm38_4, 0, 0), 8);
  EXPECT_EQ(channel_selector_count(kCs21, 0, 0), 8);
  EXPECT_EQ(channel_selector_count(kEm61Mk2, 0, 0), 4);
  EXPECT_EQ(channel_selector_count(kEm61Lx2, 0, 0), 3);
  EXPECT_EQ(channel_selector_count(kEm61Lx2, 0, 1), 6);
  EXPECT_EQ(channel_selector_count(kGrad601, 0, 1), 3);
}

TEST(ChannelSelectors, GroupedOrderOfEm38_4AndCs21) {
  // channel n = 1..8 is shown on selector 1, 5, 2, 6, 3, 7, 4, 8
  const int selector[] = {1, 5, 2, 6, 3, 7, 4, 8};
  for (int type : {kEm38_4, kCs21})
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(selector_of_channel(type, n), selector[n - 1] - 1) << type << " " << n;
  EXPECT_EQ(selector_of_channel(kEm61Mk2, 3), 2);
  EXPECT_EQ(selector_of_channel(kEm61Mk2, 0), -1);
  EXPECT_EQ(selector_of_channel(kEm61Mk2, 9), -1);
}

TEST(ChannelSelectors, HiddenCases) {
  SelectorInput in = visible(kEm38Mk2);
  EXPECT_EQ(shown_count(channel_selector_view(in)), 4);
  EXPECT_EQ(channel_selector_view(in).checked, 0);
  in.state = kStateStandBy;
  EXPECT_EQ(shown_count(channel_selector_view(in)), 4);
  const auto hidden = [](SelectorInput s) { return shown_count(channel_selector_view(s)) == 0; };
  SelectorInput h = in;
  h.state = kStateLogging;
  EXPECT_TRUE(hidden(h));
  h = in;
  h.navigation_mode = kNavigation;
  EXPECT_TRUE(hidden(h));
  h = in;
  h.gps_enabled = false;
  EXPECT_TRUE(hidden(h));
  h = in;
  h.map_view = false;
  EXPECT_TRUE(hidden(h));
  h = in;
  h.channel = 0;
  EXPECT_TRUE(hidden(h));
  EXPECT_TRUE(hidden(visible(kEm38)));
  EXPECT_TRUE(hidden(visible(kGrad601)));
}

TEST(ChannelSelectors, Em31InphaseOnlyHidesTheFirst) {
  SelectorInput in = visible(kEm31Mk2);
  in.em31_inphase_only = true;
  in.channel = 2;
  const SelectorView v = channel_selector_view(in);
  EXPECT_FALSE(v.shown[0]);
  EXPECT_TRUE(v.shown[1]);
  EXPECT_EQ(v.checked, 1);
}

TEST(ChannelSelectors, ChannelBeyondTheSelectorsIsNotMarked) {
  SelectorInput in = visible(kEm38Mk2);
  in.em38mk2_model = 1;
  in.channel = 4;
  EXPECT_EQ(channel_selector_view(in).checked, -1);
}

}  // namespace
}  // namespace quelor
