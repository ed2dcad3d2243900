#pragma once
// The settings record: every persisted setting with its built-in default.
// Instrument-dependent defaults and the settings files are in their own files.

#include <array>
#include <cstdint>
#include <string>

namespace quelor {

using ColorRef = std::uint32_t;  // 0x00BBGGRR

struct MapOptions {
  int cursor_size = 3;
  int position_size = 4;
  ColorRef cursor_colour = 0;
  ColorRef position_colour = 0xFF0000;
  double lines_interval = 2.0;
  long map_size = 40;
  int parallel_lines = 0;
  double lines_angle = -20.0;
  int cursor_band_index = 1;

  friend bool operator==(const MapOptions&, const MapOptions&) = default;
};

struct GpsWarningMask {
  int warning_selection = 1;
  int quality_selection = 1;
  int minimum_satellites = 5;  // list index + 3
  double threshold = 4.0;      // quality or dilution threshold

  friend bool operator==(const GpsWarningMask&, const GpsWarningMask&) = default;
};

struct AlarmSettings {  // EM61-LX2 Alarm Setup
  int alarm_type = 0;
  int audio_indicator = 1;
  int monitored_channel = 0;
  int medium_anomaly_width = 0;  // index k: 2k + 3 samples
  double amplitude_alarm_level = 100.0;
  double minimum_amplitude_level = 50.0;
  double maximum_amplitude_level = 1000.0;
  int descending_readings = 0;

  friend bool operator==(const AlarmSettings&, const AlarmSettings&) = default;
};

// The EM38-4 instrument block of the EM38-4 / CS-21 file, in file order.
struct Em38_4Block {
  double value_a = 10.5;
  int value_b = 0;
  int value_c = 2;
  // the rate is kept in Settings::em38_4_rate (written twice in the file)
  double height = 0.3;  // EM38-4 height above the ground, metres
  std::array<double, 12> calibration_a{};
  std::array<double, 8> calibration_b{};
  // soft marker key option is kept in Settings::soft_marker_key_option
  int inphase_units = 0;  // 0 "ppt", 1 "mS/m"
  std::array<double, 4> values_d{0.0, 200.0, -2.0, 0.0};
  std::array<int, 2> values_e{};
  std::array<double, 3> values_f{0.4, 20.0, 100.0};

  friend bool operator==(const Em38_4Block&, const Em38_4Block&) = default;
};

struct Settings {
  std::wstring data_folder = L"C:\\";        // at most 263 characters
  std::wstring background_folder = L"C:\\";  // at most 263 characters
  int instrument_state = 1;
  int sensor_size = 0;
  int map_units = 0;
  int speed_bar_units = 0;
  int instrument_port = 3;  // COM index: COM4
  int audio_ticks = 1;
  int disconnection_alarm = 1;
  int gps_audio_warning = 1;
  int pause_key = 0;
  int colour_map_view = 3;
  int instrument_model = 0;  // EM31-MK2 / EM38 / EM34-3
  int em38mk2_model = 0;     // EM38-MK2's own model field
  int em61_model = 0;        // EM61-MK2 and EM61-LX2
  std::array<int, 16> trace_widths{2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1};
  std::array<ColorRef, 16> trace_colours{0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF, 0xFF0000, 0x00FF00,
                                         0x0000FF, 0xFF00FF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF,
                                         0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF};
  int profile_option = 0;
  std::array<double, 2> profile_scale_1{0.0, 500.0};
  std::array<double, 2> profile_scale_2{-25.0, 25.0};
  int gps_enabled = 1;
  int gps_sentence = 1;
  int gps_port = 5;  // COM6
  int gps_baud_rate = 1;
  int gps_stop_bits = 1;
  int gps_parity = 0;
  int gps_data_bits = 0;
  double speed_scale_maximum = 5.0;
  int geometry_units = 0;
  double gps_x_offset = 0.0;
  double gps_y_offset = 0.0;
  int em34_3_reference = 0;
  int survey_mode = 0;  // 0 Auto, 1 Wheel, 2 Manual
  int component = 0;
  int dipole_mode = 0;
  int manual_reading_count = 10;
  int swath_option = 2;
  std::array<double, 3> station_increments{1.0, 0.2, 2.0};  // Auto, Wheel, Manual
  double reading_interval = 0.2;
  std::string survey_line = "1";  // at most 15 characters
  double line_increment = 1.0;
  int line_sequence = 0;
  int line_direction = 2;
  double start_station = 0.0;
  MapOptions map;
  int coordinates_display = 0;
  int number_of_sensors = 1;
  double sensor_separation = 1.0;
  int null_values = 0;
  std::array<double, 4> channel_null_values{};
  AlarmSettings alarm;
  int soft_marker_key_option = 1;
  int tilt_meter = 0;
  int tilt_meter_port = 6;  // COM7
  std::array<int, 2> tilt_meter_settings{5, 2};
  double antenna_height = 1.35;
  int gps_antenna_rigid = 1;
  int drift_reminder = 6;  // "Never"
  std::array<int, 16> channel_flags{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  int displayed_channel = 0;
  int em38_4_kept_value = 2;  // line 81 of the EM38-4 / CS-21 file
  int em38_4_rate = 0;        // index of "10 Hz" ... "0.1 Hz"
  Em38_4Block em38_4;
  GpsWarningMask gps_warning_mask;
  double reserved_value = 5.0;
  std::array<double, 6> em38mk2_calibration{};
  std::array<int, 7> background_display{0, 1, 1, 0, 1, 2, 1};
  int pseudo_gga_variant = 0;
  int rts_units = 0;
  double left_coil_filter_factor = 310.0;   // EM61-LX2
  double right_coil_filter_factor = 310.0;  // EM61-LX2
  // EM61-MK2 current normalisation over the last N transmitter currents
  // (0: off); no settings file keeps it.
  int normalisation_size = 98;

  friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace quelor
