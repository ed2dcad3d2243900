#include "setup/system_setup.h"

#include <array>
#include <limits>

#include "setup/control_ids.h"
#include "setup/entry_text.h"
#include "setup/filter_factor.h"
#include "setup/setup_lists.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr int kEnabled = 1;
constexpr int kTwoSensors = 1;

bool tilt_template(const Variant& v) {
  return has_trait(v.instrument_type, Trait::kTiltMeter) && v.navigation_mode == kRealTimeMap;
}
bool has_drift_reminder(InstrumentType type) { return has_trait(type, Trait::kDriftReminder); }

int model_of(const Settings& s, InstrumentType type) {
  switch (type) {
    case kEm38Mk2: return s.em38mk2_model;
    case kEm38_4: return s.em38_4.inphase_units;
    case kEm61Lx2:
    case kEm61Mk2: return s.em61_model;
    case kCs21:
    case kGrad601: return 0;
    default: return s.instrument_model;
  }
}

void add_labels_and_model(DialogForm& f, const Settings& s, InstrumentType type) {
  const std::wstring name = instrument_label_name(type);
  f.add_label(IDC_STATE_LABEL, name + L" State:");
  f.add_label(IDC_PORT_LABEL, name + L" Port:");
  const std::wstring type_text = type_label(type);
  const bool hidden = type_text.empty();
  DialogControl& label = f.add_label(IDC_TYPE_LABEL, type_text);
  label.visible = !hidden;
  DialogControl& model = f.add_list(IDC_MODEL, model_items(type), model_of(s, type));
  model.visible = !hidden;
  ListItems second = second_list_items(type);
  if (!second.empty())
    f.add_list(IDC_SECOND_LIST, std::move(second), has_trait(type, Trait::kRecordGroups) ? s.em38_4_rate : 0);
}

void add_common(DialogForm& f, const Settings& s, InstrumentType type) {
  f.add_list(IDC_INSTRUMENT_STATE, state_items(), s.instrument_state);
  f.add_list(IDC_INSTRUMENT_PORT, com_port_items(), s.instrument_port);
  f.add_list(IDC_GPS_PORT, com_port_items(), s.gps_port);
  const bool soft_keys = has_trait(type, Trait::kSoftMarkerKeys) && s.soft_marker_key_option == 1;
  f.add_list(IDC_PAUSE_KEY, pause_key_items(soft_keys), s.pause_key);
  f.add_list(IDC_SPEED_UNITS, speed_unit_items(), s.speed_bar_units);
  f.add_list(IDC_COORDINATES, coordinates_items(), s.coordinates_display);
  if (has_drift_reminder(type)) f.add_list(IDC_DRIFT_REMINDER, drift_reminder_items(), s.drift_reminder);
  f.add_check(IDC_AUDIO_TICKS, s.audio_ticks != 0);
  f.add_check(IDC_DISCONNECTION_ALARM, s.disconnection_alarm != 0);
}

void add_instrument_specific(DialogForm& f, const Settings& s, const Variant& v) {
  const InstrumentType type = v.instrument_type;
  if (has_sensor_count(type)) f.add_list(IDC_NUMBER_OF_SENSORS, sensor_count_items(), s.number_of_sensors);
  if (has_trait(type, Trait::kSoftMarkerKeys))
    f.add_list(IDC_SOFT_MARKER, soft_marker_items(), s.soft_marker_key_option);
  if (has_trait(type, Trait::kFilterFactors)) {
    f.add_edit(IDC_LEFT_FILTER, format_entry("%.1f", s.left_coil_filter_factor));
    f.add_edit(IDC_RIGHT_FILTER, format_entry("%.1f", s.right_coil_filter_factor));
  }
  if (tilt_template(v)) {
    f.add_list(IDC_TILT_STATE, state_items(), s.tilt_meter);
    f.add_list(IDC_TILT_PORT, com_port_items(), s.tilt_meter_port);
    f.add_check(IDC_ANTENNA_RIGID, s.gps_antenna_rigid != 0);
    f.add_label(IDC_ANTENNA_HEIGHT_LABEL, L"");
    f.add_edit(IDC_ANTENNA_HEIGHT, format_entry("%.2f", s.antenna_height));
  }
}

void enable(DialogForm& f, int id, bool on) {
  if (DialogControl* c = f.find(id)) c->enabled = on;
}

void store_model(const DialogForm& f, Settings& s, InstrumentType type) {
  switch (type) {
    case kEm31Mk2:
    case kEm34_3: s.instrument_model = f.selection(IDC_MODEL, s.instrument_model); break;
    case kEm38Mk2: s.em38mk2_model = f.selection(IDC_MODEL, s.em38mk2_model); break;
    case kEm38_4:
      s.em38_4.inphase_units = f.selection(IDC_MODEL, s.em38_4.inphase_units);
      s.em38_4_rate = f.selection(IDC_SECOND_LIST, s.em38_4_rate);
      break;
    case kGrad601: s.number_of_sensors = f.selection(IDC_NUMBER_OF_SENSORS, s.number_of_sensors); break;
    case kEm61Mk2: s.em61_model = f.selection(IDC_MODEL, s.em61_model); break;
    default: break;
  }
}

