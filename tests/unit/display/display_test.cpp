#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "display/bar_update.h"
#include "display/numbers_rows.h"
#include "display/profile_scale.h"
#include "display/profile_step.h"
#include "display/speed_bar.h"
#include "display/trace_layout.h"
#include "variant/variant.h"

namespace quelor {
namespace {

std::vector<int> rows_of(const ScaleLines& s) { return {s.rows.begin(), s.rows.begin() + s.count}; }

TEST(ProfileScale, ValueRowsAndScaleLines) {
  struct Case {
    int height;
    double minimum, maximum;
    std::vector<int> lines;  // main line first
    bool zero_main;
  };
  const Case cases[] = {
      {100, 0, 500, {79, 59, 39, 19}, false},
      {100, -500, 0, {79, 59, 39, 19}, false},
      {100, -25, 25, {50, 37, 25, 12, 62, 75, 87}, true},
      // f = round(90 / 10) = 9, at most 5 steps of the larger side's limit (90 / 5)
      {100, -10, 90, {90, 72, 54, 36, 18}, true},
      // the upper part is less than a pixel: it counts as one, f = 100 -> 5
      {100, -500, 0.0001, {0, 20, 40, 60, 80}, true},
      // f = 1 with a longer upper side: the step is a quarter of the smaller limit
      {96, -20, 28, {56, 46, 36, 26, 16, 6, 66, 76, 86}, true},
      {0, -25, 25, {}, false},
      {100, 5, 5, {}, false},
  };
  for (const Case& c : cases) {
    const ScaleLines s = scale_lines(c.height, c.minimum, c.maximum);
    EXPECT_EQ(rows_of(s), c.lines) << c.minimum << ".." << c.maximum;
    EXPECT_EQ(s.main_is_zero, c.zero_main);
    EXPECT_LE(s.count, kMaxScaleLines);
  }
  const double p = pixels_per_unit(100, 0, 500);
  EXPECT_DOUBLE_EQ(p, 0.2);
  EXPECT_EQ(value_row(250, 500, p), 50);
  EXPECT_EQ(value_row(1e300, 500, p), -1000000);  // far above: clipped at the top
  EXPECT_EQ(value_row(std::numeric_limits<double>::quiet_NaN(), 500, p), 0);
  EXPECT_EQ(zero_mode(0, 500), kAllAboveZero);
  EXPECT_EQ(zero_mode(-25, 25), kContainsZero);
  EXPECT_EQ(zero_mode(-25, 0), kAllBelowZero);
}

TEST(ProfileScale, MinimumAtOrAboveMaximumRaisesTheMaximum) {
  EXPECT_DOUBLE_EQ(accepted_scale(10, 10).maximum, 110);
  EXPECT_DOUBLE_EQ(accepted_scale(50, 20).maximum, 150);
  EXPECT_DOUBLE_EQ(accepted_scale(-25, 25).maximum, 25);
  EXPECT_DOUBLE_EQ(pixels_per_unit(100, 5, 5), 0.0);
}

// While logging the profiles step only for the readings that are written.
TEST(ProfileStep, OnlyWrittenReadingsStepWhileLogging) {
  EXPECT_TRUE(reading_steps_profile(true, true));
  EXPECT_FALSE(reading_steps_profile(true, false));  // Manual mode between trigger presses
  EXPECT_TRUE(reading_steps_profile(false, false));  // Monitoring and Stand By show every reading
  EXPECT_TRUE(reading_steps_profile(false, true));
}

TEST(ProfileStep, IdentityChangeRestartsTheTraceWithAPoint) {
  TraceState t;
  struct Step {
    int row, identity;
    TraceDraw::Kind kind;
    int from;
  };
  const Step steps[] = {{40, 16, TraceDraw::kPoint, 40},
                        {42, 16, TraceDraw::kLine, 40},
                        {45, 16, TraceDraw::kLine, 42},
                        {30, 8, TraceDraw::kPoint, 30},
                        {31, 8, TraceDraw::kLine, 30}};
  for (const Step& s : steps) {
    const TraceDraw d = trace_step(t, s.row, s.identity);
    EXPECT_EQ(d.kind, s.kind) << s.row;
    EXPECT_EQ(d.from_row, s.from);
    EXPECT_EQ(d.to_row, s.row);
  }
  std::array<TraceState, kMaxTraces> all{};
  all[0] = t;
  restart_traces(all);
  EXPECT_EQ(trace_step(all[0], 10, 8).kind, TraceDraw::kPoint);
  TraceState off;
  off.enabled = false;
  EXPECT_EQ(trace_step(off, 10, 0).kind, TraceDraw::kNothing);
  const ProfileScroll s = profile_scroll(200);
  EXPECT_EQ(s.width, 189);
  EXPECT_EQ(s.newest_x, 190);
  EXPECT_EQ(s.previous_x, 188);
  EXPECT_EQ(s.clear_left, 189);
  EXPECT_EQ(s.clear_right, 191);
}

TEST(BarUpdate, OnlyTheChangedBandIsPaintedFromTheBaseline) {
  struct Step {
    int row;
    std::vector<BarBand> bands;
    int stored;
  };
  struct Case {
    int mode, zero_row;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {kAllAboveZero,
       0,
       {{60, {{60, 100, true}}, 60},
        {80, {{60, 80, false}}, 80},
        {-20, {{0, 80, true}}, 0},
        {150, {{0, 100, false}}, 100}}},
      {kContainsZero,
       50,
       {{30, {{30, 50, true}}, 30},
        {70, {{30, 50, false}, {50, 70, true}}, 70},
        {60, {{60, 70, false}}, 60},
        {50, {{50, 60, false}}, 50}}},
      {kAllBelowZero, 0, {{40, {{0, 40, true}}, 40}, {10, {{10, 40, false}}, 10}}},
  };
  for (const Case& c : cases) {
    BarState bar;
    bool first = true;
    for (const Step& s : c.steps) {
      const BarPaint p = bar_update(bar, s.row, 100, c.mode, c.zero_row);
      EXPECT_EQ(p.frame, first);
      first = false;
      ASSERT_EQ(p.band_count, static_cast<int>(s.bands.size())) << c.mode << " row " << s.row;
      for (int i = 0; i < p.band_count; ++i) {
        EXPECT_EQ(p.bands[i].top, s.bands[i].top) << c.mode << " row " << s.row;
        EXPECT_EQ(p.bands[i].bottom, s.bands[i].bottom);
        EXPECT_EQ(p.bands[i].filled, s.bands[i].filled);
      }
      EXPECT_EQ(bar.top, s.stored);
    }
  }
}

TEST(SpeedBar, MaximumAtOrBelowZeroKeepsThePreviousOne) {
  const SpeedScale s{0.0, 5.0};
  EXPECT_DOUBLE_EQ(accepted_speed_maximum(0.0, s), 5.0);
  EXPECT_DOUBLE_EQ(accepted_speed_maximum(-2.0, s), 5.0);
  EXPECT_DOUBLE_EQ(accepted_speed_maximum(std::numeric_limits<double>::quiet_NaN(), s), 5.0);
  EXPECT_DOUBLE_EQ(accepted_speed_maximum(2.5, s), 2.5);
  EXPECT_EQ(speed_fill(2.5, 200, s), 100);
  EXPECT_EQ(speed_fill(9.0, 200, s), 200);
  EXPECT_EQ(speed_fill(-1.0, 200, s), 0);
  EXPECT_EQ(speed_fill(1.0, 200, {0.0, 0.0}), 0);
  EXPECT_STREQ(speed_unit_text(2), "km/h");
}

// The speed of the fixes in map units per second, shown and filled in the
// speed bar units: a 5 km/h walk fills the whole of a 5 km/h bar.
TEST(SpeedBar, ViewInEachSpeedBarUnit) {
  struct Row {
    double speed;  // map units per second
    int map_units, bar_units;
    double maximum;
    const char* text;
    int fill;  // of a 200-pixel bar
  };
  const double walk = 5.0 / 3.6;  // 5 km/h in m/s
  const Row rows[] = {
      {walk, 0, 2, 5.0, " 5.00 km/h", 200},  {walk, 0, 2, 10.0, " 5.00 km/h", 100}, {walk, 0, 0, 5.0, " 1.39 m/s", 55},
      {walk, 0, 1, 5.0, " 4.56 ft/s", 182},  {walk, 0, 3, 5.0, " 3.11 mph", 124},   {1.0, 0, 0, 5.0, " 1.00 m/s", 40},
      {1.0, 0, 1, 5.0, " 3.28 ft/s", 131},   {1.0, 0, 2, 5.0, " 3.60 km/h", 144},   {1.0, 0, 3, 5.0, " 2.24 mph", 89},
      {10.0, 1, 0, 5.0, " 3.05 m/s", 121},  // feet per second
      {10.0, 1, 1, 5.0, "10.00 ft/s", 200},  {10.0, 1, 2, 20.0, "10.97 km/h", 109}, {10.0, 1, 3, 5.0, " 6.82 mph", 200},
      {10.0, 2, 1, 20.0, "10.00 ft/s", 100},                                    // US survey feet as feet
      {1.0, 0, 9, 5.0, " 1.00 m/s", 40},                                        // an unknown unit: m/s
      {0.0, 0, 2, 5.0, " 0.00 km/h", 0},     {1.0, 0, 0, 0.0, " 1.00 m/s", 0},  // an empty scale fills nothing
  };
  for (const Row& r : rows) {
    const SpeedView v = speed_view({r.speed, r.map_units, r.bar_units, r.maximum, 200});
    EXPECT_EQ(v.text, r.text) << r.speed << " " << r.map_units << " " << r.bar_units;
    EXPECT_EQ(v.fill, r.fill) << r.text << " of " << r.maximum;
  }
}

TEST(NumbersRows, LabelsPerInstrumentAndTheMarkerField) {
  const double v[] = {1.5, -2.25, 3, 4, 5, 6, 1234.5, -0.125};
  struct Case {
    InstrumentType type;
    bool two;
    int count;
    bool marker;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {kCs21, false, 4, false, {"HC #1:    1.50", "HI  #1:   -2.25", "PC #1:    3.00", "PI  #1:    4.00"}},
      {kGrad601, true, 2, true, {"G #1:    1.50", "G #2:   -2.25", "Marker"}},
      {kEm61Mk2, false, 1, true, {"Ch1:    1.50", "MARKER"}},
      {kEm61Lx2,
       true,
       6,
       false,
       {"LE:    1.50", "LL:   -2.25", "LF:    3.00", "RE:    4.00", "RL:    5.00", "RF:    6.00"}},
      {kEm38_4, false, 8, true, {"#1: 1.50 -2.25", "#2: 3.00 4.00", "#3: 5.00 6.00", "#4: 1234.50 -0.12", "Marker"}},
  };
  for (const Case& c : cases) {
    NumbersInput in{c.type, c.two, std::span<const double>(v, static_cast<std::size_t>(c.count)), c.marker};
    EXPECT_EQ(numbers_rows(in), c.rows) << c.type;
  }
}

// The numbers of the "T" instruments: values, then range and mode; a marker
// or the EM34-3 reading count takes a row while it is set.
TEST(NumbersRows, TRecordInstrumentsShowRangeAndMode) {
  struct Case {
    TRecordNumbers in;
    std::vector<std::string> rows;
  };
  TRecordNumbers em31{kEm31Mk2, true, 12.5, false, -3.25, 1000, 'V', 0, false, {}, 4};
  TRecordNumbers em31_marked = em31;
  em31_marked.marker = true;
  TRecordNumbers em38{kEm38, true, 1.75, true, std::nullopt, 100, 'H', 0, false, {}, 4};
  TRecordNumbers em34{kEm34_3, true, 8.0, false, std::nullopt, 30, 'H', 20, false, {}, 4};
  TRecordNumbers em34_manual = em34;
  em34_manual.reading_count = "Rdg: 2 of 3";
  TRecordNumbers none;
  none.have_reading = false;
  const Case cases[] = {
      {em31, {"C:    12.50", "I:     -3.25", "Gain:  1000", "Dipole: Vertical"}},
      {em31_marked, {"C:    12.50", "I:     -3.25", "Marker", "Gain:  1000"}},
      {em38, {"I:      1.75", "Gain:   100", "Dipole: Horiz."}},
      {em34, {"C:     8.00", "Sep:    20 m", "Gain:    30", "Dipole: Horiz."}},
      {em34_manual, {"C:     8.00", "Sep:    20 m", "Rdg: 2 of 3", "Gain:    30"}},
      {none, {"C: "}},
  };
  for (const Case& c : cases) EXPECT_EQ(t_record_numbers_rows(c.in), c.rows) << c.in.instrument_type;
}

}  // namespace
}  // namespace quelor

