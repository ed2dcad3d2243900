#include "settings/instrument_defaults.h"

#include <array>
#include <cstddef>

namespace quelor {

namespace {

struct ColourAt {
  int position;
  ColorRef colour;
};

struct InstrumentDefaults {
  InstrumentType instrument_type;
  int colour_map_view;
  int width_count;  // trace widths set from position 0
  std::array<int, 8> widths;
  int colour_count;  // entries of `colours` in use
  std::array<ColourAt, 5> colours;
  double gps_x_offset;
  double gps_y_offset;
  int swath_option;
  void (*further)(Settings&);  // instrument-only values, or nullptr
};

// The default limits of the readings (and colour) scales: the first component
// and the second (in-phase; the single-component instruments keep the
// built-in one, which their files do not hold).
struct ScaleDefaults {
  InstrumentType instrument_type;
  std::array<double, 2> scale_1;
  std::array<double, 2> scale_2;
};

void grad601_further(Settings& s) {
  s.number_of_sensors = 1;  // two sensors
}

void em61lx2_further(Settings& s) {
  s.left_coil_filter_factor = 310.0;
  s.right_coil_filter_factor = 310.0;
}

void em61mk2_further(Settings& s) {
  s.antenna_height = 1.65;
  s.tilt_meter_settings = {5, 2};
  s.tilt_meter = 0;
}

constexpr std::array<ColourAt, 5> kNoColours{};
constexpr std::array<ColourAt, 5> kEm38_4Colours{
    {{1, 0xFF00FF}, {2, 0xFFE000}, {3, 0x15B535}, {6, 0x00A0FF}, {7, 0xFF00A4}}};

constexpr std::array<InstrumentDefaults, 9> kDefaults{{
    {kGrad601, 1, 2, {2, 3}, 2, {{{0, 0xFF0000}, {1, 0x00FF00}}}, 0.0, 0.0, 1, grad601_further},
    {kEm61Lx2, 2, 8, {2, 3, 4, 2, 2, 3, 4, 1}, 0, kNoColours, 0.0, 0.0, 5, em61lx2_further},
    {kEm61Mk2, 3, 8, {2, 3, 4, 2, 2, 3, 4, 1}, 0, kNoColours, 0.0, 0.0, 5, em61mk2_further},
    {kEm31Mk2, 1, 8, {3, 2, 3, 2, 2, 2, 2, 2}, 0, kNoColours, -0.3, 0.0, 2, nullptr},
    {kEm38, 1, 8, {3, 2, 3, 2, 2, 2, 2, 2}, 0, kNoColours, -0.3, 0.0, 1, nullptr},
    {kEm34_3, 1, 6, {3, 3, 3, 2, 2, 2}, 3, {{{1, 0xFFFF00}, {2, 0x4080FF}, {3, 0xFF00FF}}}, 0.0, 0.0, 2, nullptr},
    {kEm38Mk2,
     1,
     8,
     {3, 3, 3, 3, 2, 2, 2, 2},
     5,
     {{{1, 0x4080FF}, {2, 0xFF0000}, {3, 0x00FF00}, {6, 0x0000FF}, {7, 0x4080FF}}},
     -0.3,
     0.0,
     1,
     nullptr},
    {kEm38_4, 1, 8, {1, 2, 3, 4, 1, 2, 3, 4}, 5, kEm38_4Colours, -0.3, 0.0, 1, nullptr},
    {kCs21, 1, 8, {1, 2, 3, 4, 1, 2, 3, 4}, 5, kEm38_4Colours, -0.3, 0.0, 1, nullptr},
}};

constexpr std::array<ScaleDefaults, 9> kScaleDefaults{{
    {kGrad601, {0.0, 2000.0}, {-25.0, 25.0}},
    {kEm61Lx2, {0.0, 2000.0}, {-25.0, 25.0}},
    {kEm61Mk2, {0.0, 2000.0}, {-25.0, 25.0}},
    {kEm31Mk2, {0.0, 500.0}, {-25.0, 25.0}},
    {kEm38, {0.0, 500.0}, {-25.0, 25.0}},
    {kEm34_3, {0.0, 500.0}, {-25.0, 25.0}},
    {kEm38Mk2, {0.0, 1000.0}, {0.0, 1500.0}},
    {kEm38_4, {0.0, 1000.0}, {-30.0, 30.0}},
    {kCs21, {0.0, 1000.0}, {-30.0, 30.0}},
}};

template <typename Row, std::size_t N>
const Row* find_row(const std::array<Row, N>& table, InstrumentType instrument_type) {
  for (const Row& row : table)
    if (row.instrument_type == instrument_type) return &row;
  return nullptr;
}

}  // namespace

void apply_instrument_defaults(Settings& s, InstrumentType instrument_type) {
  const InstrumentDefaults* row = find_row(kDefaults, instrument_type);
  if (row == nullptr) return;
  s.colour_map_view = row->colour_map_view;
  for (int i = 0; i < row->width_count; ++i) s.trace_widths[i] = row->widths[i];
  for (int i = 0; i < row->colour_count; ++i) s.trace_colours[row->colours[i].position] = row->colours[i].colour;
  s.gps_x_offset = row->gps_x_offset;
  s.gps_y_offset = row->gps_y_offset;
  s.swath_option = row->swath_option;
  if (row->further != nullptr) row->further(s);
  if (const ScaleDefaults* scales = find_row(kScaleDefaults, instrument_type)) {
    s.profile_scale_1 = scales->scale_1;
    s.profile_scale_2 = scales->scale_2;
  }
}

Settings initial_settings(const Variant& v) {
  Settings s;
  apply_instrument_defaults(s, v.instrument_type);
  if (v.navigation_mode == kNavigation) s.colour_map_view = 0;
  return s;
}

}  // namespace quelor
