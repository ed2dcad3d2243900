#pragma once
// The header block of a survey data file: identification record, 'H', the
// 'G' records and the instrument constants after them.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "datafile/data_records.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// The values the header block needs, taken from the settings and the survey.
struct HeaderFields {
  // identification record
  int gps_enabled = 1;
  int map_units = 0;
  int dipole_mode = 0;
  int survey_mode = 0;
  int component = 0;
  int instrument_model = 0;  // EM31-MK2/EM38 type, EM38-MK2 type, EM38-4/CS-21 model
  int em34_3_reference = 0;
  int instrument_state = 1;
  int em61_model = 0;   // EM61 type
  int sensor_size = 0;  // EM61 instrument option 1
  int em61mk2_channel_option = 0;
  int number_of_sensors = 1;  // list index
  int soft_marker_key_option = 1;
  int reading_units = 0;              // EM38-4, CS-21: 0 ppt, 1 mS/m
  std::array<int, 2> wide_options{};  // EM38-4, CS-21: two further instrument options
  // 'H'
  std::string file_name;
  double reading_interval = 0.2;
  double wheel_parameter = 0.2;
  double manual_parameter = 2.0;  // EM61 types in Manual mode
  int manual_reading_count = 10;
  double sensor_separation = 1.0;  // Grad601, metres
  // 'G' record 3
  double gps_x_offset = 0.0;  // map units
  double gps_y_offset = 0.0;
  int polled_reading_mode = 0;  // EM61-MK2
  // EM61-MK2: the current ring is on, so the channels are normalised by the
  // mean current each reading record carries (column 23 of record 3, one of
  // its reserved characters: '1' on, '0' off; older files have a space).
  bool em61_normalisation = true;
  int gps_option = 0;
  int pseudo_gga_variant = 0;
  int gps_sentence = 1;
  // 'G' records 4 and 5 (real-time map line)
  double reference_easting = 0.0;  // map units
  double reference_northing = 0.0;
  int reference_zone = 0;
  int tilt_meter = 0;  // EM61-MK2
  int gps_antenna_rigid = 1;
  double antenna_height = 1.35;  // metres
  // constants
  std::array<double, 4> null_values{};  // EM61 channels 1-4
  std::array<std::pair<double, double>, 6> em38mk2_constants{};
  std::array<double, 2> lx2_constants{};  // EM61-LX2 'I' records
};

// Fills what the settings record holds; the survey's own values (file name,
// reference position, EM61-MK2 channel option and polled mode, EM38-4 extra
// options, EM61-LX2 constants) keep their defaults for the caller to set.
HeaderFields header_fields_from_settings(const Settings& s, InstrumentType instrument_type);

// The first line block of a survey from the settings: survey line, start
// station, line direction, the active station increment (of the survey
// mode), EM61 null values (new and previous alike) and EM61-LX2 filter
// factors. The file name and the EM38-4 constants are the caller's.
LineBlockFields line_block_fields_from_settings(const Settings& s);

// Record 1. Continuing a file of the real-time map line writes the first
// letter of the program code in lower case.
std::string identification_record(const Variant& v, const HeaderFields& f, bool continuing);
std::string setup_record_h(const Variant& v, const HeaderFields& f);
std::string setup_record_g3(const Variant& v, const HeaderFields& f);
std::string setup_record_g4(const Variant& v, const HeaderFields& f);
std::string setup_record_g5(const Variant& v, const HeaderFields& f);
// Instrument constants after the 'G' records (none for most instruments).
std::vector<std::string> header_constant_records(const Variant& v, const HeaderFields& f);

// The whole header block in file order.
std::vector<std::string> header_block(const Variant& v, const HeaderFields& f, bool continuing);

}  // namespace quelor