namespace quelor {
namespace {

TEST(TraceLayout, ComponentsAndProfileSlotsPerInstrument) {
  struct Case {
    InstrumentType type;
    int count;
    bool two;
    const char* components;  // per channel
    const char* slots;
    bool first_is_inphase = false;
  };
  const Case cases[] = {
      {kEm31Mk2, 2, false, "12", "01"},
      {kEm38, 1, false, "1", "0"},
      {kEm38, 1, false, "2", "1", true},  // an in-phase record: decay window, in-phase scale and bar
      {kEm34_3, 1, false, "1", "0", true},
      {kEm38Mk2, 12, false, "12121212", "01010101"},
      {kEm34_3, 1, false, "1", "0"},
      {kEm61Mk2, 4, false, "1111", "0000"},
      {kEm38_4, 8, false, "12121212", "01010101"},  // selectors 1-4 | 5-8
      {kCs21, 4, false, "1212", "0101"},
      {kEm61Lx2, 6, true, "111111", "000111"},  // left | right coil
      {kEm61Lx2, 3, false, "111", "001"},       // gates E, L | filtered F
      {kGrad601, 2, true, "11", "01"},          // sensor 1 | sensor 2
      {kGrad601, 1, false, "1", "0"},
  };
  for (const Case& c : cases) {
    const TraceLayout t = trace_layout(c.type, c.count, c.two, c.first_is_inphase);
    std::string components, slots;
    for (int i = 0; i < t.count; ++i) {
      components += static_cast<char>('0' + t.channels[i].component);
      slots += static_cast<char>('0' + t.channels[i].slot);
      // every channel draws against the scale of the window it is in
      EXPECT_EQ(t.channels[i].component, t.plan.slots[t.channels[i].slot].component) << c.type << " " << i;
    }
    EXPECT_EQ(components, c.components) << c.type;
    EXPECT_EQ(slots, c.slots) << c.type;
  }
  // The EM38's in-phase record continues the in-phase trace, not the conductivity one.
  EXPECT_EQ(trace_layout(kEm38, 1, false, true).channels[0].trace, 1);
  EXPECT_EQ(trace_layout(kEm38, 1, false, false).channels[0].trace, 0);
}

// A trace keeps one window and one scale whatever the record: the EM38's
// conductivity and in-phase records, coming in turn, never share the trace
// (and bar gauge) of the other, so a repaint after either leaves both bars.
TEST(TraceLayout, EachTraceKeepsOneWindowAndScale) {
  const InstrumentType types[] = {kEm31Mk2, kEm38, kEm38Mk2, kEm34_3, kEm61Mk2, kEm38_4, kCs21, kEm61Lx2, kGrad601};
  for (InstrumentType type : types) {
    for (bool two : {false, true}) {
      std::array<int, kMaxDisplayChannels> component{}, slot{};
      for (int count = 1; count <= kMaxDisplayChannels; ++count) {
        for (bool inphase : {false, true}) {
          const TraceLayout t = trace_layout(type, count, two, inphase);
          for (int i = 0; i < t.count; ++i) {
            const ChannelDisplay& c = t.channels[i];
            ASSERT_GE(c.trace, 0);
            ASSERT_LT(c.trace, kMaxDisplayChannels);
            if (component[c.trace] == 0) {
              component[c.trace] = c.component;
              slot[c.trace] = c.slot;
            }
            EXPECT_EQ(c.component, component[c.trace]) << type << " trace " << c.trace;
            EXPECT_EQ(c.slot, slot[c.trace]) << type << " trace " << c.trace;
          }
        }
      }
    }
  }
}

// Groups of sensors and coils in the second and third profile windows, never
// the first; quadrature and in-phase in the first and the decay window with
// their bar gauges; the single-component instruments in the first alone.
TEST(TraceLayout, ProfileWindowsAndBarsPerInstrument) {
  using W = ProfileWindow;
  struct Case {
    InstrumentType type;
    bool two;
    int count;
    W first, second;
    bool bars;
  };
  const Case cases[] = {
      {kEm31Mk2, false, 2, W::kFirst, W::kDecay, true},   {kEm38, false, 2, W::kFirst, W::kDecay, true},
      {kEm38Mk2, false, 2, W::kFirst, W::kDecay, true},   {kEm34_3, false, 1, W::kFirst, W::kFirst, false},
      {kEm61Mk2, false, 1, W::kFirst, W::kFirst, false},  {kEm38_4, false, 2, W::kSecond, W::kThird, false},
      {kCs21, false, 2, W::kSecond, W::kThird, false},    {kEm61Lx2, true, 2, W::kSecond, W::kThird, false},
      {kEm61Lx2, false, 2, W::kSecond, W::kThird, false}, {kGrad601, true, 2, W::kSecond, W::kThird, false},
      {kGrad601, false, 1, W::kSecond, W::kThird, false},
  };
  for (const Case& c : cases) {
    const ProfilePlan p = profile_plan(c.type, c.two);
    EXPECT_EQ(p.count, c.count) << c.type;
    EXPECT_EQ(p.slots[0].window, c.first) << c.type;
    if (c.count == 2) {
      EXPECT_EQ(p.slots[1].window, c.second) << c.type;
    }
    EXPECT_EQ(p.bars, c.bars) << c.type;
    EXPECT_EQ(p.slots[0].component, 1) << c.type;
  }
  EXPECT_EQ(profile_plan(kEm31Mk2, false).slots[1].component, 2);
  EXPECT_EQ(profile_plan(kEm38_4, false).slots[1].component, 2);
  EXPECT_EQ(profile_plan(kEm61Lx2, true).slots[1].component, 1);
}

}  // namespace
}  // namespace quelor

