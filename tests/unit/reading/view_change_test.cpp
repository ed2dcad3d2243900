// A change of the mapped view while logging (Display Options) and a click on
// a channel selector in Stand By reach the very next reading: what it maps,
// with the scale of its component, in the decode context the handlers share,
// into the segment the GPS-fix handler started.

#include <gtest/gtest.h>

#include <string>

#include "../survey/survey_test_support.h"
#include "devsim/binary_record.h"
#include "devsim/em31_record.h"
#include "map/colour_class.h"
#include "reading/decode_context.h"
#include "reading/reading_meaning.h"
#include "serial/instrument_framer.h"
#include "settings/instrument_defaults.h"
#include "survey/channel_selectors.h"
#include "survey/gps_fix_handler.h"
#include "survey/instrument_handler.h"
#include "survey/logging_commands.h"

namespace quelor {
namespace {

RecordBytes framed(InstrumentType type, const std::string& wire) {
  auto framer = make_instrument_framer(type, ReaderOptions{});
  RecordBytes out;
  for (char c : wire) {
    const FrameStep step = frame_byte(*framer, static_cast<std::uint8_t>(c), FrameContext{});
    if (step.event == FrameEvent::kRecord) out = framed_record(*framer);
  }
  return out;
}

// The survey as the program runs it: Go and Pause from Stand By, a GPS fix
// after Go starts the map's segment, each reading through the handler.
struct Logging {
  SurveyRecord survey;
  InstrumentSurveyState state;
  InstrumentType type;
  std::uint32_t tick = 1000;
  double seconds = 30000.0;
  explicit Logging(InstrumentType instrument_type) : type(instrument_type) { survey.state = kStateStandBy; }
  void go(const Settings& s) {
    go_command(survey, CommandContext{.instrument_type = type, .now = ++tick});
    handle_gps_fix(survey, fix_context_from_settings(s, type), survey_testing::gga(48.0, 11.0, ++seconds));
  }
  void pause() { pause_command(survey, CommandContext{.instrument_type = type, .now = ++tick}); }
  InstrumentOutcome next(const DecodeContext& d, const RecordBytes& r) {
    return handle_instrument_reading(survey, state, InstrumentContext{}, d, r, ++tick);
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
  Logging live(kEm61Mk2);
  live.go(s);
  const InstrumentOutcome first = live.next(d, record);
  ASSERT_TRUE(first.logged);
  ASSERT_TRUE(first.segment_entry);
  EXPECT_EQ(*first.segment_entry, class_of(first.channels[0], 0, 1000));

  // Display Options while logging: channel 4/T mapped from now on.
  s.colour_map_view = 4;
  set_mapped_view(d, s);
  const InstrumentOutcome second = live.next(d, record);
  EXPECT_EQ(*second.segment_entry, class_of(second.channels[3], 0, 1000));
  EXPECT_NE(*second.segment_entry, *first.segment_entry);
  EXPECT_EQ(live.survey.colour_index.count, 2);  // both in the segment being filled

  // The selectors show in Stand By: the second one, channel 2, then Go.
  live.pause();
  select_channel(s, kEm61Mk2, channel_of_selector(kEm61Mk2, 1));
  EXPECT_EQ(s.colour_map_view, 2);
  set_mapped_view(d, s);
  live.go(s);
  const InstrumentOutcome third = live.next(d, record);
  EXPECT_EQ(*third.segment_entry, class_of(third.channels[1], 0, 1000));
  EXPECT_EQ(live.survey.colour_index.count, 1);  // the segment restarted at the fix after Go
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
  Logging live(kEm38_4);
  select_channel(s, kEm38_4, channel_of_selector(kEm38_4, 1));
  EXPECT_EQ(s.displayed_channel, 3);
  set_mapped_view(d, s);
  live.go(s);
  const InstrumentOutcome a = live.next(d, record);
  ASSERT_TRUE(a.segment_entry);
  EXPECT_EQ(*a.segment_entry, class_of(a.channels[2], 0, 500));
  live.pause();
  select_channel(s, kEm38_4, channel_of_selector(kEm38_4, 5));
  EXPECT_EQ(s.displayed_channel, 4);
  set_mapped_view(d, s);
  live.go(s);
  const InstrumentOutcome b = live.next(d, record);
  ASSERT_TRUE(b.segment_entry);
  EXPECT_EQ(*b.segment_entry, class_of(b.channels[3], -10, 10));
  EXPECT_EQ(live.survey.colour_index.count, 1);
}

// With each program's own default settings, the selectors of the mapped
// channel are shown in Monitoring, those of views the map draws (never for
// the EM38 and Grad601; the EM34-3 maps one view; the
// EM38-4 and CS-21 select by their displayed channel, none by default).
TEST(ViewChange, DefaultSettingsShowTheSelectors) {
  struct Case {
    InstrumentType type;
    int shown;
  };
  for (const Case c : {Case{kEm31Mk2, 2}, Case{kEm34_3, 1}, Case{kEm38Mk2, 4}, Case{kEm61Mk2, 4}, Case{kEm61Lx2, 6},
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

// The EM38 sends one component a record: view 1 maps its conductivity
// records on the first scale, view 2 its in-phase records on the second;
// a record of the other component maps nothing.
TEST(ViewChange, Em38ViewsMapTheirOwnComponentsRecords) {
  Settings s = initial_settings(Variant{kEm38, kRealTimeMap});
  s.profile_scale_1 = {0.0, 500.0};
  s.profile_scale_2 = {-10.0, 10.0};
  devsim::Em38Reading cond, inph;
  cond.value = 120.0;
  inph.inphase = true;
  inph.value = 4.0;
  for (int view : {1, 2}) {
    s.colour_map_view = view;
    const DecodeContext d = decode_context_from_settings(s, kEm38, false, false);
    const ReadingMeaning c = interpret_reading(d, framed(kEm38, devsim::encode_em38_record(cond)).text());
    const ReadingMeaning i = interpret_reading(d, framed(kEm38, devsim::encode_em38_record(inph)).text());
    EXPECT_EQ(c.entry.has_value(), view == 1) << view;
    EXPECT_EQ(i.entry.has_value(), view == 2) << view;
    if (view == 1 && c.entry) {
      EXPECT_EQ(*c.entry, class_of(c.channels[0], 0, 500));
    }
    if (view == 2 && i.entry) {
      EXPECT_EQ(*i.entry, class_of(i.channels[0], -10, 10));
    }
  }
}

}  // namespace
}  // namespace quelor
