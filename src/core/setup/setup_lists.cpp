#include "setup/setup_lists.h"

#include <array>
#include <string_view>

#include "gps/formats.h"
#include "setup/dialog_form.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

std::wstring wide(std::string_view text) { return std::wstring(text.begin(), text.end()); }

ListItems labels_of(std::span<const std::string_view> labels) {
  ListItems out;
  for (std::string_view label : labels) out.push_back(wide(label));
  return out;
}

// The row's labels, none for a type outside the table.
template <typename Field>
ListItems row_labels(InstrumentType type, Field field) {
  const InstrumentRow* row = find_instrument(type);
  return row ? labels_of(row->*field) : ListItems{};
}

ListItems numbered(int first, int last, std::string_view prefix, std::string_view suffix, int step = 1) {
  ListItems out;
  for (int n = first; n <= last; n += step) out.push_back(wide(prefix) + std::to_wstring(n) + wide(suffix));
  return out;
}

// By instrument type + 4.
constexpr std::array<std::string_view, 14> kLabelNames{"Grad601", "",         "EM61-LX2", "EM61-MK2", "EM31-MK2",
                                                       "",        "",         "EM38",     "EM34-3",   "",
                                                       "",        "EM38-MK2", "EM38-4",   "DualEM"};
constexpr std::array<std::string_view, 14> kTypeLabels{"EM601 Type:",
                                                       "",
                                                       "EM61-LX2 Type:",
                                                       "EM61-MK2 Type:",
                                                       "EM31-MK2 Type:",
                                                       "",
                                                       "",
                                                       "",
                                                       "",
                                                       "",
                                                       "",
                                                       "EM38-MK2 Type:",
                                                       "Inphase Units:",
                                                       "DualEM Type:"};

std::string_view by_type(const std::array<std::string_view, 14>& table, InstrumentType type) {
  const int i = type_index(type);
  return i >= 0 && i < 14 ? table[static_cast<std::size_t>(i)] : std::string_view{};
}

}  // namespace

ListItems survey_mode_items(InstrumentType type) {
  if (has_trait(type, Trait::kWheelMode)) return list_items({"Auto", "Wheel", "Manual"});
  if (has_trait(type, Trait::kStationReadings)) return list_items({"Auto", "Manual"});
  return list_items({"Auto"});
}

ListItems component_items(InstrumentType type) { return row_labels(type, &InstrumentRow::component_labels); }

ListItems dipole_items(InstrumentType type, bool em34_manual) {
  if (has_trait(type, Trait::kDipoleSetting)) return list_items({"Vertical", "Horizontal"});
  if (!has_trait(type, Trait::kStationReadings)) return {};
  if (em34_manual)
    return list_items({"1 reading", "2 readings", "3 readings", "4 readings", "5 readings", "6 readings"});
  return list_items(
      {"Vertical-10m", "Vertical-20m", "Vertical-40m", "Horizontal-10m", "Horizontal-20m", "Horizontal-40m"});
}

ListItems line_sequence_items() { return list_items({"Alternate", "One Way"}); }
ListItems line_direction_items() { return list_items({"West", "South", "North", "East"}); }
ListItems null_values_items() { return list_items({"None", "Last Survey"}); }

ListItems state_items() { return list_items({"Disabled", "Enabled"}); }
ListItems com_port_items() { return numbered(1, 99, "COM", ":"); }

ListItems model_items(InstrumentType type) { return row_labels(type, &InstrumentRow::model_labels); }

ListItems second_list_items(InstrumentType type) { return row_labels(type, &InstrumentRow::second_labels); }

ListItems pause_key_items(bool soft_marker_keys) {
  return list_items({soft_marker_keys ? "non arrow/numeric keys" : "any key", "<Enter>", "<Space Bar>", "<P>"});
}

ListItems speed_unit_items() { return list_items({"meters/s", "feet/s", "km/h", "mph"}); }
ListItems coordinates_items() { return list_items({"Geodetic", "UTM meters", "UTM feet", "UTM US Feet"}); }
ListItems drift_reminder_items() {
  return list_items({"15 minutes", "30 minutes", "45 minutes", "1 hour", "1.5 hour", "2 hours", "Never"});
}
ListItems sensor_count_items() { return list_items({"1 Sensor", "2 Sensors"}); }
ListItems soft_marker_items() { return list_items({"Disabled", "arrow/numeric keys"}); }

std::wstring instrument_label_name(InstrumentType type) { return wide(by_type(kLabelNames, type)); }
std::wstring type_label(InstrumentType type) { return wide(by_type(kTypeLabels, type)); }

ListItems sensor_size_items() {
  return list_items({"1 x 0.5 m", "0.5 x 1.0 m", "1 x 1 m", "0.5 x 0.5 m", "Hand Held"});
}
ListItems em34_reference_items() { return list_items({"Leading Coil", "Trailing Coil", "EM34-3 Center"}); }

ListItems alarm_type_items() { return list_items({"Disabled", "Simple", "Enhanced"}); }
ListItems alarm_audio_items() { return list_items({"None", "Voice Indication", "Ringing"}); }
ListItems alarm_channel_items() { return list_items({"Early Channel", "Late Channel", "Filtered Channel"}); }
ListItems alarm_width_items() { return numbered(3, 21, "", " Samples", 2); }
ListItems alarm_descending_items() { return list_items({"1 Sample", "2 Samples"}); }

ListItems gps_baud_items() { return list_items({"4800", "9600", "19200", "38400", "57600", "115200"}); }
ListItems gps_parity_items() { return list_items({"None", "Even", "Odd"}); }
ListItems gps_data_bits_items() { return list_items({"7", "8"}); }
ListItems gps_stop_bits_items() { return list_items({"1", "2"}); }

ListItems gps_data_items(bool slam) {
  ListItems out;
  for (int f = 0; f < kGpsFormatCount; ++f) out.push_back(wide(gps_format_label(f, slam)));
  return out;
}

ListItems rts_units_items() { return list_items({"International Feet", "US Survey Feet"}); }
ListItems warning_items() { return list_items({"Disabled", "Enabled"}); }
ListItems quality_items() { return list_items({"Raw (AGPS)", "DGPS", "RTK 3", "RTK 4", "RTK 5"}); }
ListItems satellite_items() { return numbered(3, 12, "", ""); }

}  // namespace quelor
