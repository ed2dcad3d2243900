#include "setup/swath_edges.h"

#include <array>

#include "gps/units.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::array<double, 8> kSwathWidths{0.25, 0.5, 1.0, 2.0, 3.0, 4.0, 5.0, 10.0};
constexpr int kEm61DoubleSwath = 11;

bool is_em61(int type) { return type == kEm61Mk2 || type == kEm61Lx2; }

bool conductivity_family(int type) {
  return type == kEm31Mk2 || type == kEm38 || type == kEm34_3 || type == kEm38Mk2 || type == kEm38_4;
}

}  // namespace

double swath_choice_width(int swath_option) {
  if (swath_option < 0 || swath_option >= static_cast<int>(kSwathWidths.size())) return 1.0;
  return kSwathWidths[static_cast<std::size_t>(swath_option)];
}

double em61_base_width(const Settings& s, int instrument_type) {
  if (instrument_type == kEm61Lx2) return s.number_of_sensors == 1 ? 2.06 : 1.03;
  switch (s.sensor_size) {
    case 1:
    case 3: return 0.5;
    case 4: return 0.2;
    default: return 1.0;
  }
}

double em61_swath_factor(int swath_option) {
  return swath_option == kEm61DoubleSwath ? 2.0 : 0.1 * swath_option + 0.5;
}

std::optional<SwathEdges> swath_edges(const Settings& s, int instrument_type) {
  double width = 0.0;
  if (conductivity_family(instrument_type))
    width = swath_choice_width(s.swath_option);
  else if (is_em61(instrument_type))
    width = em61_base_width(s, instrument_type) * em61_swath_factor(s.swath_option);
  else
    return std::nullopt;
  SwathEdges e;
  e.left = width / 2.0 + s.gps_x_offset;
  e.right = width - e.left;
  if (is_em61(instrument_type) && s.map_units != kUnitMetres) {
    e.left /= kInternationalFoot;
    e.right /= kInternationalFoot;
  }
  return e;
}

bool ncc_model(int instrument_type, int model) {
  if (instrument_type == kEm61Mk2) return model == 2 || model == 3;
  if (instrument_type == kEm61Lx2) return model == 1;
  return false;
}

}  // namespace quelor
