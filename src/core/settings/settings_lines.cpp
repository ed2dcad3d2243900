#include "settings/settings_lines.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "settings/reading_rate.h"

namespace quelor {

namespace {

template <class T>
FieldRef ref_of(T& value, int) {
  return &value;
}

template <class T, std::size_t N>
FieldRef ref_of(std::array<T, N>& values, int index) {
  return &values[static_cast<std::size_t>(index)];
}

template <auto First, auto... Rest, class Object>
auto& member(Object& object) {
  if constexpr (sizeof...(Rest) == 0)
    return object.*First;
  else
    return member<Rest...>(object.*First);
}

template <auto... Path>
FieldRef access(Settings& s, int index) {
  return ref_of(member<Path...>(s), index);
}

// One line (or `count` lines of an array from `first`) of the field at Path.
template <auto... Path>
constexpr SettingsLine line(int first = 0, int count = 1) {
  return {&access<Path...>, first, count};
}

template <int Type>
bool is_type(const Variant& v) {
  return v.instrument_type == Type;
}

template <int Type>
bool is_not_type(const Variant& v) {
  return v.instrument_type != Type;
}

constexpr SettingsLine only_if(SettingsLine row, bool (*present)(const Variant&)) {
  row.present = present;
  return row;
}

constexpr SettingsLine zero_in_navigation(SettingsLine row) {
  row.zero_in_navigation = true;
  return row;
}

// The reading interval: subnormal and non-finite values read as the Survey
// Setup would store them.
constexpr SettingsLine reading_interval_line() {
  SettingsLine row = line<&Settings::reading_interval>();
  row.read_rule = &usable_reading_interval;
  return row;
}

template <std::size_t... N>
constexpr auto join(const std::array<SettingsLine, N>&... parts) {
  std::array<SettingsLine, (N + ...)> out{};
  std::size_t at = 0;
  ((std::copy(parts.begin(), parts.end(), out.begin() + static_cast<std::ptrdiff_t>(at)), at += N), ...);
  return out;
}

using S = Settings;

constexpr auto kFolders = std::to_array<SettingsLine>({
    line<&S::data_folder>(),
    line<&S::background_folder>(),
});

// map units .. colour map view: the same run in every family.
constexpr auto kUnitsToColourMapView = std::to_array<SettingsLine>({
    line<&S::map_units>(),
    line<&S::speed_bar_units>(),
    line<&S::instrument_port>(),
    line<&S::audio_ticks>(),
    line<&S::disconnection_alarm>(),
    line<&S::gps_audio_warning>(),
    line<&S::pause_key>(),
    zero_in_navigation(line<&S::colour_map_view>()),
});

// GPS enabled .. GPS Y offset.
constexpr auto kGpsPortToOffsets = std::to_array<SettingsLine>({
    line<&S::gps_enabled>(),
    line<&S::gps_sentence>(),
    line<&S::gps_port>(),
    line<&S::gps_baud_rate>(),
    line<&S::gps_stop_bits>(),
    line<&S::gps_parity>(),
    line<&S::gps_data_bits>(),
    line<&S::speed_scale_maximum>(),
    line<&S::geometry_units>(),
    line<&S::gps_x_offset>(),
    line<&S::gps_y_offset>(),
});

// survey line .. start station.
constexpr auto kSurveyLine = std::to_array<SettingsLine>({
    line<&S::survey_line>(),
    line<&S::line_increment>(),
    line<&S::line_sequence>(),
    line<&S::line_direction>(),
    line<&S::start_station>(),
});

// map options, coordinates display, GPS warning mask, reserved value.
constexpr auto kMapToReserved = std::to_array<SettingsLine>({
    line<&S::map, &MapOptions::cursor_size>(),
    line<&S::map, &MapOptions::position_size>(),
    line<&S::map, &MapOptions::cursor_colour>(),
    line<&S::map, &MapOptions::position_colour>(),
    line<&S::map, &MapOptions::lines_interval>(),
    line<&S::map, &MapOptions::map_size>(),
    line<&S::map, &MapOptions::parallel_lines>(),
    line<&S::map, &MapOptions::lines_angle>(),
    line<&S::map, &MapOptions::cursor_band_index>(),
    line<&S::coordinates_display>(),
    line<&S::gps_warning_mask, &GpsWarningMask::warning_selection>(),
    line<&S::gps_warning_mask, &GpsWarningMask::quality_selection>(),
    line<&S::gps_warning_mask, &GpsWarningMask::minimum_satellites>(),
    line<&S::gps_warning_mask, &GpsWarningMask::threshold>(),
    line<&S::reserved_value>(),
});

constexpr auto kNullValues = std::to_array<SettingsLine>({
    line<&S::null_values>(),
    line<&S::channel_null_values>(0, 4),
});

constexpr auto kBackgroundDisplay = std::to_array<SettingsLine>({
    line<&S::background_display>(0, 7),
});

constexpr auto kGpsInput = std::to_array<SettingsLine>({
    line<&S::pseudo_gga_variant>(),
    line<&S::rts_units>(),
});

// EM31-MK2, EM38, EM34-3 and EM38-MK2.
constexpr auto kStandardLines = join(kFolders,
                                     std::to_array<SettingsLine>({
                                         line<&S::instrument_state>(),
                                         line<&S::sensor_size>(),
                                     }),
                                     kUnitsToColourMapView,
                                     std::to_array<SettingsLine>({
                                         only_if(line<&S::instrument_model>(), &is_not_type<kEm38Mk2>),
                                         only_if(line<&S::em38mk2_model>(), &is_type<kEm38Mk2>),
                                         line<&S::trace_widths>(0, 8),
                                         line<&S::trace_colours>(0, 8),
                                         line<&S::profile_option>(),
                                         line<&S::profile_scale_1>(0, 2),
                                         line<&S::profile_scale_2>(0, 2),
                                     }),
                                     kGpsPortToOffsets,
                                     std::to_array<SettingsLine>({
                                         only_if(line<&S::em34_3_reference>(), &is_type<kEm34_3>),
                                         line<&S::survey_mode>(),
                                         line<&S::component>(),
                                         line<&S::dipole_mode>(),
                                         only_if(line<&S::manual_reading_count>(), &is_type<kEm34_3>),
                                         line<&S::swath_option>(),
                                         line<&S::station_increments>(0, 3),
                                         reading_interval_line(),
                                     }),
                                     kSurveyLine, kMapToReserved,
                                     std::to_array<SettingsLine>({
                                         only_if(line<&S::em38mk2_calibration>(0, 6), &is_type<kEm38Mk2>),
                                     }),
                                     kBackgroundDisplay, kGpsInput);

// The EM61 files share their start up to the reading interval.
constexpr auto kEm61TraceToInterval = join(std::to_array<SettingsLine>({
                                               line<&S::em61_model>(),
                                               line<&S::trace_widths>(0, 8),
                                               line<&S::trace_colours>(0, 8),
                                               line<&S::profile_option>(),
                                               line<&S::profile_scale_1>(0, 2),
                                           }),
                                           kGpsPortToOffsets,
                                           std::to_array<SettingsLine>({
                                               line<&S::survey_mode>(),
                                               line<&S::swath_option>(),
                                               line<&S::station_increments>(0, 3),
                                               reading_interval_line(),
                                           }));

constexpr auto kEm61Mk2Lines = join(kFolders,
                                    std::to_array<SettingsLine>({
                                        line<&S::instrument_state>(),
                                        line<&S::sensor_size>(),
                                    }),
                                    kUnitsToColourMapView, kEm61TraceToInterval, kSurveyLine, kMapToReserved,
                                    kNullValues, kBackgroundDisplay, kGpsInput,
                                    std::to_array<SettingsLine>({
                                        line<&S::tilt_meter>(),
                                        line<&S::tilt_meter_port>(),
                                        line<&S::tilt_meter_settings>(0, 2),
                                        line<&S::antenna_height>(),
                                        line<&S::gps_antenna_rigid>(),
                                    }));

constexpr auto kEm61Lx2Lines =
    join(kFolders,
         std::to_array<SettingsLine>({
             line<&S::number_of_sensors>(),
             line<&S::instrument_state>(),
             line<&S::sensor_size>(),
         }),
         kUnitsToColourMapView, kEm61TraceToInterval, kSurveyLine, kMapToReserved, kNullValues, kBackgroundDisplay,
         std::to_array<SettingsLine>({
             line<&S::alarm, &AlarmSettings::alarm_type>(),
             line<&S::alarm, &AlarmSettings::audio_indicator>(),
             line<&S::alarm, &AlarmSettings::monitored_channel>(),
             line<&S::alarm, &AlarmSettings::medium_anomaly_width>(),
             line<&S::alarm, &AlarmSettings::amplitude_alarm_level>(),
             line<&S::alarm, &AlarmSettings::minimum_amplitude_level>(),
             line<&S::alarm, &AlarmSettings::maximum_amplitude_level>(),
             line<&S::alarm, &AlarmSettings::descending_readings>(),
         }),
         kGpsInput,
         std::to_array<SettingsLine>({
             line<&S::soft_marker_key_option>(),
             line<&S::left_coil_filter_factor>(),
             line<&S::right_coil_filter_factor>(),
         }));

// Grad601: no reading interval; the swath option is written twice.
constexpr auto kGrad601Lines = join(kFolders,
                                    std::to_array<SettingsLine>({
                                        line<&S::instrument_state>(),
                                        line<&S::number_of_sensors>(),
                                        line<&S::swath_option>(),
                                        line<&S::sensor_separation>(),
                                        line<&S::sensor_size>(),
                                    }),
                                    kUnitsToColourMapView,
                                    std::to_array<SettingsLine>({
                                        line<&S::trace_widths>(0, 2),
                                        line<&S::trace_colours>(0, 2),
                                        line<&S::profile_scale_1>(0, 2),
                                    }),
                                    kGpsPortToOffsets,
                                    std::to_array<SettingsLine>({
                                        line<&S::survey_mode>(),
                                        line<&S::swath_option>(),
                                        line<&S::station_increments>(0, 1),
                                    }),
                                    kSurveyLine, kMapToReserved, kBackgroundDisplay,
                                    std::to_array<SettingsLine>({
                                        line<&S::soft_marker_key_option>(),
                                    }));

// EM38-4 and CS-21: the rate is written twice; the later line wins.
constexpr auto kEm38_4Lines = join(kFolders,
                                   std::to_array<SettingsLine>({
                                       line<&S::instrument_state>(),
                                       line<&S::sensor_size>(),
                                   }),
                                   kUnitsToColourMapView,
                                   std::to_array<SettingsLine>({
                                       line<&S::channel_flags>(0, 16),
                                       line<&S::trace_widths>(0, 16),
                                       line<&S::trace_colours>(0, 16),
                                       line<&S::displayed_channel>(),
                                       line<&S::profile_scale_1>(0, 2),
                                       line<&S::profile_scale_2>(0, 2),
                                   }),
                                   kGpsPortToOffsets,
                                   std::to_array<SettingsLine>({
                                       line<&S::survey_mode>(),
                                       line<&S::component>(),
                                       line<&S::dipole_mode>(),
                                       line<&S::manual_reading_count>(),
                                       line<&S::em38_4_kept_value>(),
                                       line<&S::em38_4_rate>(),
                                       line<&S::swath_option>(),
                                       line<&S::station_increments>(0, 3),
                                       reading_interval_line(),
                                   }),
                                   kSurveyLine, kMapToReserved,
                                   std::to_array<SettingsLine>({
                                       line<&S::em38_4, &Em38_4Block::value_a>(),
                                       line<&S::em38_4, &Em38_4Block::value_b>(),
                                       line<&S::em38_4, &Em38_4Block::value_c>(),
                                       line<&S::em38_4_rate>(),
                                       line<&S::em38_4, &Em38_4Block::height>(),
                                       line<&S::em38_4, &Em38_4Block::calibration_a>(0, 12),
                                       line<&S::em38_4, &Em38_4Block::calibration_b>(0, 8),
                                       line<&S::soft_marker_key_option>(),
                                       line<&S::em38_4, &Em38_4Block::inphase_units>(),
                                       line<&S::em38_4, &Em38_4Block::values_d>(0, 4),
                                       line<&S::em38_4, &Em38_4Block::values_e>(0, 2),
                                       line<&S::em38_4, &Em38_4Block::values_f>(0, 3),
                                   }),
                                   kBackgroundDisplay, kGpsInput,
                                   std::to_array<SettingsLine>({
                                       line<&S::drift_reminder>(),
                                   }));

struct Family {
  InstrumentType instrument_type;
  std::span<const SettingsLine> lines;
};

constexpr std::array<Family, 9> kFamilies{{
    {kEm31Mk2, kStandardLines},
    {kEm38, kStandardLines},
    {kEm34_3, kStandardLines},
    {kEm38Mk2, kStandardLines},
    {kEm61Mk2, kEm61Mk2Lines},
    {kEm61Lx2, kEm61Lx2Lines},
    {kGrad601, kGrad601Lines},
    {kEm38_4, kEm38_4Lines},
    {kCs21, kEm38_4Lines},
}};

}  // namespace

std::span<const SettingsLine> settings_lines(InstrumentType instrument_type) {
  for (const Family& family : kFamilies)
    if (family.instrument_type == instrument_type) return family.lines;
  return {};
}

int settings_line_count(const Variant& v) {
  int count = 0;
  for (const SettingsLine& row : settings_lines(v.instrument_type))
    if (row.present == nullptr || row.present(v)) count += row.count;
  return count;
}

}  // namespace quelor
