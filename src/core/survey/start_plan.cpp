#include "survey/start_plan.h"

#include "reading/decode_context.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "map/colour_views.h"
#include "settings/settings_derived.h"
#include "survey/colour_class.h"
#include "serial/records_per_reading.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr std::array<InstrumentStart, 8> kStartTable{{
    // type       handshake wait  em38  check  2nd    before first  after tilt
    {kEm31Mk2, false, 0, false, 0, false, 0, 1000, 0, false},
    {kEm34_3, false, 0, false, 0, false, 0, 1000, 0, false},
    {kEm38, false, 0, true, 2000, false, 0, 0, 50, false},
    {kEm38Mk2, false, 0, false, 0, false, 0, 1000, 50, false},
    {kEm38_4, false, 0, false, 0, false, 200, 1000, 50, false},
    {kCs21, false, 0, false, 0, false, 0, 0, 50, false},
    {kGrad601, false, 0, false, 0, false, 0, 0, 50, false},
    {kEm61Lx2, true, 0, false, 0, false, 0, 0, 50, false},
}};

struct TimerPeriod {
  InstrumentType instrument_type;
  std::uint32_t period_ms;
};
constexpr std::array<TimerPeriod, 9> kTimerPeriods{{{kEm31Mk2, 300},
                                                    {kEm38, 300},
                                                    {kEm34_3, 300},
                                                    {kEm38Mk2, 300},
                                                    {kEm38_4, 300},
                                                    {kEm61Lx2, 500},
                                                    {kEm61Mk2, 500},
                                                    {kGrad601, 1000},
                                                    {kCs21, 1000}}};

// Update-rate limits of the tick divisor: below `below_hz` the divisor is `n`.
struct DivisorStep {
  double below_hz;
  int n;
};
constexpr std::array<DivisorStep, 3> kDivisorSteps{{{4.0, 1}, {8.0, 2}, {13.0, 3}}};
constexpr int kFastestDivisor = 6;

std::string port_message(const char* format, int port_index) {
  char text[128];
  std::snprintf(text, sizeof text, format, port_index + 1);
  return text;
}

OperatorMessage serial_port_issue(const char* format, int port_index) {
  return {"Serial Port Issue", port_message(format, port_index), DialogTemplate::kOk};
}

double update_rate(double reading_interval_s) {
  if (!(reading_interval_s > 0.0)) return 0.0;
  return 1.0 / reading_interval_s;
}

void reset_em34_geometry(const Settings& s, const SettingsDerived& d, SurveyRecord& r) {
  r.working_dipole = s.dipole_mode;
  if (s.survey_mode == kModeAuto) {
    r.working_gps_y_offset = em34_y_offset(s.gps_y_offset, s.em34_3_reference, d.coil_spacing_m);
    return;
  }
  constexpr std::array<int, 3> kSpacings{10, 20, 40};
  for (std::size_t i = 0; i < kSpacings.size(); ++i)
    r.manual_gps_y_offsets[i] = em34_y_offset(s.gps_y_offset, s.em34_3_reference, kSpacings[i]);
}

SurveyRecord reset_survey(const Settings& s, const Variant& v) {
  const SettingsDerived d = derive_settings(s, v);
  SurveyRecord r;
  r.state = kStateMonitoring;
  r.survey_mode = d.current_survey_mode;
  r.line_name = s.survey_line;
  r.line_direction = s.line_direction;
  r.start_station = s.start_station;
  r.station = s.start_station;
  r.station_increment = d.active_station_increment;
  r.zone = make_survey_zone(kAutomaticZone);
  r.saved_gps_y_offset = s.gps_y_offset;
  r.working_gps_x_offset = s.gps_x_offset;
  r.working_gps_y_offset = s.gps_y_offset;
  if (has_trait(v.instrument_type, Trait::kCoilConfigurations)) reset_em34_geometry(s, d, r);
  return r;
}

}  // namespace

bool colour_map_uses_scale_2(InstrumentType instrument_type, int colour_map_view) {
  return mapped_view_uses_scale_2(instrument_type, colour_map_view);
}

namespace {

// EM34-3 in Auto numbers its six configurations 0..5 (Vertical-10m ..
// Horizontal-40m): its letter follows the configuration, not "nonzero".
char dipole_letter(const Settings& s, const Variant& v) {
  if (has_trait(v.instrument_type, Trait::kCoilConfigurations) && s.survey_mode == kModeAuto) {
    const SettingsDerived d = derive_settings(s, v);
    return d.dipole_letter == "H" ? 'H' : 'V';
  }
  return s.dipole_mode != 0 ? 'H' : 'V';
}

}  // namespace

InstrumentStart instrument_start(InstrumentType instrument_type, bool em61_polled_mode, bool tilt_meter_enabled) {
  if (instrument_type == kEm61Mk2) {
    InstrumentStart s{kEm61Mk2, true, 100, false, 0, true, 0, 0, em61_polled_mode ? 200u : 100u, false};
    s.tilt_meter = tilt_meter_enabled;
    return s;
  }
  for (const InstrumentStart& s : kStartTable)
    if (s.instrument_type == instrument_type) return s;
  return kStartTable[0];
}

std::uint32_t timer_period_ms(InstrumentType instrument_type, bool em61_polled_mode,
                              std::uint32_t polling_interval_ms) {
  if (has_trait(instrument_type, Trait::kPolledReadings) && em61_polled_mode) return polling_interval_ms;
  for (const TimerPeriod& t : kTimerPeriods)
    if (t.instrument_type == instrument_type) return t.period_ms;
  return 300;
}

