#include "datafile/header_records.h"

#include <cctype>

#include "datafile/naming.h"
#include "datafile/record_layout.h"
#include "gps/units.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

const char* gps_flag(const HeaderFields& f) { return f.gps_enabled > 0 ? "GPS" : "GRD"; }

// Columns 12-18 of the EM31-MK2, EM38, EM34-3, EM38-MK2, EM38-4 and CS-21.
std::string common_block(const HeaderFields& f) {
  return format_text("%s%1d%1d%1d%1d", gps_flag(f), f.map_units, f.dipole_mode, f.survey_mode, f.component);
}

std::string em31_family_tail(const Variant& v, const HeaderFields& f) {
  const int column19 = has_trait(v.instrument_type, Trait::kCoilReference) ? f.em34_3_reference : f.instrument_model;
  std::string out = common_block(f) + format_text("%1d", column19);
  if (v.navigation_mode == kRealTimeMap) out += format_text("%2d", f.instrument_state);
  return out;
}

std::string em38mk2_tail(const HeaderFields& f) {
  const int type = f.instrument_model == 0 ? 2 : f.instrument_model;
  return common_block(f) + format_text("%1d%2d", type, f.instrument_state);
}

std::string wide_tail(const HeaderFields& f, int record_length) {
  const int model = f.instrument_model == 0 ? 2 : f.instrument_model;
  std::string out = common_block(f) + format_text("%1d%1d%1d%1d%1d", model, f.reading_units, f.soft_marker_key_option,
                                                  f.wide_options[0], f.wide_options[1]);
  // The instrument state "%2d" would follow here; the spaces up to column
  // L-3 overwrite it, and column L-2 carries the record-format flag '1'.
  out = fit_text(out, static_cast<std::size_t>(record_length - 2 - 12));
  return out + '1';
}

std::string grad601_tail(const HeaderFields& f) {
  return format_text("%s%1d %1d %1d%1d%1d", gps_flag(f), f.map_units, f.survey_mode, f.number_of_sensors,
                     f.soft_marker_key_option, f.instrument_state);
}

std::string lx2_tail(const HeaderFields& f) {
  return format_text("%s%1d%1d%1d%1d%1d %1d%1d", gps_flag(f), f.map_units, f.sensor_size, f.survey_mode, f.em61_model,
                     f.soft_marker_key_option, f.instrument_state, f.number_of_sensors);
}

std::string mk2_tail(const HeaderFields& f) {
  std::string out = format_text("%s%1d%1d%1d%1d", gps_flag(f), f.map_units, f.sensor_size, f.survey_mode, f.em61_model);
  out += f.em61mk2_channel_option != 0 ? format_text(" %1d", f.em61mk2_channel_option) : "  ";
  return out + format_text("%1d", f.instrument_state);
}

std::string identification_tail(const Variant& v, const HeaderFields& f, int length) {
  switch (v.instrument_type) {
    case kEm38Mk2: return em38mk2_tail(f);
    case kEm38_4:
    case kCs21: return wide_tail(f, length);
    case kGrad601: return grad601_tail(f);
    case kEm61Lx2: return lx2_tail(f);
    case kEm61Mk2: return mk2_tail(f);
    default: return em31_family_tail(v, f);
  }
}

}  // namespace

HeaderFields header_fields_from_settings(const Settings& s, InstrumentType instrument_type) {
  HeaderFields f;
  f.gps_enabled = s.gps_enabled;
  f.map_units = s.map_units;
  f.dipole_mode = s.dipole_mode;
  f.survey_mode = s.survey_mode;
  f.component = s.component;
  f.instrument_model = has_trait(instrument_type, Trait::kModelCoilPairs) ? s.em38mk2_model : s.instrument_model;
  f.em34_3_reference = s.em34_3_reference;
  f.instrument_state = s.instrument_state;
  f.em61_model = s.em61_model;
  f.sensor_size = s.sensor_size;
  f.number_of_sensors = s.number_of_sensors;
  f.soft_marker_key_option = s.soft_marker_key_option;
  f.reading_units = s.em38_4.inphase_units;
  f.reading_interval = s.reading_interval;
  f.wheel_parameter = s.station_increments[1];
  f.manual_parameter = s.station_increments[2];
  f.manual_reading_count = s.manual_reading_count;
  f.sensor_separation = s.sensor_separation;
  // Record 3 holds the antenna offsets in the map unit; the settings in metres.
  f.gps_x_offset = s.gps_x_offset / metres_per_unit(s.map_units);
  f.gps_y_offset = s.gps_y_offset / metres_per_unit(s.map_units);
  f.pseudo_gga_variant = s.pseudo_gga_variant;
  f.gps_sentence = s.gps_sentence;
  f.tilt_meter = s.tilt_meter;
  f.gps_antenna_rigid = s.gps_antenna_rigid;
  f.antenna_height = s.antenna_height;
  f.null_values = s.channel_null_values;
  for (std::size_t i = 0; i < f.em38mk2_constants.size(); ++i)
    f.em38mk2_constants[i] = {s.em38mk2_calibration[i], s.em38mk2_calibration[i]};
  f.lx2_constants = {s.left_coil_filter_factor, s.right_coil_filter_factor};
  return f;
}

