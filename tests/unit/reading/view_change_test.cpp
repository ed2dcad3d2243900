// A change of the mapped view during a survey (Display Options) and a click
// on a channel selector reach the very next reading: what it maps, with the
// scale of its component, in the decode context the handlers share.

#include <gtest/gtest.h>

#include <string>

#include "devsim/binary_record.h"
#include "map/colour_class.h"
#include "reading/decode_context.h"
#include "serial/instrument_framer.h"
#include "settings/instrument_defaults.h"
#include "survey/channel_selectors.h"
#include "survey/instrument_handler.h"

namespace quelor {
namespace {

RecordBytes framed(int type, const std::string& wire) {
  auto framer = make_instrument_framer(type, ReaderOptions{});
  RecordBytes out;
  for (char c : wire) {
    const FrameStep step = frame_byte(*framer, static_cast<std::uint8_t>(c), FrameContext{});
    if (step.event == FrameEvent::kRecord) out = framed_record(*framer);
  }
  return out;
}

struct Logging {
  SurveyRecord survey;
  InstrumentSurveyState state;
  Logging() {
    survey.state = kStateLogging;
    survey.colour_index.filling = true;
  }
  InstrumentOutcome next(const DecodeContext& d, const RecordBytes& r) {
    return handle_instrument_reading(survey, state, InstrumentContext{}, d, r, 1000);
  }
};

int class_of(double v, double minimum, double maximum) { return colour_class(v, minimum, maximum); }

TEST(ViewChange, DisplayOptionsAndSelectorClickReachTheNextReading) {
  Settings s = initial_settings(Variant{kEm61Mk2, kRealTimeMap});
  s.profile_scale_1 = {0.0, 1000.0};
  s.colour_map_view = 1;
  DecodeContext d = decode_context_from_settings(s, kEm61Mk2, false, false);
  devsim::Em61Reading e;
  e.channels = {900, 500, 250, 90};
  const RecordBytes record = framed(kEm61Mk2, devsim::encode_em61_record(e));
  Logging live;
  const InstrumentOutcome first = live.next(d, record);
  ASSERT_TRUE(first.segment_entry);
  EXPECT_EQ(*first.segment_entry, class_of(first.channels[0], 0, 1000));

  // Display Options: channel 4/T mapped from now on.
  s.colour_map_view = 4;
  set_mapped_view(d, s);
  const InstrumentOutcome second = live.next(d, record);
  EXPECT_EQ(*second.segment_entry, class_of(second.channels[3], 0, 1000));
  EXPECT_NE(*second.segment_entry, *first.segment_entry);

  // The second selector: channel 2.
  select_channel(s, kEm61Mk2, channel_of_selector(kEm61Mk2, 1));
  EXPECT_EQ(s.colour_map_view, 2);
  set_mapped_view(d, s);
  const InstrumentOutcome third = live.next(d, record);
  EXPECT_EQ(*third.segment_entry, class_of(third.channels[1], 0, 1000));
  EXPECT_EQ(live.survey.colour_index.count, 3);
}

// The EM38-4 shows channel n on selector 1, 5, 2, 6, 3, 7, 4, 8: its second
// selector is channel 3 (coil #2's conductivity), on the first scale; the
// sixth is channel 4 (coil #2's in-phase), on the second scale.
TEST(ViewChange, Em38_4SelectorsMapTheirChannelOnItsScale) {
  Settings s = initial_settings(Variant{kEm38_4, kRealTimeMap});
  s.profile_scale_1 = {0.0, 500.0};
  s.profile_scale_2 = {-10.0, 10.0};
  DecodeContext d = decode_context_from_settings(s, kEm38_4, false, false);
  devsim::Em38_4Reading r;
  r.conductivity = {100, 200, 300, 400};
  r.inphase = {1, 2, 3, 4};
  const RecordBytes record = framed(kEm38_4, devsim::encode_em38_4_record(r));
  Logging live;
  select_channel(s, kEm38_4, channel_of_selector(kEm38_4, 1));
  EXPECT_EQ(s.displayed_channel, 3);
  set_mapped_view(d, s);
  const InstrumentOutcome a = live.next(d, record);
  EXPECT_EQ(*a.segment_entry, class_of(a.channels[2], 0, 500));
  select_channel(s, kEm38_4, channel_of_selector(kEm38_4, 5));
  EXPECT_EQ(s.displayed_channel, 4);
  set_mapped_view(d, s);
  const InstrumentOutcome b = live.next(d, record);
  EXPECT_EQ(*b.segment_entry, class_of(b.channels[3], -10, 10));
}

// With each program's own default settings, the selectors of the mapped
// channel are shown in Monitoring (never for the EM38 and Grad601; the
// EM38-4 and CS-21 select by their displayed channel, none by default).
TEST(ViewChange, DefaultSettingsShowTheSelectors) {
  struct Case {
    int type;
    int shown;
  };
  for (const Case c : {Case{kEm31Mk2, 2}, Case{kEm34_3, 2}, Case{kEm38Mk2, 4}, Case{kEm61Mk2, 4}, Case{kEm61Lx2, 6},
                       Case{kEm38_4, 0}, Case{kCs21, 0}, Case{kEm38, 0}, Case{kGrad601, 0}}) {
    const Settings s = initial_settings(Variant{c.type, kRealTimeMap});
    SelectorInput in;
    in.instrument_type = c.type;
    in.navigation_mode = kRealTimeMap;
    in.state = kStateMonitoring;
    in.channel = selected_channel(s, c.type);
    in.em38mk2_model = s.em38mk2_model;
    in.number_of_sensors = s.number_of_sensors;
    in.em31_inphase_only = s.component == 1;
    const SelectorView v = channel_selector_view(in);
    int shown = 0;
    for (bool b : v.shown) shown += b ? 1 : 0;
    EXPECT_EQ(shown, c.shown) << c.type;
    if (c.shown > 0) {
      EXPECT_EQ(v.checked, selector_of_channel(c.type, in.channel)) << c.type;
    }
  }
}

}  // namespace
}  // namespace quelor
