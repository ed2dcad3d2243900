#include "settings/instrument_defaults.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "memory_file_system.h"
#include "settings/settings_file.h"
#include "test_support.h"

namespace quelor {
namespace {

struct DefaultsCase {
  InstrumentType instrument_type;
  int colour_map_view;
  std::array<int, 8> widths;
  std::array<ColorRef, 8> colours;
  double gps_x_offset;
  int swath_option;
};

constexpr ColorRef R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, M = 0xFF00FF;

const DefaultsCase kCases[] = {
    {kGrad601, 1, {2, 3, 4, 1, 2, 3, 4, 1}, {R, G, B, M, R, G, B, M}, 0.0, 1},
    {kEm61Lx2, 2, {2, 3, 4, 2, 2, 3, 4, 1}, {R, G, B, M, R, G, B, M}, 0.0, 5},
    {kEm61Mk2, 3, {2, 3, 4, 2, 2, 3, 4, 1}, {R, G, B, M, R, G, B, M}, 0.0, 5},
    {kEm31Mk2, 1, {3, 2, 3, 2, 2, 2, 2, 2}, {R, G, B, M, R, G, B, M}, -0.3, 2},
    {kEm38, 1, {3, 2, 3, 2, 2, 2, 2, 2}, {R, G, B, M, R, G, B, M}, -0.3, 1},
    {kEm34_3, 1, {3, 3, 3, 2, 2, 2, 4, 1}, {R, 0xFFFF00, 0x4080FF, 0xFF00FF, R, G, B, M}, 0.0, 2},
    {kEm38Mk2, 1, {3, 3, 3, 3, 2, 2, 2, 2}, {R, 0x4080FF, 0xFF0000, 0x00FF00, R, G, 0x0000FF, 0x4080FF}, -0.3, 1},
    {kEm38_4, 1, {1, 2, 3, 4, 1, 2, 3, 4}, {R, 0xFF00FF, 0xFFE000, 0x15B535, R, G, 0x00A0FF, 0xFF00A4}, -0.3, 1},
    {kCs21, 1, {1, 2, 3, 4, 1, 2, 3, 4}, {R, 0xFF00FF, 0xFFE000, 0x15B535, R, G, 0x00A0FF, 0xFF00A4}, -0.3, 1},
};

TEST(InstrumentDefaults, TablePerInstrument) {
  for (const DefaultsCase& c : kCases) {
    Settings s;
    apply_instrument_defaults(s, c.instrument_type);
    EXPECT_EQ(s.colour_map_view, c.colour_map_view) << c.instrument_type;
    for (std::size_t i = 0; i < 8; ++i) {
      EXPECT_EQ(s.trace_widths[i], c.widths[i]) << c.instrument_type << " width " << i;
      EXPECT_EQ(s.trace_colours[i], c.colours[i]) << c.instrument_type << " colour " << i;
    }
    EXPECT_EQ(s.gps_x_offset, c.gps_x_offset) << c.instrument_type;
    EXPECT_EQ(s.gps_y_offset, 0.0) << c.instrument_type;
    EXPECT_EQ(s.swath_option, c.swath_option) << c.instrument_type;
    // positions 8..15 keep their built-in values
    const Settings built_in;
    for (std::size_t i = 8; i < 16; ++i) {
      EXPECT_EQ(s.trace_widths[i], built_in.trace_widths[i]);
      EXPECT_EQ(s.trace_colours[i], built_in.trace_colours[i]);
    }
  }
}

TEST(InstrumentDefaults, FurtherValues) {
  Settings s;
  s.number_of_sensors = 0;
  apply_instrument_defaults(s, kGrad601);
  EXPECT_EQ(s.number_of_sensors, 1);

  s = Settings{};
  s.left_coil_filter_factor = s.right_coil_filter_factor = 200.0;
  apply_instrument_defaults(s, kEm61Lx2);
  EXPECT_EQ(s.left_coil_filter_factor, 310.0);
  EXPECT_EQ(s.right_coil_filter_factor, 310.0);

  s = Settings{};
  s.tilt_meter = 1;
  s.tilt_meter_settings = {0, 0};
  apply_instrument_defaults(s, kEm61Mk2);
  EXPECT_EQ(s.antenna_height, 1.65);
  EXPECT_EQ(s.tilt_meter_settings, (std::array<int, 2>{5, 2}));
  EXPECT_EQ(s.tilt_meter, 0);
  EXPECT_EQ(Settings{}.antenna_height, 1.35);
}

TEST(InstrumentDefaults, OnlyTheTableFieldsChange) {
  for (const DefaultsCase& c : kCases) {
    Settings s;
    apply_instrument_defaults(s, c.instrument_type);
    Settings expected;
    expected.colour_map_view = s.colour_map_view;
    expected.trace_widths = s.trace_widths;
    expected.trace_colours = s.trace_colours;
    expected.gps_x_offset = s.gps_x_offset;
    expected.swath_option = s.swath_option;
    expected.number_of_sensors = s.number_of_sensors;
    expected.antenna_height = s.antenna_height;
    expected.tilt_meter_settings = s.tilt_meter_settings;
    expected.tilt_meter = s.tilt_meter;
    expected.left_coil_filter_factor = s.left_coil_filter_factor;
    expected.right_coil_filter_factor = s.right_coil_filter_factor;
    expected.profile_scale_1 = s.profile_scale_1;
    expected.profile_scale_2 = s.profile_scale_2;
    EXPECT_EQ(s, expected) << c.instrument_type;
  }
}

struct ScaleCase {
  InstrumentType instrument_type;
  std::array<double, 2> scale_1;
  std::array<double, 2> scale_2;
};

// The readings (and colour) scales each instrument starts with.
TEST(InstrumentDefaults, ScaleLimitsPerInstrument) {
  const ScaleCase cases[] = {
      {kEm31Mk2, {0, 500}, {-25, 25}},  {kEm38, {0, 500}, {-25, 25}},     {kEm34_3, {0, 500}, {-25, 25}},
      {kEm38Mk2, {0, 1000}, {0, 1500}}, {kEm38_4, {0, 1000}, {-30, 30}},  {kCs21, {0, 1000}, {-30, 30}},
      {kGrad601, {0, 2000}, {-25, 25}}, {kEm61Mk2, {0, 2000}, {-25, 25}}, {kEm61Lx2, {0, 2000}, {-25, 25}},
  };
  for (const ScaleCase& c : cases) {
    for (int nav : {0, 1}) {
      const Settings s = initial_settings({c.instrument_type, nav});
      EXPECT_EQ(s.profile_scale_1, c.scale_1) << c.instrument_type;
      EXPECT_EQ(s.profile_scale_2, c.scale_2) << c.instrument_type;
    }
  }
}

// A settings file's scales replace the defaults: the defaults only start a
// program that has no file yet.
TEST(InstrumentDefaults, ScaleLimitsOfTheFileWin) {
  const Variant v{kEm61Mk2, 0};
  Settings saved = initial_settings(v);
  saved.profile_scale_1 = {-10.0, 300.0};
  MemoryFileSystem fs;
  ASSERT_EQ(settings_file_operation(kSaveSettings, saved, v, fs), 1);
  EXPECT_EQ(settings_at_start(v, fs).profile_scale_1, (std::array<double, 2>{-10.0, 300.0}));
  MemoryFileSystem empty;
  EXPECT_EQ(settings_at_start(v, empty).profile_scale_1, (std::array<double, 2>{0.0, 2000.0}));
}

TEST(InstrumentDefaults, InitialSettingsHideColourMapInNavigationLine) {
  for (const Variant& v : all_variants()) {
    Settings expected;
    apply_instrument_defaults(expected, v.instrument_type);
    if (v.navigation_mode == kNavigation) expected.colour_map_view = 0;
    EXPECT_EQ(initial_settings(v), expected) << variant_name(v);
  }
  EXPECT_EQ(initial_settings({kEm61Mk2, 0}).colour_map_view, 3);
  EXPECT_EQ(initial_settings({kEm61Mk2, 1}).colour_map_view, 0);
}

}  // namespace
}  // namespace quelor
