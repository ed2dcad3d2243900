#include "survey/channel_selectors.h"

#include <gtest/gtest.h>

#include <string>

#include "map/colour_views.h"
#include "survey/survey_state.h"
#include "variant/variant.h"

namespace quelor {
namespace {

int shown_count(const SelectorView& v) {
  int n = 0;
  for (bool s : v.shown) n += s ? 1 : 0;
  return n;
}

SelectorInput visible(InstrumentType type) {
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
  for (InstrumentType type : {kEm38_4, kCs21})
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

// One rule of the views each instrument's map draws, in every set-up: the
// selectors offer those views only, the Display Options list has an entry
// for each (the EM38 one for its component) and takes back the view it
// shows, and a stored view beyond them maps nothing.
TEST(ChannelSelectors, OfferOnlyTheViewsTheMapDraws) {
  struct Case {
    ViewSetup setup;
    int views, entries, selectors_shown;
  };
  const Case cases[] = {
      {{kEm31Mk2, 0, 0, 0}, 2, 3, 2}, {{kEm38, 0, 0, 0}, 2, 2, 0},    {{kEm38, 0, 0, 1}, 2, 2, 0},
      {{kEm34_3, 0, 0, 0}, 1, 2, 1},  {{kEm38Mk2, 0, 0, 0}, 4, 5, 4}, {{kEm38Mk2, 1, 0, 0}, 2, 3, 2},
      {{kEm38_4, 0, 0, 0}, 8, 9, 8},  {{kCs21, 0, 0, 0}, 8, 9, 8},    {{kEm61Mk2, 0, 0, 0}, 4, 5, 4},
      {{kEm61Lx2, 0, 0, 0}, 3, 4, 3}, {{kEm61Lx2, 0, 1, 0}, 6, 7, 6}, {{kGrad601, 0, 1, 0}, 1, 2, 0},
  };
  for (const Case& c : cases) {
    const ViewSetup& v = c.setup;
    const std::string at = std::to_string(v.instrument_type) + "/" + std::to_string(v.number_of_sensors);
    EXPECT_EQ(mapped_view_count(v), c.views) << at;
    EXPECT_EQ(static_cast<int>(colour_view_names(v).size()), c.entries) << at;
    EXPECT_EQ(usable_view(v, c.views + 1), 0) << at;
    EXPECT_EQ(usable_view(v, 0), 0) << at;
    for (int view = 1; view <= c.views; ++view) {
      const int used = usable_view(v, view);
      EXPECT_TRUE(view_exists(v, used)) << at << " view " << view;
      const int entry = list_entry_of_view(v, used);
      EXPECT_GE(entry, 1) << at;
      EXPECT_LT(entry, c.entries) << at;
      EXPECT_EQ(view_of_list_entry(v, entry), used) << at << " view " << view;
    }
    SelectorInput in = visible(v.instrument_type);
    in.em38mk2_model = v.em38mk2_model;
    in.number_of_sensors = v.number_of_sensors;
    const int count = channel_selector_count(v.instrument_type, v.em38mk2_model, v.number_of_sensors);
    for (int channel = 1; channel <= kMaxChannelSelectors; ++channel) {
      in.channel = channel;
      const SelectorView shown = channel_selector_view(in);
      EXPECT_EQ(shown_count(shown), c.selectors_shown) << at;
      const int selector = selector_of_channel(v.instrument_type, channel);
      const bool marked = c.selectors_shown > 0 && view_exists(v, channel) && selector < count;
      EXPECT_EQ(shown.checked, marked ? selector : -1) << at << " channel " << channel;
      for (int i = 0; i < kMaxChannelSelectors; ++i)
        if (shown.shown[static_cast<std::size_t>(i)]) {
          EXPECT_TRUE(view_exists(v, channel_of_selector(v.instrument_type, i))) << at << " selector " << i;
        }
    }
  }
  // The EM38's one entry is the view of its component: in-phase on view 2.
  EXPECT_EQ(view_of_list_entry({kEm38, 0, 0, 1}, 1), 2);
  EXPECT_EQ(view_of_list_entry({kEm38, 0, 0, 0}, 1), 1);
}

}  // namespace
}  // namespace quelor
