#include "setup/alarm_setup.h"

#include <array>

#include "setup/control_ids.h"
#include "setup/entry_text.h"
#include "setup/setup_lists.h"

namespace quelor {

namespace {

struct AlarmEnableRow {
  int id;
  bool simple;
  bool enhanced;
};

constexpr std::array<AlarmEnableRow, 7> kAlarmEnables{{
    {IDC_ALARM_AUDIO, true, true},
    {IDC_ALARM_CHANNEL, true, true},
    {IDC_ALARM_LEVEL, true, false},
    {IDC_ALARM_MINIMUM, false, true},
    {IDC_ALARM_MAXIMUM, false, true},
    {IDC_ALARM_WIDTH, false, true},
    {IDC_ALARM_DESCENDING, false, true},
}};

constexpr int kSimple = 1;
constexpr int kEnhanced = 2;

}  // namespace

DialogForm alarm_setup_form(const Settings& s) {
  const AlarmSettings& a = s.alarm;
  DialogForm f;
  f.add_list(IDC_ALARM_TYPE, alarm_type_items(), a.alarm_type);
  f.add_list(IDC_ALARM_AUDIO, alarm_audio_items(), a.audio_indicator);
  f.add_list(IDC_ALARM_CHANNEL, alarm_channel_items(), a.monitored_channel);
  f.add_edit(IDC_ALARM_LEVEL, format_entry("%.1f", a.amplitude_alarm_level));
  f.add_edit(IDC_ALARM_MINIMUM, format_entry("%.1f", a.minimum_amplitude_level));
  f.add_edit(IDC_ALARM_MAXIMUM, format_entry("%.1f", a.maximum_amplitude_level));
  f.add_list(IDC_ALARM_WIDTH, alarm_width_items(), a.medium_anomaly_width);
  f.add_list(IDC_ALARM_DESCENDING, alarm_descending_items(), a.descending_readings);
  update_alarm_setup(f);
  return f;
}

void update_alarm_setup(DialogForm& f) {
  const int type = f.selection(IDC_ALARM_TYPE, 0);
  for (const AlarmEnableRow& row : kAlarmEnables)
    if (DialogControl* c = f.find(row.id))
      c->enabled = (type == kSimple && row.simple) || (type == kEnhanced && row.enhanced);
}

void store_alarm_setup(const DialogForm& f, Settings& s) {
  AlarmSettings& a = s.alarm;
  a.alarm_type = f.selection(IDC_ALARM_TYPE, a.alarm_type);
  a.audio_indicator = f.selection(IDC_ALARM_AUDIO, a.audio_indicator);
  a.monitored_channel = f.selection(IDC_ALARM_CHANNEL, a.monitored_channel);
  a.medium_anomaly_width = f.selection(IDC_ALARM_WIDTH, a.medium_anomaly_width);
  a.amplitude_alarm_level = entered_number_or_zero(f.text(IDC_ALARM_LEVEL));
  a.minimum_amplitude_level = entered_number_or_zero(f.text(IDC_ALARM_MINIMUM));
  a.maximum_amplitude_level = entered_number_or_zero(f.text(IDC_ALARM_MAXIMUM));
  a.descending_readings = f.selection(IDC_ALARM_DESCENDING, a.descending_readings);
}

}  // namespace quelor