int tick_divisor(InstrumentType instrument_type, int survey_mode, double reading_interval_s) {
  if (has_trait(instrument_type, Trait::kWheelMode) && survey_mode == kModeWheel) return 1;
  if (has_trait(instrument_type, Trait::kWheelMode) && survey_mode == kModeManual) return 6;
  const double rate = update_rate(reading_interval_s);
  for (const DivisorStep& step : kDivisorSteps)
    if (rate < step.below_hz) return step.n;
  return kFastestDivisor;
}

int tilt_rate_index(const Settings& s) { return s.tilt_meter_settings[1]; }

double em34_half_spacing(int coil_spacing_m) { return coil_spacing_m / 2.0; }

double em34_y_offset(double gps_y_offset, int reference, int coil_spacing_m) {
  const double half = em34_half_spacing(coil_spacing_m);
  switch (reference) {
    case 0: return gps_y_offset + half;
    case 1: return -gps_y_offset - half;
    default: return gps_y_offset;
  }
}

double colour_class_width(const Settings& s, InstrumentType instrument_type, int colour_map_view) {
  const auto& scale = colour_map_uses_scale_2(instrument_type, colour_map_view) ? s.profile_scale_2 : s.profile_scale_1;
  return (scale[1] - scale[0]) / (kColourClasses + 1);
}

std::optional<OperatorMessage> port_assignment_problem(const Settings& s, InstrumentType instrument_type) {
  const bool instrument = s.instrument_state >= 1;
  const bool gps = s.gps_enabled == 1;
  if (!instrument && !gps)
    return OperatorMessage{"EM AND GPS DISABLED", "Instrument Disabled and GPS Disabled", DialogTemplate::kOk};
  if (instrument && gps && s.instrument_port == s.gps_port)
    return serial_port_issue("Serial Port COM%d Assigned to Instrument and GPS, please change port selection.",
                             s.instrument_port);
  if (!has_trait(instrument_type, Trait::kTiltMeter) || s.tilt_meter != 1) return std::nullopt;
  if (gps && s.tilt_meter_port == s.gps_port)
    return serial_port_issue("Serial Port COM%d Assigned to GPS and Tilt Meter, please change port selection.",
                             s.gps_port);
  if (instrument && s.tilt_meter_port == s.instrument_port)
    return serial_port_issue("Serial Port COM%d Assigned to Instrument and Tilt Meter, please change port selection.",
                             s.instrument_port);
  return std::nullopt;
}

OperatorMessage connection_issue(bool tilt_meter) {
  return {"Connection Issue",
          tilt_meter ? "Tilt Meter OFF or Disconnected, or wrong COM port selected"
                     : "Instrument OFF or Disconnected, or wrong COM port selected",
          DialogTemplate::kOk};
}

StartPlan plan_survey_start(const StartInput& input) {
  const Settings& s = input.settings;
  const InstrumentType type = input.variant.instrument_type;
  StartPlan plan;
  plan.survey = reset_survey(s, input.variant);
  plan.instrument_used = s.instrument_state >= 1;
  plan.gps_used = s.gps_enabled == 1;
  plan.tilt_used = plan.instrument_used && has_trait(type, Trait::kTiltMeter) && s.tilt_meter == 1;
  // A view the map cannot draw (a stored one of two sensors, say) maps
  // nothing: the positions view; the EM38 maps its component.
  plan.colour_map_view = (!plan.gps_used || input.variant.navigation_mode == kNavigation)
                             ? 0
                             : usable_view(view_setup(s, type), s.colour_map_view);
  plan.update_rate_hz = update_rate(s.reading_interval);
  plan.tick_divisor = tick_divisor(type, s.survey_mode, s.reading_interval);
  plan.clear_channel_null_values = s.null_values != 1;
  plan.clear_number_of_sensors = !has_sensor_count(type);
  plan.dipole_letter = dipole_letter(s, input.variant);
  plan.message = port_assignment_problem(s, type);
  if (plan.message) return plan;
  plan.proceed = true;
  if (plan.instrument_used) {
    plan.start = instrument_start(type, input.em61_polled_mode, plan.tilt_used);
    if (plan.tilt_used) plan.start->tilt_rate_index = tilt_rate_index(s);
    plan.timer_period_ms = timer_period_ms(type, input.em61_polled_mode, input.polling_interval_ms);
    // The EM31-MK2 real-time map line maps the in-phase when only it is read.
    if (has_trait(type, Trait::kInphaseOnlyComponent) && input.variant.navigation_mode == kRealTimeMap &&
        s.component == 1)
      plan.colour_map_view = 2;
    plan.records_per_reading = instrument_records_per_reading(type, s.reading_interval, s.em38_4_rate);
  }
  plan.survey.configured_records_per_reading = plan.records_per_reading;
  plan.colour_class_width = colour_class_width(s, type, plan.colour_map_view);
  plan.show_first_position_prompt = plan.gps_used;
  return plan;
}

void apply_start_to_settings(const StartPlan& plan, Settings& s) {
  s.colour_map_view = plan.colour_map_view;
  if (plan.clear_channel_null_values) s.channel_null_values = {};
  if (plan.clear_number_of_sensors) s.number_of_sensors = 0;
}

}  // namespace quelor
