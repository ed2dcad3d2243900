#pragma once
// The texts of the setup dialogs' lists and labels, by instrument.

#include <string>
#include <vector>

#include "variant/variant.h"

namespace quelor {

using ListItems = std::vector<std::wstring>;

// Survey Setup
ListItems survey_mode_items(InstrumentType instrument_type);               // "Auto" [, "Wheel"], "Manual"
ListItems component_items(InstrumentType instrument_type);                 // empty: no component list
ListItems dipole_items(InstrumentType instrument_type, bool em34_manual);  // empty: no dipole list
ListItems line_sequence_items();
ListItems line_direction_items();
ListItems null_values_items();

// System Setup
ListItems state_items();                                      // "Disabled", "Enabled"
ListItems com_port_items();                                   // "COM1:" ... "COM99:"
ListItems model_items(InstrumentType instrument_type);        // 1121
ListItems second_list_items(InstrumentType instrument_type);  // 1122 (EM38-4 rate, CS-21 baud rate)
ListItems pause_key_items(bool soft_marker_keys);
ListItems speed_unit_items();
ListItems coordinates_items();
ListItems drift_reminder_items();
ListItems sensor_count_items();
ListItems soft_marker_items();
std::wstring instrument_label_name(InstrumentType instrument_type);  // "EM31-MK2", "DualEM" ...
std::wstring type_label(InstrumentType instrument_type);             // "EM31-MK2 Type:"; empty when hidden

// Geometry Setup
ListItems sensor_size_items();
ListItems em34_reference_items();

// Alarm Setup
ListItems alarm_type_items();
ListItems alarm_audio_items();
ListItems alarm_channel_items();
ListItems alarm_width_items();  // "3 Samples" ... "21 Samples"
ListItems alarm_descending_items();

// GPS Port Setup and the GPS warning mask
ListItems gps_baud_items();
ListItems gps_parity_items();
ListItems gps_data_bits_items();
ListItems gps_stop_bits_items();
ListItems gps_data_items(bool slam);
ListItems rts_units_items();
ListItems warning_items();
ListItems quality_items();
ListItems satellite_items();  // "3" ... "12"

}  // namespace quelor
