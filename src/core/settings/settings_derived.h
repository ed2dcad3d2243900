#pragma once
// Values that follow from the settings record and are recomputed whenever it
// is loaded or changed. (Coordinate settings and the profile pixel factors are
// derived by the GPS and display code.)

#include <string>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

struct SettingsDerived {
  int colour_map_view = 0;      // 0 when disabled or in the navigation line
  bool ncc = false;             // N.C.C. model: EM61-MK2 2 or 3, EM61-LX2 1
  int current_survey_mode = 0;  // copies of `survey mode`
  int saved_survey_mode = 0;
  double active_station_increment = 0;  // the increment of the survey mode
  int reading_interval_ms = 0;          // reading interval, rounded to ms
  // EM34-3 only (0 / empty otherwise):
  int readings_per_station = 0;  // outside Auto: dipole mode + 1
  int coil_spacing_m = 0;        // in Auto: 10, 20 or 40 m
  std::string dipole_letter;     // in Auto: "V" or "H"
};

SettingsDerived derive_settings(const Settings& s, const Variant& v);

}  // namespace quelor
