#include "gps/projection.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gps/survey_zone.h"
#include "gps/units.h"

namespace quelor {
namespace {

TEST(Projection, Wgs84Constants) {
  const ProjectionConstants& c = utm_constants();
  EXPECT_DOUBLE_EQ(c.semi_major_axis, 6378137.0);
  EXPECT_NEAR(c.semi_minor_axis, 6356752.314245, 1e-6);
  EXPECT_NEAR(c.eccentricity_squared, 0.00669437999014, 1e-14);
  EXPECT_NEAR(c.second_eccentricity_squared, 0.00673949674228, 1e-14);
  EXPECT_NEAR(c.n, 0.0016792203863837, 1e-15);  // f / (2 - f)
  EXPECT_DOUBLE_EQ(c.scale_factor, 0.9996);
  EXPECT_DOUBLE_EQ(c.degrees_to_radians, 0.0174532925199433);
  // The meridian arc to the pole is a quarter of the meridian: 10001965.729 m.
  EXPECT_NEAR(meridian_arc(M_PI / 2), 10001965.7293, 1e-3);
  EXPECT_DOUBLE_EQ(meridian_arc(0.0), 0.0);
}

struct ZoneCase {
  double longitude;
  int zone;
};

TEST(Projection, ZoneFromLongitudeLimitedToOneToSixty) {
  const ZoneCase cases[] = {
      {-180.0, 1}, {-174.0001, 1}, {-174.0, 2},  {-79.6, 17}, {-77.9, 18}, {-0.000001, 30}, {0.0, 31},
      {5.999, 31}, {6.0, 32},      {179.99, 60}, {180.0, 60}, {540.0, 60}, {-400.0, 1},
  };
  for (const ZoneCase& c : cases) EXPECT_EQ(zone_from_longitude(c.longitude), c.zone) << c.longitude;
  EXPECT_EQ(zone_from_longitude(std::nan("")), 1);
}

struct Reference {
  double lat, lon;
  int zone;
  double easting, northing;
};

// Values from PROJ (cs2cs +proj=utm +datum=WGS84, +south below the equator).
TEST(Projection, AgreesWithReferenceToTheMillimetre) {
  const Reference refs[] = {
      {43.6099, -79.6, 17, 612977.1258, 4829498.9134},     {43.6099, -77.9, 17, 750168.4781, 4833217.1174},
      {-33.8688, 151.2093, 56, 334368.6336, 6250948.3454}, {-0.000001, 9.0, 32, 500000.0000, 9999999.8895},
      {10.0, -180.0, 1, 171071.2639, 1106908.8542},        {-70.0, 179.9, 60, 610660.4649, 2231494.5477},
      {84.0, 3.0, 31, 500000.0000, 9328093.8306},
  };
  for (const Reference& r : refs) {
    const GridPoint p = project_to_utm(r.lat, r.lon, r.zone);
    EXPECT_EQ(p.zone, r.zone);
    EXPECT_NEAR(p.easting, r.easting, 0.001) << r.lat << " " << r.lon;
    EXPECT_NEAR(p.northing, r.northing, 0.001) << r.lat << " " << r.lon;
  }
}

TEST(Projection, FlagZeroComputesZoneAndWritesItBack) {
  int zone = 5;
  double n = 0, e = 0;
  project(43.6099, -79.6, zone, n, e, 0);
  EXPECT_EQ(zone, 17);
  zone = 18;
  project(43.6099, -79.6, zone, n, e, 1);
  EXPECT_EQ(zone, 18);
  EXPECT_LT(e, 500000.0);  // west of zone 18's central meridian
}

TEST(Projection, AutoZoneOfLongitude180IsSixty) {
  const GridPoint p = project_to_utm(10.0, 180.0, 0);
  EXPECT_EQ(p.zone, 60);
  EXPECT_GT(p.easting, 500000.0);
}

TEST(Projection, GivenZoneAcrossTheAntimeridianIsMeasuredTheShortWay) {
  // 179.5 E in zone 1 lies 3.5 degrees west of its central meridian (177 W).
  const GridPoint across = project_to_utm(-16.5, 179.5, 1);
  const GridPoint mirror = project_to_utm(-16.5, -173.5, 1);
  EXPECT_NEAR(across.easting + mirror.easting, 1000000.0, 1e-6);
  EXPECT_NEAR(across.northing, mirror.northing, 1e-6);
  EXPECT_GT(across.easting, 100000.0);
}

TEST(Projection, FalseNorthingSouthOfTheEquator) {
  EXPECT_NEAR(project_to_utm(-0.000001, 9.0, 0).northing, 10000000.0, 0.2);
  EXPECT_NEAR(project_to_utm(0.0, 9.0, 0).northing, 0.0, 1e-9);
  EXPECT_NEAR(project_to_utm(0.000001, 9.0, 0).northing, 0.1106, 0.001);
}

TEST(Projection, SymmetricAboutTheCentralMeridian) {
  for (double lat = -80.0; lat <= 84.0; lat += 7.3) {
    for (double d = 0.25; d <= 3.5; d += 0.75) {
      const GridPoint east = project_to_utm(lat, 9.0 + d, 32);
      const GridPoint west = project_to_utm(lat, 9.0 - d, 32);
      EXPECT_NEAR(east.easting + west.easting, 1000000.0, 1e-6);
      EXPECT_NEAR(east.northing, west.northing, 1e-6);
    }
  }
}

TEST(SurveyZone, FirstFixFixesTheZoneForTheSurvey) {
  SurveyZone survey = make_survey_zone(kAutomaticZone);
  const GridPoint first = project_survey_position(survey, 43.6, -79.6);
  EXPECT_EQ(first.zone, 17);
  EXPECT_TRUE(survey.fixed);
  EXPECT_DOUBLE_EQ(survey.first_latitude, 43.6);
  EXPECT_DOUBLE_EQ(survey.first_longitude, -79.6);
  const GridPoint later = project_survey_position(survey, 43.6, -77.9);
  EXPECT_EQ(later.zone, 17);
  const GridPoint direct = project_to_utm(43.6, -77.9, 17);
  EXPECT_DOUBLE_EQ(later.easting, direct.easting);
  EXPECT_DOUBLE_EQ(later.northing, direct.northing);
  EXPECT_DOUBLE_EQ(survey.first_longitude, -79.6);
}

TEST(SurveyZone, GivenZoneIsUsedWhateverTheLongitude) {
  SurveyZone survey = make_survey_zone(18);
  EXPECT_EQ(project_survey_position(survey, 43.6, -79.6).zone, 18);
  EXPECT_EQ(survey.zone, 18);
  EXPECT_EQ(make_survey_zone(0).setting, kAutomaticZone);
  EXPECT_EQ(make_survey_zone(61).setting, kAutomaticZone);
}

TEST(SurveyZone, InvalidOrGridFixesAreNotProjected) {
  SurveyZone survey = make_survey_zone(kAutomaticZone);
  GpsFix fix;
  fix.valid = 0;
  fix.geographic = true;
  fix.latitude = 43.6;
  fix.longitude = -79.6;
  project_fix(survey, fix);
  EXPECT_FALSE(survey.fixed);
  fix.valid = 1;
  fix.geographic = false;
  fix.northing = 12.0;
  project_fix(survey, fix);
  EXPECT_FALSE(survey.fixed);
  EXPECT_EQ(fix.northing, 12.0);
  fix.geographic = true;
  project_fix(survey, fix);
  EXPECT_EQ(fix.zone, 17);
  EXPECT_NEAR(fix.easting, project_to_utm(43.6, -79.6, 17).easting, 1e-9);
}

struct ReadoutCase {
  double metres;
  int unit;
  const char* text;
};

TEST(Units, GridReadoutTexts) {
  const ReadoutCase cases[] = {
      {1000.0, kDisplayMetres, "     1000.00 m"},
      {1000.0, kDisplayFeet, "     3280.84 ft"},
      {1000.0, kDisplayUsFeet, "     3280.83 USft"},
      {-12.345, kDisplayMetres, "      -12.35 m"},
      {1000.0, kDisplayGeodetic, ""},
      {1000.0, 7, ""},
  };
  for (const ReadoutCase& c : cases) EXPECT_EQ(grid_readout_text(c.metres, c.unit), c.text);
}

TEST(Units, WorkingUnitConversions) {
  EXPECT_DOUBLE_EQ(metres_to_working_unit(0.3048, kUnitFeet), 1.0);
  EXPECT_DOUBLE_EQ(metres_to_working_unit(0.304800609601219, kUnitUsFeet), 1.0);
  EXPECT_DOUBLE_EQ(metres_to_working_unit(5.0, kUnitMetres), 5.0);
  // Total-station values use the given factors, not the reciprocals.
  EXPECT_DOUBLE_EQ(rts_metres_to_working_unit(100.0, kUnitFeet), 328.084);
  EXPECT_DOUBLE_EQ(rts_metres_to_working_unit(100.0, kUnitUsFeet), 100.0 * 3.2808333333333355);
  EXPECT_DOUBLE_EQ(rts_metres_to_working_unit(100.0, kUnitMetres), 100.0);
  EXPECT_DOUBLE_EQ(rts_feet_to_metres(100.0, kRtsInternationalFeet), 30.48);
  EXPECT_DOUBLE_EQ(rts_feet_to_metres(100.0, kRtsUsSurveyFeet), 30.4800609601219);
}

}  // namespace
}  // namespace quelor
