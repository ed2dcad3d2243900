#include "survey/survey_context.h"

#include <gtest/gtest.h>

namespace quelor {
namespace {

TEST(SurveyContext, CommandContext) {
  Settings s;
  s.instrument_state = 1;
  s.gps_enabled = 0;
  s.tilt_meter = 1;
  CommandContext c = command_context_from_settings(s, {kEm61Mk2, kRealTimeMap}, 42);
  EXPECT_TRUE(c.instrument_used);
  EXPECT_FALSE(c.gps_used);
  EXPECT_TRUE(c.tilt_used);
  EXPECT_EQ(c.now, 42u);
  EXPECT_FALSE(command_context_from_settings(s, {kEm31Mk2, kRealTimeMap}, 0).tilt_used);
  s.survey_mode = 2;
  s.dipole_mode = 3;
  EXPECT_EQ(command_context_from_settings(s, {kEm34_3, kNavigation}, 0).readings_per_station, 4);
}

TEST(SurveyContext, MonitorInputRingsByTheDisconnectionAlarm) {
  Settings s;
  s.disconnection_alarm = 0;
  const MonitorInput in = monitor_input_from_settings(s, kEm38Mk2, 900, 100);
  EXPECT_FALSE(in.audio_alarm);
  EXPECT_EQ(in.now, 900u);
  EXPECT_EQ(in.last_record_tick, 100u);
  s.disconnection_alarm = 1;
  EXPECT_TRUE(monitor_input_from_settings(s, kEm38Mk2, 0, 0).audio_alarm);
}

TEST(SurveyContext, DecodeContextColourScale) {
  Settings s;
  s.profile_scale_1 = {-100.0, 400.0};
  s.profile_scale_2 = {-25.0, 25.0};
  s.displayed_channel = 2;
  s.colour_map_view = 2;
  DecodeContext c = decode_context_from_settings(s, kEm31Mk2, false, false);
  EXPECT_EQ(c.mapped_view, 2);
  EXPECT_DOUBLE_EQ(c.colour.minimum, -25.0);
  EXPECT_DOUBLE_EQ(c.colour.class_width, 1.0);
  s.colour_map_view = 1;
  set_mapped_view(c, s);
  EXPECT_DOUBLE_EQ(c.colour.minimum, -100.0);
  EXPECT_DOUBLE_EQ(c.colour.class_width, 10.0);
}

TEST(SurveyContext, HeaderTakesTheReferencePosition) {
  Settings s;
  SurveyRecord r;
  r.file_name = "250307_004";
  r.reference_easting = 691607.125;
  r.reference_northing = 5334764.5;
  r.reference_zone = 32;
  const HeaderFields f = survey_header_fields(s, kEm31Mk2, r);
  EXPECT_EQ(f.file_name, "250307_004");
  EXPECT_DOUBLE_EQ(f.reference_easting, 691607.125);
  EXPECT_DOUBLE_EQ(f.reference_northing, 5334764.5);
  EXPECT_EQ(f.reference_zone, 32);
  EXPECT_EQ(f.gps_enabled, s.gps_enabled);
}

}  // namespace
}  // namespace quelor
