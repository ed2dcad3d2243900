#include "settings/settings_derived.h"

#include <gtest/gtest.h>

#include <limits>

#include "settings/instrument_defaults.h"

namespace quelor {
namespace {

TEST(SettingsDerived, ColourMapView) {
  Settings s = initial_settings({kEm38, 0});
  s.colour_map_view = 2;
  EXPECT_EQ(derive_settings(s, {kEm38, 0}).colour_map_view, 2);
  EXPECT_EQ(derive_settings(s, {kEm38, 1}).colour_map_view, 0);
  s.instrument_state = 0;
  EXPECT_EQ(derive_settings(s, {kEm38, 0}).colour_map_view, 0);
}

TEST(SettingsDerived, NccForEm61Mk2Models2And3AndTheSecondLx2Model) {
  Settings s;
  const bool mk2[] = {false, false, true, true, false};
  const bool lx2[] = {false, true, false, false, false};
  for (int model = 0; model < 5; ++model) {
    s.em61_model = model;
    EXPECT_EQ(derive_settings(s, {kEm61Mk2, 0}).ncc, mk2[model]) << model;
    EXPECT_EQ(derive_settings(s, {kEm61Lx2, 0}).ncc, lx2[model]) << model;
    EXPECT_FALSE(derive_settings(s, {kEm31Mk2, 0}).ncc) << model;
  }
}

TEST(SettingsDerived, SurveyModeCopiesAndActiveIncrement) {
  Settings s;
  s.station_increments = {1.5, 0.25, 3.0};
  const double expected[] = {1.5, 0.25, 3.0};
  for (int mode = 0; mode < 3; ++mode) {
    s.survey_mode = mode;
    const SettingsDerived d = derive_settings(s, {kEm31Mk2, 1});
    EXPECT_EQ(d.current_survey_mode, mode);
    EXPECT_EQ(d.saved_survey_mode, mode);
    EXPECT_EQ(d.active_station_increment, expected[mode]);
  }
  for (int damaged : {-1, 3, 1000}) {
    s.survey_mode = damaged;
    EXPECT_EQ(derive_settings(s, {kEm31Mk2, 1}).active_station_increment, 1.5) << damaged;
  }
}

TEST(SettingsDerived, ReadingIntervalInMilliseconds) {
  struct Case {
    double seconds;
    int ms;
  };
  const Case cases[] = {{0.2, 200}, {0.1, 100}, {0.3, 300}, {0.7, 700}, {1.0, 1000}, {0.0333, 33}, {0.0, 0}, {1e12, 0}};
  Settings s;
  for (const Case& c : cases) {
    s.reading_interval = c.seconds;
    EXPECT_EQ(derive_settings(s, {kEm38Mk2, 0}).reading_interval_ms, c.ms) << c.seconds;
  }
}

TEST(SettingsDerived, Em34AutoConfigurations) {
  struct Case {
    int dipole_mode;
    int spacing;
    const char* letter;
  };
  const Case cases[] = {{0, 10, "V"}, {1, 20, "V"}, {2, 40, "V"}, {3, 10, "H"},
                        {4, 20, "H"}, {5, 40, "H"}, {6, 0, ""},   {-1, 0, ""}};
  Settings s;
  s.survey_mode = 0;
  for (const Case& c : cases) {
    s.dipole_mode = c.dipole_mode;
    const SettingsDerived d = derive_settings(s, {kEm34_3, 0});
    EXPECT_EQ(d.coil_spacing_m, c.spacing) << c.dipole_mode;
    EXPECT_EQ(d.dipole_letter, c.letter) << c.dipole_mode;
    EXPECT_EQ(d.readings_per_station, 0) << c.dipole_mode;
  }
}

TEST(SettingsDerived, Em34ReadingsPerStationOutsideAuto) {
  Settings s;
  for (int mode : {1, 2}) {
    s.survey_mode = mode;
    for (int dipole = 0; dipole < 6; ++dipole) {
      s.dipole_mode = dipole;
      const SettingsDerived d = derive_settings(s, {kEm34_3, 1});
      EXPECT_EQ(d.readings_per_station, dipole + 1);
      EXPECT_EQ(d.coil_spacing_m, 0);
      EXPECT_TRUE(d.dipole_letter.empty());
    }
    s.dipole_mode = std::numeric_limits<int>::max();  // a damaged file
    EXPECT_EQ(derive_settings(s, {kEm34_3, 1}).readings_per_station, 1);
  }
  s.dipole_mode = 3;
  EXPECT_EQ(derive_settings(s, {kEm31Mk2, 0}).readings_per_station, 0);
  s.survey_mode = 0;
  EXPECT_EQ(derive_settings(s, {kEm38, 0}).coil_spacing_m, 0);
}

}  // namespace
}  // namespace quelor