LineBlockFields line_block_fields_from_settings(const Settings& s) {
  LineBlockFields f;
  f.line_name = s.survey_line;
  f.start_station = s.start_station;
  f.line_direction = s.line_direction;
  const int mode = s.survey_mode >= 0 && s.survey_mode <= 2 ? s.survey_mode : 0;
  f.station_increment = s.station_increments[static_cast<std::size_t>(mode)];
  f.null_values = s.channel_null_values;
  f.previous_null_values = s.channel_null_values;
  f.lx2_constants = {{{s.left_coil_filter_factor, s.left_coil_filter_factor},
                      {s.right_coil_filter_factor, s.right_coil_filter_factor}}};
  return f;
}

std::string identification_record(const Variant& v, const HeaderFields& f, bool continuing) {
  const int length = record_length(v);
  std::string code = program_code(v, f.em61_model, f.number_of_sensors);
  if (continuing && v.navigation_mode == kRealTimeMap)
    code[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(code[0])));
  return finish_record(code + format_version(v) + identification_tail(v, f, length), length);
}

std::string setup_record_h(const Variant& v, const HeaderFields& f) {
  std::string out = "H" + fit_text(printable_text(f.file_name), 10);
  if (has_trait(v.instrument_type, Trait::kSensorSeparation)) {
    out += format_text("%5.2f  ", f.sensor_separation);
  } else if (f.survey_mode == 0) {
    out += format_text("%7.3f", f.reading_interval);
  } else if (f.survey_mode == 1) {
    out += format_text("%7.3f", f.wheel_parameter);
  } else if (is_em61(v.instrument_type)) {
    out += format_text("%7.3f", f.manual_parameter);
  } else {
    out += format_text("%7d", f.manual_reading_count);
  }
  out += format_text("  %4d", 0);
  return finish_record(std::move(out), record_length(v));
}

std::string setup_record_g3(const Variant& v, const HeaderFields& f) {
  std::string out = format_text("G%7.3f%7.3f", f.gps_x_offset, f.gps_y_offset);
  out += has_trait(v.instrument_type, Trait::kPolledReadings) ? format_text("%1d", f.polled_reading_mode) : " ";
  out += format_text("7%1d%1d%1d%1d", f.gps_option, f.pseudo_gga_variant, f.gps_sentence, f.gps_enabled > 0 ? 1 : 0);
  if (has_trait(v.instrument_type, Trait::kCurrentRing)) out += format_text("  %1d", f.em61_normalisation ? 1 : 0);
  return finish_record(std::move(out), record_length(v));
}

std::string setup_record_g4(const Variant& v, const HeaderFields& f) {
  return finish_record(format_text("G%14.3f %02d", f.reference_easting, f.reference_zone), record_length(v));
}

std::string setup_record_g5(const Variant& v, const HeaderFields& f) {
  std::string out = format_text("G%14.3f ", f.reference_northing);
  if (has_trait(v.instrument_type, Trait::kTiltMeter)) {
    const int centimetres = static_cast<int>(f.antenna_height * 100.0 + (f.antenna_height < 0 ? -0.5 : 0.5));
    out += format_text("%1d%1d%3d", f.tilt_meter, f.gps_antenna_rigid, centimetres);
  }
  return finish_record(std::move(out), record_length(v));
}

std::vector<std::string> header_constant_records(const Variant& v, const HeaderFields& f) {
  const int length = record_length(v);
  std::vector<std::string> out;
  if (is_em61(v.instrument_type)) {
    for (double value : f.null_values) out.push_back(finish_record(format_text("O%9.2f", value), length));
  }
  if (has_trait(v.instrument_type, Trait::kFilterFactors)) {
    for (double value : f.lx2_constants) {
      std::string body = format_text("I%9.2f %9.2f    ", value, 0.0);
      out.push_back(finish_record(fit_text(body, length - 2) + '1', length));
    }
  }
  if (has_trait(v.instrument_type, Trait::kCalibrationOffsets)) {
    for (std::size_t i = 0; i < f.em38mk2_constants.size(); ++i) {
      const auto& [first, second] = f.em38mk2_constants[i];
      out.push_back(finish_record(format_text("O%1d%10.3f %10.3f   ", static_cast<int>(i + 1), first, second), length));
    }
  }
  return out;
}

std::vector<std::string> header_block(const Variant& v, const HeaderFields& f, bool continuing) {
  std::vector<std::string> out{identification_record(v, f, continuing), setup_record_h(v, f), setup_record_g3(v, f)};
  if (v.navigation_mode == kRealTimeMap) {
    out.push_back(setup_record_g4(v, f));
    out.push_back(setup_record_g5(v, f));
  }
  for (std::string& r : header_constant_records(v, f)) out.push_back(std::move(r));
  return out;
}

}  // namespace quelor