#include "display/scale_settings.h"

namespace quelor {
namespace {

TEST(ScaleSettings, ScalesRefusedAtTheStartOfLoggingToo) {
  struct Case {
    std::array<double, 2> one, two;
    double speed;
    std::array<double, 2> one_out, two_out;
    double speed_out;
    bool changed;
  };
  const Case cases[] = {
      {{0, 500}, {-25, 25}, 5, {0, 500}, {-25, 25}, 5, false},
      {{500, 500}, {-25, 25}, 5, {500, 600}, {-25, 25}, 5, true},
      {{0, 500}, {30, -30}, 0, {0, 500}, {30, 130}, 5, true},
      {{0, 500}, {-25, 25}, -3, {0, 500}, {-25, 25}, 5, true},
      {{0, 500}, {-25, 25}, 12.5, {0, 500}, {-25, 25}, 12.5, false},
  };
  for (const Case& c : cases) {
    Settings s;
    s.profile_scale_1 = c.one;
    s.profile_scale_2 = c.two;
    s.speed_scale_maximum = c.speed;
    EXPECT_EQ(accept_display_scales(s), c.changed);
    EXPECT_EQ(s.profile_scale_1, c.one_out);
    EXPECT_EQ(s.profile_scale_2, c.two_out);
    EXPECT_DOUBLE_EQ(s.speed_scale_maximum, c.speed_out);
  }
}

}  // namespace
}  // namespace quelor

