#include "survey/start_plan.h"

#include <gtest/gtest.h>

namespace quelor {
namespace {

StartInput input_for(InstrumentType type, int navigation = kNavigation) {
  StartInput in;
  in.variant = {type, navigation};
  return in;
}

TEST(StartPlan, InstrumentAndGpsOnTheSamePortNamesThePort) {
  StartInput in = input_for(kEm31Mk2);
  in.settings.instrument_port = 3;
  in.settings.gps_port = 3;
  const StartPlan p = plan_survey_start(in);
  EXPECT_FALSE(p.proceed);
  ASSERT_TRUE(p.message);
  EXPECT_EQ(p.message->title, "Serial Port Issue");
  EXPECT_EQ(p.message->text, "Serial Port COM4 Assigned to Instrument and GPS, please change port selection.");
  EXPECT_FALSE(p.start);
  EXPECT_FALSE(p.timer_period_ms);
}

TEST(StartPlan, SamePortIsNoClashWhenOneIsDisabled) {
  StartInput in = input_for(kEm31Mk2);
  in.settings.instrument_port = in.settings.gps_port = 9;
  in.settings.gps_enabled = 0;
  EXPECT_TRUE(plan_survey_start(in).proceed);
  in.settings.gps_enabled = 1;
  in.settings.instrument_state = 0;
  EXPECT_TRUE(plan_survey_start(in).proceed);
}

TEST(StartPlan, BothDisabled) {
  StartInput in = input_for(kEm38);
  in.settings.instrument_state = 0;
  in.settings.gps_enabled = 0;
  const StartPlan p = plan_survey_start(in);
  EXPECT_FALSE(p.proceed);
  ASSERT_TRUE(p.message);
  EXPECT_EQ(p.message->title, "EM AND GPS DISABLED");
  EXPECT_EQ(p.message->text, "Instrument Disabled and GPS Disabled");
  EXPECT_EQ(p.message->dialog, DialogTemplate::kOk);
}

TEST(StartPlan, TiltMeterClashes) {
  StartInput in = input_for(kEm61Mk2);
  in.settings.tilt_meter = 1;
  in.settings.instrument_port = 0;
  in.settings.gps_port = 4;
  in.settings.tilt_meter_port = 4;
  auto p = plan_survey_start(in);
  ASSERT_TRUE(p.message);
  EXPECT_EQ(p.message->text, "Serial Port COM5 Assigned to GPS and Tilt Meter, please change port selection.");
  in.settings.tilt_meter_port = 0;
  p = plan_survey_start(in);
  ASSERT_TRUE(p.message);
  EXPECT_EQ(p.message->text, "Serial Port COM1 Assigned to Instrument and Tilt Meter, please change port selection.");
  // Apart, the start checks the meter at the settings' output rate.
  in.settings.tilt_meter_port = 6;
  for (const int rate : {0, 2, 4}) {
    in.settings.tilt_meter_settings[1] = rate;
    p = plan_survey_start(in);
    ASSERT_TRUE(p.proceed);
    ASSERT_TRUE(p.start);
    EXPECT_TRUE(p.start->tilt_meter);
    EXPECT_EQ(p.start->tilt_rate_index, rate);
  }
  in.settings.tilt_meter = 0;
  EXPECT_TRUE(plan_survey_start(in).proceed);
  // other instruments have no tilt meter
  StartInput other = input_for(kEm31Mk2);
  other.settings.tilt_meter = 1;
  other.settings.tilt_meter_port = other.settings.gps_port;
  EXPECT_TRUE(plan_survey_start(other).proceed);
}

TEST(StartPlan, GpsOnlyStartsWithoutInstrumentThreadAndTimer) {
  StartInput in = input_for(kEm31Mk2);
  in.settings.instrument_state = 0;
  const StartPlan p = plan_survey_start(in);
  EXPECT_TRUE(p.proceed);
  EXPECT_TRUE(p.gps_used);
  EXPECT_FALSE(p.instrument_used);
  EXPECT_FALSE(p.start);
  EXPECT_FALSE(p.timer_period_ms);
  EXPECT_TRUE(p.show_first_position_prompt);
  EXPECT_EQ(p.survey.state, kStateMonitoring);
}

TEST(StartPlan, TimerPeriodTable) {
  const std::pair<InstrumentType, std::uint32_t> rows[] = {{kEm31Mk2, 300}, {kEm38, 300},     {kEm34_3, 300},
                                                           {kEm38Mk2, 300}, {kEm38_4, 300},   {kEm61Lx2, 500},
                                                           {kEm61Mk2, 500}, {kGrad601, 1000}, {kCs21, 1000}};
  for (auto [type, ms] : rows) {
    EXPECT_EQ(timer_period_ms(type, false, 100), ms) << type;
    const StartPlan p = plan_survey_start(input_for(type));
    ASSERT_TRUE(p.timer_period_ms) << type;
    EXPECT_EQ(*p.timer_period_ms, ms);
  }
  EXPECT_EQ(timer_period_ms(kEm61Mk2, true, 100), 100u);
  EXPECT_EQ(timer_period_ms(kEm61Mk2, true, 250), 250u);
  EXPECT_EQ(timer_period_ms(kEm61Lx2, true, 250), 500u);
}

TEST(StartPlan, TickDivisorByUpdateRate) {
  struct Row {
    double interval;
    int n;
  };
  const Row rows[] = {{1.0, 1}, {0.26, 1}, {0.25, 2},   {0.2, 2},  {0.13, 2}, {0.125, 3},
                      {0.1, 3}, {0.08, 3}, {0.0769, 6}, {0.05, 6}, {0.0, 1}};
  for (const Row& r : rows) EXPECT_EQ(tick_divisor(kEm31Mk2, kModeAuto, r.interval), r.n) << r.interval;
  EXPECT_EQ(tick_divisor(kEm61Mk2, kModeAuto, 0.05), 6);
  EXPECT_EQ(tick_divisor(kEm61Mk2, kModeAuto, 0.5), 1);
  EXPECT_EQ(tick_divisor(kEm61Mk2, kModeWheel, 0.05), 1);
  EXPECT_EQ(tick_divisor(kEm61Mk2, kModeManual, 1.0), 6);
  EXPECT_EQ(tick_divisor(kEm61Lx2, kModeManual, 1.0), 1);
}

TEST(StartPlan, InstrumentStartTable) {
  const InstrumentStart em31 = instrument_start(kEm31Mk2, false, false);
  EXPECT_EQ(em31.first_record_wait_ms, 1000u);
  EXPECT_FALSE(em31.em38_check);
  EXPECT_EQ(instrument_start(kEm34_3, false, false).first_record_wait_ms, 1000u);
  const InstrumentStart em38 = instrument_start(kEm38, false, false);
  EXPECT_TRUE(em38.em38_check);
  EXPECT_EQ(em38.em38_check_ms, 2000u);
  EXPECT_EQ(em38.wait_after_ms, 50u);
  const InstrumentStart mk2 = instrument_start(kEm38Mk2, false, false);
  EXPECT_EQ(mk2.first_record_wait_ms, 1000u);
  EXPECT_EQ(mk2.wait_after_ms, 50u);
  const InstrumentStart e384 = instrument_start(kEm38_4, false, false);
  EXPECT_EQ(e384.wait_before_first_record_ms, 200u);
  EXPECT_EQ(e384.first_record_wait_ms, 1000u);
  for (InstrumentType type : {kCs21, kGrad601}) {
    const InstrumentStart s = instrument_start(type, false, false);
    EXPECT_EQ(s.first_record_wait_ms, 0u);
    EXPECT_EQ(s.wait_after_ms, 50u);
    EXPECT_FALSE(s.em61_handshake);
  }
  const InstrumentStart lx2 = instrument_start(kEm61Lx2, false, false);
  EXPECT_TRUE(lx2.em61_handshake);
  EXPECT_EQ(lx2.wait_after_ms, 50u);
  const InstrumentStart normal = instrument_start(kEm61Mk2, false, true);
  EXPECT_TRUE(normal.em61_handshake);
  EXPECT_EQ(normal.wait_after_handshake_ms, 100u);
  EXPECT_TRUE(normal.second_em61_thread);
  EXPECT_EQ(normal.wait_after_ms, 100u);
  EXPECT_TRUE(normal.tilt_meter);
  EXPECT_EQ(instrument_start(kEm61Mk2, true, false).wait_after_ms, 200u);
}

TEST(StartPlan, ConnectionIssueTexts) {
  EXPECT_EQ(connection_issue(false).title, "Connection Issue");
  EXPECT_EQ(connection_issue(false).text, "Instrument OFF or Disconnected, or wrong COM port selected");
  EXPECT_EQ(connection_issue(true).text, "Tilt Meter OFF or Disconnected, or wrong COM port selected");
}

TEST(StartPlan, Em34YOffsetByReference) {
  // Leading grows by half the spacing, Trailing is -offset - half, Center stays.
  const struct {
    int reference, spacing;
    double offset, expected;
  } rows[] = {{0, 10, 1.0, 6.0},   {0, 20, 1.0, 11.0},  {0, 40, -0.5, 19.5}, {1, 10, 1.0, -6.0},
              {1, 20, 0.0, -10.0}, {1, 40, 2.0, -22.0}, {2, 10, 1.25, 1.25}, {2, 40, -3.0, -3.0}};
  for (const auto& r : rows) EXPECT_DOUBLE_EQ(em34_y_offset(r.offset, r.reference, r.spacing), r.expected);
}

TEST(StartPlan, Em34SurveyResetShiftsTheWorkingOffsetOnly) {
  StartInput in = input_for(kEm34_3);
  in.settings.gps_y_offset = 1.5;
  in.settings.em34_3_reference = 1;
  in.settings.dipole_mode = 5;  // Horizontal-40m
  StartPlan p = plan_survey_start(in);
  EXPECT_DOUBLE_EQ(p.survey.working_gps_y_offset, -21.5);
  EXPECT_DOUBLE_EQ(p.survey.saved_gps_y_offset, 1.5);
  EXPECT_EQ(p.survey.working_dipole, 5);
  EXPECT_EQ(p.dipole_letter, 'H');
  in.settings.dipole_mode = 1;  // Vertical-20m
  EXPECT_EQ(plan_survey_start(in).dipole_letter, 'V');
  in.settings.survey_mode = kModeManual;
  in.settings.em34_3_reference = 0;
  p = plan_survey_start(in);
  EXPECT_DOUBLE_EQ(p.survey.manual_gps_y_offsets[0], 6.5);
  EXPECT_DOUBLE_EQ(p.survey.manual_gps_y_offsets[1], 11.5);
  EXPECT_DOUBLE_EQ(p.survey.manual_gps_y_offsets[2], 21.5);
  Settings s = in.settings;
  apply_start_to_settings(p, s);
  EXPECT_DOUBLE_EQ(s.gps_y_offset, 1.5);
}

TEST(StartPlan, SurveyResetFromSettings) {
  StartInput in = input_for(kEm31Mk2);
  in.settings.survey_mode = kModeWheel;
  in.settings.start_station = 12.5;
  in.settings.station_increments = {1.0, 0.25, 2.0};
  in.settings.survey_line = "10.00";
  const StartPlan p = plan_survey_start(in);
  EXPECT_DOUBLE_EQ(p.survey.station, 12.5);
  EXPECT_DOUBLE_EQ(p.survey.station_increment, 0.25);
  EXPECT_EQ(p.survey.line_name, "10.00");
  EXPECT_EQ(p.survey.survey_mode, kModeWheel);
  EXPECT_EQ(p.survey.readings_in_survey, 0);
  EXPECT_FALSE(p.survey.first_fix_done);
  EXPECT_EQ(p.dipole_letter, 'V');
  in.settings.dipole_mode = 1;
  EXPECT_EQ(plan_survey_start(in).dipole_letter, 'H');
}

TEST(StartPlan, ColourMapViewAndClassWidth) {
  StartInput in = input_for(kEm38Mk2, kRealTimeMap);
  in.settings.colour_map_view = 4;
  in.settings.profile_scale_1 = {0.0, 500.0};
  in.settings.profile_scale_2 = {-25.0, 25.0};
  StartPlan p = plan_survey_start(in);
  EXPECT_EQ(p.colour_map_view, 4);
  EXPECT_DOUBLE_EQ(p.colour_class_width, 1.0);
  in.settings.gps_enabled = 0;
  p = plan_survey_start(in);
  EXPECT_EQ(p.colour_map_view, 0);
  EXPECT_DOUBLE_EQ(p.colour_class_width, 10.0);
  EXPECT_EQ(plan_survey_start(input_for(kEm38Mk2, kNavigation)).colour_map_view, 0);
  Settings s;
  s.profile_scale_1 = {0.0, 500.0};
  s.profile_scale_2 = {-25.0, 25.0};
  EXPECT_DOUBLE_EQ(colour_class_width(s, kEm31Mk2, 2), 1.0);
  EXPECT_DOUBLE_EQ(colour_class_width(s, kEm31Mk2, 4), 10.0);
  EXPECT_DOUBLE_EQ(colour_class_width(s, kEm38, 2), 1.0);
  EXPECT_DOUBLE_EQ(colour_class_width(s, kEm34_3, 2), 10.0);
  EXPECT_DOUBLE_EQ(colour_class_width(s, kCs21, 4), 1.0);
  EXPECT_DOUBLE_EQ(colour_class_width(s, kEm38_4, 2), 1.0);
  EXPECT_DOUBLE_EQ(colour_class_width(s, kEm38_4, 1), 10.0);
}

TEST(StartPlan, Em31RealTimeInphaseMapsTheSecondScale) {
  StartInput in = input_for(kEm31Mk2, kRealTimeMap);
  in.settings.component = 1;
  in.settings.colour_map_view = 1;
  const StartPlan p = plan_survey_start(in);
  EXPECT_EQ(p.colour_map_view, 2);
  EXPECT_DOUBLE_EQ(p.colour_class_width, 1.0);
}

// The EM38 maps the component of its Survey Setup, in-phase on the second
// scale; a view stored for two EM61-LX2 sensors maps nothing with one.
TEST(StartPlan, ViewsTheMapCannotDrawAreNotMapped) {
  StartInput in = input_for(kEm38, kRealTimeMap);
  in.settings.component = 1;
  in.settings.colour_map_view = 1;
  in.settings.profile_scale_1 = {0.0, 500.0};
  in.settings.profile_scale_2 = {-25.0, 25.0};
  StartPlan p = plan_survey_start(in);
  EXPECT_EQ(p.colour_map_view, 2);
  EXPECT_DOUBLE_EQ(p.colour_class_width, 1.0);
  in.settings.component = 0;
  in.settings.colour_map_view = 2;
  EXPECT_EQ(plan_survey_start(in).colour_map_view, 1);
  StartInput lx2 = input_for(kEm61Lx2, kRealTimeMap);
  lx2.settings.colour_map_view = 5;
  lx2.settings.number_of_sensors = 1;
  EXPECT_EQ(plan_survey_start(lx2).colour_map_view, 5);
  lx2.settings.number_of_sensors = 0;
  EXPECT_EQ(plan_survey_start(lx2).colour_map_view, 0);
}

TEST(StartPlan, NullValuesAndSensorsCleared) {
  StartInput in = input_for(kEm61Mk2);
  in.settings.channel_null_values = {1, 2, 3, 4};
  in.settings.number_of_sensors = 1;
  StartPlan p = plan_survey_start(in);
  Settings s = in.settings;
  apply_start_to_settings(p, s);
  EXPECT_EQ(s.channel_null_values, (std::array<double, 4>{}));
  EXPECT_EQ(s.number_of_sensors, 0);
  in.settings.null_values = 1;  // "Last Survey"
  in.variant.instrument_type = kEm61Lx2;
  p = plan_survey_start(in);
  s = in.settings;
  apply_start_to_settings(p, s);
  EXPECT_EQ(s.channel_null_values, (std::array<double, 4>{1, 2, 3, 4}));
  EXPECT_EQ(s.number_of_sensors, 1);
}

TEST(StartPlan, RecordsPerReadingConfigured) {
  StartInput in = input_for(kEm31Mk2);
  in.settings.reading_interval = 0.5;
  const StartPlan p = plan_survey_start(in);
  EXPECT_GE(p.records_per_reading, 1);
  EXPECT_EQ(p.survey.configured_records_per_reading, p.records_per_reading);
  EXPECT_EQ(p.survey.records_per_reading, 1);
  EXPECT_DOUBLE_EQ(p.update_rate_hz, 2.0);
}

}  // namespace
}  // namespace quelor
