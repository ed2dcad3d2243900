#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/instrument_defaults.h"
#include "setup/alarm_setup.h"
#include "setup/control_ids.h"
#include "setup/entry_text.h"
#include "setup/filter_factor.h"
#include "setup/geometry_setup.h"
#include "setup/system_setup.h"

namespace quelor {
namespace {

Settings defaults_of(const Variant& v) { return initial_settings(v); }

TEST(EnteredNumber, FiniteLeadingNumbersOnly) {
  struct Case {
    const wchar_t* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {L"1.5", 1.5},           {L"  -2", -2.0},           {L"3.25 m", 3.25},        {L".5", 0.5},
      {L"1e3", 1000.0},        {L"", std::nullopt},       {L"abc", std::nullopt},   {L"inf", std::nullopt},
      {L"-INF", std::nullopt}, {L"nan", std::nullopt},    {L"1e999", std::nullopt}, {L"-1e999", std::nullopt},
      {L"-", std::nullopt},    {L"\u0661", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(entered_number(c.text), c.value) << std::wstring(c.text).size();
}

TEST(FilterFactor, FactorAndCodeMapBothWays) {
  struct Case {
    double factor, code;
  };
  const Case cases[] = {{352.8, 3.1},           {126.0, 1.0},
                        {310.0, 292.0 / 108.0}, {340.0, 3.0 - 2.0 / 108.0 + 0.0},
                        {468.0, 4.0},           {1000.0, 1044.0 / 128.0}};
  for (const Case& c : cases) {
    EXPECT_NEAR(filter_code_of_factor(c.factor), c.code, 1e-12) << c.factor;
    EXPECT_NEAR(filter_factor_of_code(filter_code_of_factor(c.factor)), c.factor, 1e-9) << c.factor;
  }
  EXPECT_DOUBLE_EQ(filter_code_of_factor(352.8), 3.1);
}

TEST(FilterFactor, OutOfRangeEntriesKeepTheFactorWithAMessage) {
  struct Case {
    double entered;
    bool accepted;
  };
  const Case cases[] = {{124.9, false},  {125.0, true},  {1000.0, true},
                        {1000.1, false}, {100.0, false}, {std::numeric_limits<double>::quiet_NaN(), false}};
  for (const Case& c : cases) {
    const FilterFactorEntry e = enter_filter_factor(Coil::kLeft, c.entered, 310.0);
    EXPECT_EQ(e.factor, c.accepted ? c.entered : 310.0) << c.entered;
    EXPECT_EQ(e.message.has_value(), !c.accepted) << c.entered;
  }
  const OperatorMessage m = filter_factor_range_message(Coil::kLeft, 100.0, 310.0);
  EXPECT_EQ(m.title, "Filter Factor Left Coil");
  EXPECT_EQ(m.text,
            "Entered Filter Factor for Left Coil ( 100.0 )\r\n is out of valid range ( 125 to 1000 ).\r\n"
            "Program restores previous value ( 310.0 )");
  EXPECT_EQ(filter_factor_range_message(Coil::kRight, 2000.0, 250.5).text.substr(0, 47),
            "Entered Filter Factor for Right Coil ( 2000.0 )");
}

TEST(SystemSetup, Lx2FilterFactorsAndSensors) {
  const Variant v{kEm61Lx2, kNavigation};
  struct Case {
    int sensors;
    const wchar_t *left, *right;
    double left_kept, right_kept;
    std::size_t messages;
  };
  const Case cases[] = {
      {1, L"400", L"500", 400.0, 500.0, 0},  {1, L"100", L"500", 310.0, 500.0, 1},
      {1, L"100", L"9999", 310.0, 310.0, 2}, {0, L"200", L"9999", 200.0, 310.0, 0},
      {1, L"nan", L"abc", 310.0, 310.0, 2},
  };
  for (const Case& c : cases) {
    Settings s = defaults_of(v);
    DialogForm f = system_setup_form(s, v);
    f.find(IDC_NUMBER_OF_SENSORS)->selection = c.sensors;
    update_system_setup(f, v);
    EXPECT_EQ(f.find(IDC_RIGHT_FILTER)->enabled, c.sensors == 1);
    if (c.sensors == 1) f.set_text(IDC_RIGHT_FILTER, c.right);
    f.set_text(IDC_LEFT_FILTER, c.left);
    const std::vector<OperatorMessage> messages = store_system_setup(f, s, v);
    EXPECT_DOUBLE_EQ(s.left_coil_filter_factor, c.left_kept) << c.left;
    EXPECT_DOUBLE_EQ(s.right_coil_filter_factor, c.right_kept) << c.right;
    EXPECT_EQ(messages.size(), c.messages) << c.left;
    // Text that is no number reads as 0, as the message tells.
    for (const OperatorMessage& m : messages) EXPECT_EQ(m.text.find("nan"), std::string::npos) << m.text;
    EXPECT_EQ(s.number_of_sensors, c.sensors);
  }
  Settings s = defaults_of(v);
  DialogForm text = system_setup_form(s, v);
  text.set_text(IDC_LEFT_FILTER, L"abc");
  const std::vector<OperatorMessage> m = store_system_setup(text, s, v);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].text.substr(0, 48), "Entered Filter Factor for Left Coil ( 0.0 )\r\n is");
  DialogForm one = system_setup_form(Settings{}, v);
  one.find(IDC_NUMBER_OF_SENSORS)->selection = 0;
  update_system_setup(one, v);
  EXPECT_EQ(one.text(IDC_RIGHT_FILTER), L"N/A");
  one.find(IDC_NUMBER_OF_SENSORS)->selection = 1;
  update_system_setup(one, v);
  EXPECT_EQ(one.text(IDC_RIGHT_FILTER), L"310.0");
}

TEST(SystemSetup, TiltControlsFollowStateAndTiltMeter) {
  const Variant v{kEm61Mk2, kRealTimeMap};
  struct Case {
    int state, tilt;
    bool rigid;
    bool tilt_list, tilt_controls;
    const wchar_t* height_label;
  };
  const Case cases[] = {
      {1, 1, true, true, true, L"GPS Antenna Height:"},
      {1, 0, true, true, false, L"GPS Antenna Height:"},
      {0, 1, false, false, false, L"Main Sensor Height:"},
      {1, 1, false, true, true, L"Main Sensor Height:"},
  };
  for (const Case& c : cases) {
    DialogForm f = system_setup_form(defaults_of(v), v);
    f.find(IDC_INSTRUMENT_STATE)->selection = c.state;
    f.find(IDC_TILT_STATE)->selection = c.tilt;
    f.find(IDC_ANTENNA_RIGID)->checked = c.rigid;
    update_system_setup(f, v);
    EXPECT_EQ(f.find(IDC_TILT_STATE)->enabled, c.tilt_list);
    for (int id : {IDC_TILT_PORT, IDC_ANTENNA_RIGID, IDC_ANTENNA_HEIGHT})
      EXPECT_EQ(f.find(id)->enabled, c.tilt_controls);
    EXPECT_EQ(f.text(IDC_ANTENNA_HEIGHT_LABEL), c.height_label);
  }
  EXPECT_FALSE(system_setup_form(Settings{}, Variant{kEm61Mk2, kNavigation}).has(IDC_TILT_STATE));
}

TEST(SystemSetup, OkStoresByInstrument) {
  struct Case {
    InstrumentType type;
    std::wstring state_label, type_label;
    bool type_visible;
  };
  const Case cases[] = {
      {kEm31Mk2, L"EM31-MK2 State:", L"EM31-MK2 Type:", true},
      {kEm38, L"EM38 State:", L"", false},
      {kEm34_3, L"EM34-3 State:", L"", false},
      {kEm38Mk2, L"EM38-MK2 State:", L"EM38-MK2 Type:", true},
      {kEm38_4, L"EM38-4 State:", L"Inphase Units:", true},
      {kCs21, L"DualEM State:", L"DualEM Type:", true},
      {kGrad601, L"Grad601 State:", L"EM601 Type:", true},
      {kEm61Lx2, L"EM61-LX2 State:", L"EM61-LX2 Type:", true},
      {kEm61Mk2, L"EM61-MK2 State:", L"EM61-MK2 Type:", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const Variant v{c.type, kRealTimeMap};
    Settings s = defaults_of(v);
    DialogForm f = system_setup_form(s, v);
    EXPECT_EQ(f.text(IDC_STATE_LABEL), c.state_label);
    EXPECT_EQ(f.text(IDC_TYPE_LABEL), c.type_label);
    EXPECT_EQ(f.find(IDC_MODEL)->visible, c.type_visible);
    f.find(IDC_INSTRUMENT_STATE)->selection = 0;
    f.find(IDC_INSTRUMENT_PORT)->selection = 10;
    f.find(IDC_GPS_PORT)->selection = 98;
    f.find(IDC_PAUSE_KEY)->selection = 3;
    f.find(IDC_SPEED_UNITS)->selection = 2;
    f.find(IDC_COORDINATES)->selection = 1;
    f.find(IDC_AUDIO_TICKS)->checked = false;
    f.find(IDC_DISCONNECTION_ALARM)->checked = false;
    if (DialogControl* d = f.find(IDC_DRIFT_REMINDER)) d->selection = 3;
    if (f.find(IDC_MODEL)->visible) f.find(IDC_MODEL)->selection = 1;
    if (DialogControl* second = f.find(IDC_SECOND_LIST)) second->selection = 4;
    Settings after = s;
    store_system_setup(f, after, v);
    EXPECT_EQ(after.instrument_state, 0);
    EXPECT_EQ(after.instrument_port, 10);
    EXPECT_EQ(after.gps_port, 98);
    EXPECT_EQ(after.pause_key, 3);
    EXPECT_EQ(after.speed_bar_units, 2);
    EXPECT_EQ(after.coordinates_display, 1);
    EXPECT_EQ(after.audio_ticks, 0);
    EXPECT_EQ(after.disconnection_alarm, 0);
    EXPECT_EQ(after.drift_reminder, f.has(IDC_DRIFT_REMINDER) ? 3 : s.drift_reminder);
    EXPECT_EQ(after.instrument_model, c.type == kEm31Mk2 ? 1 : s.instrument_model);
    EXPECT_EQ(after.em38mk2_model, c.type == kEm38Mk2 ? 1 : s.em38mk2_model);
    EXPECT_EQ(after.em61_model, c.type == kEm61Lx2 || c.type == kEm61Mk2 ? 1 : s.em61_model);
    EXPECT_EQ(after.em38_4.inphase_units, c.type == kEm38_4 ? 1 : 0);
    EXPECT_EQ(after.em38_4_rate, c.type == kEm38_4 ? 4 : s.em38_4_rate);
  }
}

TEST(GeometrySetup, OffsetsInTheDialogsUnit) {
  struct Case {
    InstrumentType type;
    int radio;
    const wchar_t *x, *y, *third;
    int units;
    double x_m, y_m, third_stored;
  };
  const Case cases[] = {
      {kEm31Mk2, IDC_UNIT_FEET, L"1", L"-2", nullptr, 2, 0.3048, -0.6096, 0},
      {kEm38, IDC_UNIT_CENTIMETERS, L"150", L"0", nullptr, 1, 1.5, 0.0, 0},
      {kEm34_3, IDC_UNIT_INCHES, L"10", L"abc", nullptr, 3, 0.254, 0.0, 0},
      {kEm38_4, IDC_UNIT_CENTIMETERS, L"0", L"0", L"45", 1, 0.0, 0.0, 0.45},
      {kGrad601, 0, L"0.5", L"1", L"1.25", 0, 0.5, 1.0, 1.25},
      {kEm61Mk2, IDC_UNIT_METERS, L"0.3", L"0.4", nullptr, 0, 0.3, 0.4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const Variant v{c.type, kNavigation};
    Settings s = defaults_of(v);
    DialogForm f = geometry_setup_form(s, v);
    if (c.radio) geometry_unit_selected(f, c.radio);
    f.set_text(IDC_GPS_X_OFFSET, c.x);
    f.set_text(IDC_GPS_Y_OFFSET, c.y);
    if (c.third) f.set_text(IDC_THIRD_VALUE, c.third);
    store_geometry_setup(f, s, v);
    EXPECT_EQ(s.geometry_units, c.units);
    EXPECT_NEAR(s.gps_x_offset, c.x_m, 1e-12);
    EXPECT_NEAR(s.gps_y_offset, c.y_m, 1e-12);
    if (c.type == kGrad601) {
      EXPECT_DOUBLE_EQ(s.sensor_separation, c.third_stored);
    }
    if (c.type == kEm38_4) {
      EXPECT_NEAR(s.em38_4.height, c.third_stored, 1e-12);
    }
  }
  Settings feet = defaults_of(Variant{kEm31Mk2, kNavigation});
  feet.geometry_units = 2;
  feet.gps_x_offset = 0.3048;
  DialogForm f = geometry_setup_form(feet, Variant{kEm31Mk2, kNavigation});
  EXPECT_EQ(f.text(IDC_GPS_X_OFFSET), L"1.00");
  geometry_unit_selected(f, IDC_UNIT_METERS);
  EXPECT_EQ(f.text(IDC_GPS_X_OFFSET), L"1.00");
  EXPECT_TRUE(f.checked(IDC_UNIT_METERS, false));
  EXPECT_FALSE(f.checked(IDC_UNIT_FEET, true));
}

TEST(AlarmSetup, TypeEnablesAndOkStores) {
  struct Case {
    int type;
    bool audio, level, minimum, width;
  };
  const Case cases[] = {{0, false, false, false, false}, {1, true, true, false, false}, {2, true, false, true, true}};
  for (const Case& c : cases) {
    DialogForm f = alarm_setup_form(Settings{});
    f.find(IDC_ALARM_TYPE)->selection = c.type;
    update_alarm_setup(f);
    EXPECT_EQ(f.find(IDC_ALARM_AUDIO)->enabled, c.audio);
    EXPECT_EQ(f.find(IDC_ALARM_CHANNEL)->enabled, c.audio);
    EXPECT_EQ(f.find(IDC_ALARM_LEVEL)->enabled, c.level);
    EXPECT_EQ(f.find(IDC_ALARM_MINIMUM)->enabled, c.minimum);
    EXPECT_EQ(f.find(IDC_ALARM_MAXIMUM)->enabled, c.minimum);
    EXPECT_EQ(f.find(IDC_ALARM_WIDTH)->enabled, c.width);
    EXPECT_EQ(f.find(IDC_ALARM_DESCENDING)->enabled, c.width);
  }
  DialogForm f = alarm_setup_form(Settings{});
  EXPECT_EQ(f.find(IDC_ALARM_WIDTH)->items.size(), 10u);
  EXPECT_EQ(f.find(IDC_ALARM_WIDTH)->items.back(), L"21 Samples");
  f.find(IDC_ALARM_TYPE)->selection = 2;
  f.find(IDC_ALARM_WIDTH)->selection = 9;
  f.set_text(IDC_ALARM_MAXIMUM, L"-5");
  Settings s;
  store_alarm_setup(f, s);
  EXPECT_EQ(s.alarm.alarm_type, 2);
  EXPECT_EQ(s.alarm.medium_anomaly_width, 9);
  EXPECT_DOUBLE_EQ(s.alarm.maximum_amplitude_level, -5.0);
  EXPECT_DOUBLE_EQ(s.alarm.amplitude_alarm_level, 100.0);
}

}  // namespace
}  // namespace quelor