#include "display/display_forms.h"

namespace quelor {
namespace {

TEST(DisplayForms, TemplatesByInstrument) {
  struct Case {
    InstrumentType type;
    const char* scale;
    const char* profile;
  };
  const Case cases[] = {
      {kEm31Mk2, "READINGSCALE31", "DISPLAYSETUP31"}, {kEm38, "READINGSCALE31", "DISPLAYSETUP31"},
      {kEm34_3, "READINGSCALE34", "DISPLAYSETUP34"},  {kEm38Mk2, "READINGSCALE31", "DISPLAYSETUP38MK2"},
      {kEm38_4, "READINGSCALE31", "DISPLAYSETUP384"}, {kCs21, "READINGSCALE31", "DISPLAYSETUP384"},
      {kGrad601, "READINGSCALE", "DISPLAYSETUP601"},  {kEm61Lx2, "READINGSCALE", "DISPLAYSETUPLX2"},
      {kEm61Mk2, "READINGSCALE", "DISPLAYSETUP"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(readings_scale_template(c.type), c.scale) << c.type;
    EXPECT_EQ(profile_options_template(c.type), c.profile) << c.type;
  }
}

TEST(DisplayForms, ScaleAndSpeedFormsKeepTheirRulesOnOk) {
  Settings s;
  ReadingsScaleForm f = readings_scale_form(s, kEm31Mk2);
  ASSERT_TRUE(f.two_components);
  EXPECT_FALSE(scale_edit_accepted(40, 40));
  EXPECT_TRUE(scale_edit_accepted(-40, 40));
  f.first = {200, 100};
  f.second = {-5, 5};
  store_readings_scale(f, s);
  EXPECT_EQ(s.profile_scale_1, (std::array<double, 2>{200, 300}));
  EXPECT_EQ(s.profile_scale_2, (std::array<double, 2>{-5, 5}));
  ReadingsScaleForm one = readings_scale_form(s, kGrad601);
  EXPECT_FALSE(one.two_components);
  one.second = {9, 1};
  store_readings_scale(one, s);
  EXPECT_EQ(s.profile_scale_2, (std::array<double, 2>{-5, 5}));  // not this dialog's

  SpeedScaleForm sp = speed_scale_form(s);
  EXPECT_EQ(speed_scale_text(sp.current), "5.00");
  sp.entered = 0;
  sp.units = 2;
  store_speed_scale(sp, s);
  EXPECT_DOUBLE_EQ(s.speed_scale_maximum, 5.0);
  EXPECT_EQ(s.speed_bar_units, 2);
  sp.entered = 7.5;
  store_speed_scale(sp, s);
  EXPECT_DOUBLE_EQ(s.speed_scale_maximum, 7.5);
}

TEST(DisplayForms, ProfileOptionsRoundTripTheTracesOfTheInstrument) {
  struct Case {
    InstrumentType type;
    int sensors, model, traces;
  };
  for (const Case c :
       {Case{kEm31Mk2, 0, 0, 2}, Case{kEm38Mk2, 0, 1, 2}, Case{kEm38Mk2, 0, 0, 4}, Case{kEm38_4, 0, 0, 8},
        Case{kEm61Lx2, 1, 0, 6}, Case{kEm61Lx2, 0, 0, 3}, Case{kGrad601, 1, 0, 2}, Case{kGrad601, 0, 0, 1}}) {
    Settings s;
    s.number_of_sensors = c.sensors;
    s.em38mk2_model = c.model;
    ProfileOptionsForm f = profile_options_form(s, c.type);
    ASSERT_EQ(f.traces, c.traces) << c.type;
    for (int i = 0; i < kProfileFormTraces; ++i) {
      f.width[i] = i % 4 + 1;
      f.colour[i] = trace_colour_choices()[static_cast<std::size_t>(i)].colour;
    }
    f.displayed_channel = 3;
    const Settings before = s;
    store_profile_options(f, s);
    for (int i = 0; i < kProfileFormTraces; ++i) {
      const bool shown = i < c.traces;
      EXPECT_EQ(s.trace_widths[i], shown ? i % 4 + 1 : before.trace_widths[i]) << c.type << " " << i;
      EXPECT_EQ(s.trace_colours[i], shown ? trace_colour_choices()[i].colour : before.trace_colours[i]);
    }
    EXPECT_EQ(s.displayed_channel, c.type == kEm38_4 ? 3 : before.displayed_channel);
    EXPECT_EQ(s.profile_option, 1);
  }
  EXPECT_EQ(trace_colour_index(0x123456), static_cast<int>(trace_colour_choices().size()));
  EXPECT_EQ(trace_colour_index(0x0000FF), 2);
}

}  // namespace
}  // namespace quelor