void store_filter_factors(const DialogForm& f, Settings& s, std::vector<OperatorMessage>& messages) {
  const auto enter = [&](Coil coil, int id, double& factor) {
    const double entered = entered_number_or_zero(f.text(id));  // text that is no number reads as 0
    FilterFactorEntry e = enter_filter_factor(coil, entered, factor);
    factor = e.factor;
    if (e.message) messages.push_back(*e.message);
  };
  enter(Coil::kLeft, IDC_LEFT_FILTER, s.left_coil_filter_factor);
  if (f.selection(IDC_NUMBER_OF_SENSORS, s.number_of_sensors) == kTwoSensors)
    enter(Coil::kRight, IDC_RIGHT_FILTER, s.right_coil_filter_factor);
}

void store_lx2(const DialogForm& f, Settings& s, std::vector<OperatorMessage>& messages) {
  s.em61_model = f.selection(IDC_MODEL, s.em61_model);
  store_filter_factors(f, s, messages);
  s.soft_marker_key_option = f.selection(IDC_SOFT_MARKER, s.soft_marker_key_option);
  s.number_of_sensors = f.selection(IDC_NUMBER_OF_SENSORS, s.number_of_sensors);
}

void store_common(const DialogForm& f, Settings& s) {
  s.pause_key = f.selection(IDC_PAUSE_KEY, s.pause_key);
  s.speed_bar_units = f.selection(IDC_SPEED_UNITS, s.speed_bar_units);
  s.coordinates_display = f.selection(IDC_COORDINATES, s.coordinates_display);
  s.instrument_port = f.selection(IDC_INSTRUMENT_PORT, s.instrument_port);
  s.gps_port = f.selection(IDC_GPS_PORT, s.gps_port);
  s.audio_ticks = f.checked(IDC_AUDIO_TICKS, s.audio_ticks != 0) ? 1 : 0;
  s.disconnection_alarm = f.checked(IDC_DISCONNECTION_ALARM, s.disconnection_alarm != 0) ? 1 : 0;
}

void store_tilt(const DialogForm& f, Settings& s) {
  s.tilt_meter = f.selection(IDC_TILT_STATE, s.tilt_meter);
  s.tilt_meter_port = f.selection(IDC_TILT_PORT, s.tilt_meter_port);
  s.antenna_height = entered_number_or_zero(f.text(IDC_ANTENNA_HEIGHT));
  s.gps_antenna_rigid = f.checked(IDC_ANTENNA_RIGID, s.gps_antenna_rigid != 0) ? 1 : 0;
}

}  // namespace

DialogForm system_setup_form(const Settings& s, const Variant& v) {
  DialogForm f;
  add_labels_and_model(f, s, v.instrument_type);
  add_common(f, s, v.instrument_type);
  add_instrument_specific(f, s, v);
  update_system_setup(f, v);
  return f;
}

void update_system_setup(DialogForm& f, const Variant& v) {
  if (tilt_template(v)) {
    const bool instrument_on = f.selection(IDC_INSTRUMENT_STATE, 0) == kEnabled;
    const bool tilt_on = instrument_on && f.selection(IDC_TILT_STATE, 0) == kEnabled;
    enable(f, IDC_TILT_STATE, instrument_on);
    for (int id : {IDC_TILT_PORT, IDC_ANTENNA_RIGID, IDC_ANTENNA_HEIGHT, IDC_ANTENNA_HEIGHT_LABEL})
      enable(f, id, tilt_on);
    f.set_text(IDC_ANTENNA_HEIGHT_LABEL,
               f.checked(IDC_ANTENNA_RIGID, false) ? L"GPS Antenna Height:" : L"Main Sensor Height:");
  }
  if (DialogControl* right = f.find(IDC_RIGHT_FILTER)) {
    const bool two = f.selection(IDC_NUMBER_OF_SENSORS, 0) == kTwoSensors;
    // The factor is kept aside while "N/A" is shown.
    if (!two && right->enabled) {
      right->items = {right->text};
      right->text = L"N/A";
    } else if (two && !right->enabled) {
      right->text = right->items.empty() ? L"" : right->items.front();
    }
    right->enabled = two;
  }
}

std::vector<OperatorMessage> store_system_setup(const DialogForm& f, Settings& s, const Variant& v) {
  std::vector<OperatorMessage> messages;
  const InstrumentType type = v.instrument_type;
  s.instrument_state = f.selection(IDC_INSTRUMENT_STATE, s.instrument_state);
  if (has_trait(type, Trait::kFilterFactors))
    store_lx2(f, s, messages);
  else
    store_model(f, s, type);
  if (has_drift_reminder(type)) s.drift_reminder = f.selection(IDC_DRIFT_REMINDER, s.drift_reminder);
  store_common(f, s);
  if (tilt_template(v)) store_tilt(f, s);
  return messages;
}

}  // namespace quelor
