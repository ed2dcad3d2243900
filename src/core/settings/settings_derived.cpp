#include "settings/settings_derived.h"

#include <array>
#include <cmath>
#include <limits>

#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr int kAuto = 0;

struct Em34Configuration {
  int coil_spacing_m;
  const char* dipole_letter;
};

// dipole mode 0..5 in Auto: "Vertical-10m" .. "Horizontal-40m"
constexpr std::array<Em34Configuration, 6> kEm34AutoConfigurations{{
    {10, "V"},
    {20, "V"},
    {40, "V"},
    {10, "H"},
    {20, "H"},
    {40, "H"},
}};

// A survey mode outside 0..2 (a damaged file) counts as Auto.
double station_increment_of(const Settings& s) {
  const bool known = s.survey_mode >= 0 && s.survey_mode < static_cast<int>(s.station_increments.size());
  return s.station_increments[known ? static_cast<std::size_t>(s.survey_mode) : 0];
}

int to_milliseconds(double seconds) {
  const double ms = std::round(seconds * 1000.0);
  if (!(ms >= -2147483648.0 && ms <= 2147483647.0)) return 0;  // also NaN
  return static_cast<int>(ms);
}

void derive_em34(const Settings& s, SettingsDerived& d) {
  if (s.survey_mode != kAuto) {
    // A damaged file's largest number has no next one: it counts as none.
    const bool usable = s.dipole_mode >= 0 && s.dipole_mode < std::numeric_limits<int>::max();
    d.readings_per_station = usable ? s.dipole_mode + 1 : 1;
    return;
  }
  if (s.dipole_mode < 0 || s.dipole_mode >= static_cast<int>(kEm34AutoConfigurations.size())) return;
  const Em34Configuration& c = kEm34AutoConfigurations[static_cast<std::size_t>(s.dipole_mode)];
  d.coil_spacing_m = c.coil_spacing_m;
  d.dipole_letter = c.dipole_letter;
}

}  // namespace

SettingsDerived derive_settings(const Settings& s, const Variant& v) {
  SettingsDerived d;
  const bool hidden = s.instrument_state == 0 || v.navigation_mode == kNavigation;
  d.colour_map_view = hidden ? 0 : s.colour_map_view;
  const InstrumentRow* row = find_instrument(v.instrument_type);
  d.ncc = row && s.em61_model >= 0 && s.em61_model < 8 && (row->ncc_models >> s.em61_model & 1) != 0;
  d.current_survey_mode = s.survey_mode;
  d.saved_survey_mode = s.survey_mode;
  d.active_station_increment = station_increment_of(s);
  d.reading_interval_ms = to_milliseconds(s.reading_interval);
  if (has_trait(v.instrument_type, Trait::kCoilConfigurations)) derive_em34(s, d);
  return d;
}

}  // namespace quelor
