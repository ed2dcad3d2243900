#include "survey/gps_fix_handler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <tuple>

#include "gps/formats.h"
#include "gps/units.h"
#include "survey_test_support.h"
#include "variant/variant.h"

namespace quelor {
namespace {

using survey_testing::gga;

constexpr double kMetresPerDegreeLatitude = 111200.0;  // near 48 degrees, to 0.1 %

FixContext context() {
  Settings s;
  return fix_context_from_settings(s, kEm31Mk2);
}

SurveyRecord monitoring() {
  SurveyRecord r;
  r.state = kStateMonitoring;
  return r;
}

TEST(GpsFixHandler, FirstUsableFixIsReferenceAndOrigin) {
  SurveyRecord r = monitoring();
  const FixOutcome o = handle_gps_fix(r, context(), gga(48.1173, 11.5167, 34200.0));
  ASSERT_TRUE(o.usable);
  EXPECT_TRUE(o.first_fix);
  EXPECT_TRUE(r.first_fix_done);
  EXPECT_EQ(r.reference_zone, 32);
  EXPECT_DOUBLE_EQ(r.reference_easting, o.easting);
  EXPECT_DOUBLE_EQ(r.reference_northing, o.northing);
  EXPECT_NEAR(r.reference_latitude, 48.1173, 1e-6);
  EXPECT_NEAR(r.reference_longitude, 11.5167, 1e-6);
  EXPECT_DOUBLE_EQ(o.cursor_x, 0.0);
  EXPECT_DOUBLE_EQ(o.cursor_y, 0.0);
  EXPECT_FALSE(o.speed);
  EXPECT_DOUBLE_EQ(r.previous_time_of_day, 34200.0);
  EXPECT_GT(o.easting, 600000.0);
  EXPECT_LT(o.easting, 800000.0);
}

TEST(GpsFixHandler, SpeedFromThePreviousPositionAndTime) {
  SurveyRecord r = monitoring();
  handle_gps_fix(r, context(), gga(48.1, 11.5, 100.0));
  const double step = 3.0 / kMetresPerDegreeLatitude;  // about 3 m north
  const FixOutcome o = handle_gps_fix(r, context(), gga(48.1 + step, 11.5, 102.0));
  ASSERT_TRUE(o.speed);
  EXPECT_FALSE(o.first_fix);
  EXPECT_NEAR(o.distance, 3.0, 0.02);
  EXPECT_DOUBLE_EQ(*o.speed, o.distance / 2.0);
  EXPECT_NEAR(o.cursor_y, 3.0, 0.02);
  EXPECT_NEAR(o.cursor_x, 0.0, 0.15);  // grid convergence 2.5 degrees off the central meridian
}

TEST(GpsFixHandler, SpeedAcrossMidnightAndSameSecond) {
  SurveyRecord r = monitoring();
  handle_gps_fix(r, context(), gga(48.1, 11.5, 86399.0));
  const double step = 2.0 / kMetresPerDegreeLatitude;
  FixOutcome o = handle_gps_fix(r, context(), gga(48.1 + step, 11.5, 1.0));
  ASSERT_TRUE(o.speed);
  EXPECT_NEAR(*o.speed, 1.0, 0.01);
  o = handle_gps_fix(r, context(), gga(48.1 + 2 * step, 11.5, 1.0));  // same time: speed kept
  EXPECT_FALSE(o.speed);
  EXPECT_NEAR(r.speed, 1.0, 0.01);
  EXPECT_TRUE(std::isfinite(r.speed));
}

TEST(GpsFixHandler, FixInTheNextZoneStaysInTheFirstZone) {
  SurveyRecord r = monitoring();
  handle_gps_fix(r, context(), gga(48.0, 11.99, 10.0));
  const FixOutcome o = handle_gps_fix(r, context(), gga(48.0, 12.01, 11.0));
  EXPECT_EQ(o.fix.zone, 32);
  EXPECT_GT(o.easting, 700000.0);  // east of zone 32's central meridian (9 degrees)
  EXPECT_NEAR(o.cursor_x, 1490.0, 20.0);
}

TEST(GpsFixHandler, UnusableFixShowsNotAvailable) {
  SurveyRecord r = monitoring();
  const FixOutcome o = handle_gps_fix(r, context(), gga(48.0, 11.0, 10.0, 0));
  EXPECT_FALSE(o.usable);
  EXPECT_FALSE(r.first_fix_done);
  EXPECT_EQ(o.texts.first, "     N/A     ");
  EXPECT_EQ(o.texts.second, "     N/A     ");
  EXPECT_FALSE(o.counted);
}

TEST(GpsFixHandler, TextsOfTheFix) {
  SurveyRecord r = monitoring();
  FixOutcome o = handle_gps_fix(r, context(), gga(48.0, 11.0, 10.0, 4, 9, 1.3));
  EXPECT_EQ(o.texts.first_label, "Lon:");
  EXPECT_EQ(o.texts.second_label, "Lat:");
  EXPECT_EQ(o.texts.satellites, "9");
  EXPECT_EQ(o.texts.quality, std::string(o.fix.quality_label));
  EXPECT_FALSE(o.texts.quality.empty());
  EXPECT_FALSE(o.texts.first.empty());
  // The degree sign survives as the 8-bit 0xB0 that the window widens back.
  EXPECT_NE(o.texts.first.find('\xB0'), std::string::npos) << o.texts.first;
  EXPECT_NE(o.texts.second.find('\xB0'), std::string::npos) << o.texts.second;
  EXPECT_EQ(o.texts.first.find('?'), std::string::npos) << o.texts.first;
  EXPECT_TRUE(o.texts.zone.empty());
  FixContext grid = context();
  grid.coordinates_display = kDisplayMetres;
  o = handle_gps_fix(r, grid, gga(48.0, 11.0, 11.0));
  EXPECT_EQ(o.texts.first_label, "E:");
  EXPECT_EQ(o.texts.second_label, "N:");
  EXPECT_EQ(o.texts.first, grid_readout_text(o.fix.easting, kDisplayMetres));
  EXPECT_EQ(o.texts.second, grid_readout_text(o.fix.northing, kDisplayMetres));
  EXPECT_EQ(o.texts.zone, "32");
}

// The dilution cell: GGA carries its HDOP in field 9, so the default
// format fills the cell at every fix; GGA/GSA leaves it to the GSA.
TEST(GpsFixHandler, DilutionCellFromTheFixWhereItsFormatCarriesOne) {
  struct Case {
    int format;
    std::string sentence;
    std::optional<std::string> cell;
  };
  const Case cases[] = {
      {kFormatGga, gga(48.0, 11.0, 10.0, 4, 9, 1.3), "1.3 "},
      {kFormatGga, gga(48.0, 11.0, 10.0, 4, 9, 12.25), "12.2"},
      {kFormatGga, gga(48.0, 11.0, 10.0, 0, 0, 0.0), "0.0 "},  // no fix: its dilution as sent
      {kFormatGga, survey_testing::nmea("$GPGGA,000010.00,4800.0000,N,01100.0000,E,0,00,,,M,,M,,"), "N/A"},
      {kFormatGgaGsa, gga(48.0, 11.0, 10.0, 4, 9, 1.3), std::nullopt},
  };
  for (const Case& c : cases) {
    Settings s;
    s.gps_sentence = c.format;
    SurveyRecord r = monitoring();
    const FixOutcome o = handle_gps_fix(r, fix_context_from_settings(s, kEm31Mk2), c.sentence);
    EXPECT_EQ(o.texts.dilution_cell, c.cell) << c.sentence;
  }
}

TEST(GpsFixHandler, MapUnitsFeet) {
  SurveyRecord metres = monitoring();
  SurveyRecord feet = monitoring();
  FixContext c = context();
  const FixOutcome m = handle_gps_fix(metres, c, gga(48.0, 11.0, 10.0));
  c.map_units = kUnitFeet;
  const FixOutcome f = handle_gps_fix(feet, c, gga(48.0, 11.0, 10.0));
  EXPECT_NEAR(f.easting, m.easting / 0.3048, 1e-6);
  EXPECT_NEAR(f.northing, m.northing / 0.3048, 1e-6);
}

TEST(GpsFixHandler, PositionsCountedOnlyWhileLoggingOutsideManual) {
  SurveyRecord r = monitoring();
  FixContext c = context();
  EXPECT_FALSE(handle_gps_fix(r, c, gga(48.0, 11.0, 10.0)).counted);
  r.state = kStateLogging;
  FixOutcome o = handle_gps_fix(r, c, gga(48.0, 11.0, 11.0));
  EXPECT_TRUE(o.counted);
  EXPECT_EQ(o.position_count_text, "    1");
  r.survey_mode = kModeManual;
  EXPECT_FALSE(handle_gps_fix(r, c, gga(48.0, 11.0, 12.0)).counted);
  r.survey_mode = kModeAuto;
  r.connection_lost = true;
  EXPECT_FALSE(handle_gps_fix(r, c, gga(48.0, 11.0, 13.0)).counted);
  c.instrument_used = false;  // a GPS-only survey has no instrument connection to lose
  EXPECT_TRUE(handle_gps_fix(r, c, gga(48.0, 11.0, 14.0)).counted);
}

TEST(GpsFixHandler, The28800thPositionEndsTheSurvey) {
  SurveyRecord r = monitoring();
  r.state = kStateLogging;
  r.gps_position_count = kMaxGpsPositions - 2;
  EXPECT_FALSE(handle_gps_fix(r, context(), gga(48.0, 11.0, 10.0)).maximum_reached);
  const FixOutcome o = handle_gps_fix(r, context(), gga(48.0, 11.0, 11.0));
  EXPECT_TRUE(o.maximum_reached);
  EXPECT_EQ(r.gps_position_count, 28800);
  EXPECT_EQ(r.state, kStateMonitoring);
  ASSERT_TRUE(o.maximum_message);
  EXPECT_EQ(o.maximum_message->title, "INFORMATION");
  EXPECT_EQ(o.maximum_message->text,
            "Maximum number of GPS positions reached.\r\nCurrent data file is saved.\r\n"
            "Please press OK and restart the program.");
}

TEST(GpsFixHandler, SegmentsAlternateRowsWhileLoggingWithAChannel) {
  SurveyRecord r = monitoring();
  r.state = kStateLogging;
  FixContext c = context();
  c.selected_channel = 1;
  handle_gps_fix(r, c, gga(48.0, 11.0, 10.0));
  EXPECT_TRUE(r.colour_index.filling);
  EXPECT_EQ(r.colour_index.row, 0);
  r.colour_index.count = 7;
  const FixOutcome o = handle_gps_fix(r, c, gga(48.0, 11.0, 11.0));
  EXPECT_TRUE(o.segment_closed);
  EXPECT_EQ(r.colour_index.closed_count, 7);
  EXPECT_EQ(r.colour_index.row, 1);
  EXPECT_EQ(r.colour_index.count, 0);
  r.state = kStateStandBy;
  handle_gps_fix(r, c, gga(48.0, 11.0, 12.0));
  EXPECT_FALSE(r.colour_index.filling);
}

// The beep follows the GPS warning sound the operator sets ("Enable Audio
// Warning", the mask's "Warning Sound", the Audio Options box), not the
// disconnection alarm.
TEST(GpsFixHandler, WarningSoundFollowsTheGpsWarningSoundSetting) {
  for (const auto& [gps_sound, disconnection, beep] :
       {std::tuple{1, 1, true}, {1, 0, true}, {0, 1, false}, {0, 0, false}}) {
    Settings s;
    s.gps_audio_warning = gps_sound;
    s.disconnection_alarm = disconnection;
    SurveyRecord r = monitoring();
    const FixOutcome o = handle_gps_fix(r, fix_context_from_settings(s, kEm31Mk2), gga(48.0, 11.0, 10.0, 4, 3, 9.0));
    EXPECT_FALSE(o.fix_good);
    EXPECT_EQ(o.warning_sound, beep) << gps_sound << disconnection;
  }
}

TEST(GpsFixHandler, WarningSoundForAPoorFix) {
  SurveyRecord r = monitoring();
  FixContext c = context();
  const FixOutcome poor = handle_gps_fix(r, c, gga(48.0, 11.0, 10.0, 4, 3, 9.0));
  EXPECT_FALSE(poor.fix_good);
  EXPECT_TRUE(poor.warning_sound);
  c.warning_sound = false;
  EXPECT_FALSE(handle_gps_fix(r, c, gga(48.0, 11.0, 11.0, 4, 3, 9.0)).warning_sound);
  EXPECT_TRUE(handle_gps_fix(r, context(), gga(48.0, 11.0, 12.0)).fix_good);
}

TEST(GpsFixHandler, GarbageSentencesAreHarmless) {
  SurveyRecord r = monitoring();
  for (const char* s :
       {"", "$GPGGA", "$GPGGA,,,,,,,,,,,,,,*00", "$GPGGA,1,2,3,4,5,6,7,8,9,10,11,12,13,14*FF", "\x01\x02\x03"}) {
    const FixOutcome o = handle_gps_fix(r, context(), s);
    if (o.usable) {
      EXPECT_TRUE(std::isfinite(o.easting));
    }
  }
}

}  // namespace
}  // namespace quelor

namespace quelor {
namespace {

TEST(GpsFixHandler, UnusableFixWhileLoggingIsStillCounted) {
  SurveyRecord r;
  r.state = kStateLogging;
  const FixOutcome o = handle_gps_fix(r, context(), survey_testing::gga(48.0, 11.0, 10.0, 0));
  EXPECT_FALSE(o.usable);
  EXPECT_TRUE(o.counted);
  EXPECT_FALSE(r.first_fix_done);
  EXPECT_EQ(r.gps_position_count, 1);
}

}  // namespace
}  // namespace quelor
