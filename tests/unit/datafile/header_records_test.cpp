#include "datafile/header_records.h"

#include <gtest/gtest.h>

#include "datafile/file_header.h"
#include "datafile/record_layout.h"
#include "gps/formats.h"
#include "settings/settings.h"
#include "variant/instrument.h"

namespace quelor {
namespace {

struct IdCase {
  Variant v;
  const char* code;
  const char* version;
  int length;
};

// Record 1 columns 0-11 of every variant with the default fields.
TEST(Identification, ProgramCodeVersionAndLengthOfEveryVariant) {
  const IdCase cases[] = {
      {{kEm31Mk2, 0}, "ZLK31   W", "230", 27}, {{kEm31Mk2, 1}, "QYN31   W", "220", 24},
      {{kEm38, 0}, "ZLK38   W", "215", 27},    {{kEm38, 1}, "QYN38   W", "200", 27},
      {{kEm34_3, 0}, "ZLK343  W", "214", 27},  {{kEm34_3, 1}, "QYN343  W", "215", 27},
      {{kEm38Mk2, 0}, "ZLK38MK2W", "229", 27}, {{kEm38Mk2, 1}, "QYN382  W", "220", 27},
      {{kEm38_4, 0}, "ZLK384  W", "100", 47},  {{kEm38_4, 1}, "QYN384  W", "100", 47},
      {{kCs21, 0}, "ZLKCS21 W", "100", 65},    {{kCs21, 1}, "QYNCS21 W", "100", 65},
      {{kGrad601, 0}, "ZLK601 AW", "101", 27}, {{kGrad601, 1}, "QYN601 AW", "110", 27},
      {{kEm61Lx2, 0}, "ZLKLX2  W", "109", 27}, {{kEm61Lx2, 1}, "QYNLX2  W", "100", 27},
      {{kEm61Mk2, 0}, "ZLKMK2  W", "228", 27}, {{kEm61Mk2, 1}, "QYNMK2  W", "225", 27},
  };
  for (const IdCase& c : cases) {
    HeaderFields f;
    const std::string r = identification_record(c.v, f, false);
    SCOPED_TRACE(c.code);
    ASSERT_EQ(r.size(), static_cast<std::size_t>(c.length));
    EXPECT_EQ(r.substr(0, 9), c.code);
    EXPECT_EQ(r.substr(9, 3), c.version);
    EXPECT_EQ(r.back(), '\n');
  }
}

TEST(Identification, Em31Mk2RealTimeColumns) {
  HeaderFields f;
  f.gps_enabled = 1;
  f.map_units = 2;
  f.dipole_mode = 1;
  f.survey_mode = 2;
  f.component = 1;
  f.instrument_model = 1;
  f.instrument_state = 0;
  EXPECT_EQ(identification_record({kEm31Mk2, 0}, f, false), "ZLK31   W230GPS21211 0    \n");
  f.gps_enabled = 0;
  f.instrument_state = 1;
  EXPECT_EQ(identification_record({kEm31Mk2, 1}, f, false), "QYN31   W220GRD21211   \n");
}

TEST(Identification, Em34ReferenceAndEm38Mk2TypeTwo) {
  HeaderFields f;
  f.em34_3_reference = 2;
  f.instrument_model = 0;
  EXPECT_EQ(identification_record({kEm34_3, 0}, f, false).substr(12, 14), "GPS00002 1    ");
  EXPECT_EQ(identification_record({kEm38Mk2, 1}, f, false).substr(12, 14), "GPS00002 1    ");
  f.instrument_model = 1;
  EXPECT_EQ(identification_record({kEm38Mk2, 0}, f, false).substr(19, 1), "1");
}

TEST(Identification, WideBlockEndsWithFormatFlag) {
  HeaderFields f;
  f.instrument_model = 0;
  f.reading_units = 1;
  f.soft_marker_key_option = 1;
  f.wide_options = {3, 4};
  for (Variant v : {Variant{kEm38_4, 0}, Variant{kCs21, 1}}) {
    const std::string r = identification_record(v, f, false);
    const std::size_t length = static_cast<std::size_t>(record_length(v));
    EXPECT_EQ(r.substr(12, 12), "GPS000021134");
    EXPECT_EQ(r.substr(24, length - 26), std::string(length - 26, ' '));
    EXPECT_EQ(r[length - 2], '1');
  }
}

TEST(Identification, Grad601AndEm61Columns) {
  HeaderFields f;
  f.map_units = 1;
  f.survey_mode = 1;
  f.number_of_sensors = 1;
  f.soft_marker_key_option = 0;
  f.instrument_state = 1;
  EXPECT_EQ(identification_record({kGrad601, 0}, f, false).substr(12, 14), "GPS1 1 101    ");
  f.sensor_size = 3;
  f.em61_model = 1;
  f.number_of_sensors = 0;
  f.soft_marker_key_option = 1;
  const std::string lx2 = identification_record({kEm61Lx2, 0}, f, false);
  EXPECT_EQ(lx2.substr(0, 9), "ZLKLX1N W");
  EXPECT_EQ(lx2.substr(12, 14), "GPS13111 10   ");
  f.em61_model = 3;
  f.em61mk2_channel_option = 0;
  EXPECT_EQ(identification_record({kEm61Mk2, 0}, f, false).substr(12, 14), "GPS1313  1    ");
  EXPECT_EQ(identification_record({kEm61Mk2, 1}, f, false).substr(0, 9), "QYNMK2H W");
  f.em61_model = 2;
  EXPECT_EQ(identification_record({kEm61Mk2, 1}, f, false).substr(0, 9), "QYNMK2  W");
  f.em61mk2_channel_option = 4;
  EXPECT_EQ(identification_record({kEm61Mk2, 0}, f, false).substr(19, 3), " 41");
}

TEST(Identification, ContinuingLowersFirstLetterOnlyInRealTimeLine) {
  HeaderFields f;
  EXPECT_EQ(identification_record({kEm61Mk2, 0}, f, true)[0], 'z');
  EXPECT_EQ(identification_record({kEm61Mk2, 0}, f, false)[0], 'Z');
  EXPECT_EQ(identification_record({kEm31Mk2, 1}, f, true)[0], 'Q');
}

TEST(SetupRecordH, SurveyModeValue) {
  HeaderFields f;
  f.file_name = "250307_002";
  f.reading_interval = 0.5;
  EXPECT_EQ(setup_record_h({kEm31Mk2, 0}, f), "H250307_002  0.500     0  \n");
  // L = 24: the "%4d" of 0 is cut by the line feed.
  EXPECT_EQ(setup_record_h({kEm31Mk2, 1}, f), "H250307_002  0.500     \n");
  f.survey_mode = 2;
  f.manual_reading_count = 37;
  EXPECT_EQ(setup_record_h({kEm34_3, 0}, f).substr(11, 13), "     37     0");
  f.manual_parameter = 2.5;
  EXPECT_EQ(setup_record_h({kEm61Mk2, 0}, f).substr(11, 7), "  2.500");
  f.survey_mode = 1;
  f.wheel_parameter = 0.25;
  EXPECT_EQ(setup_record_h({kEm38, 0}, f).substr(11, 7), "  0.250");
  f.sensor_separation = 1.0;
  EXPECT_EQ(setup_record_h({kGrad601, 0}, f).substr(11, 13), " 1.00       0");
  f.file_name = "A_LONG_FILE_NAME";
  EXPECT_EQ(setup_record_h({kCs21, 0}, f).substr(0, 11), "HA_LONG_FIL");
  EXPECT_EQ(setup_record_h({kCs21, 0}, f).size(), 65u);
}

TEST(SetupRecordG, RecordThreeColumns) {
  HeaderFields f;
  f.gps_x_offset = -0.3;
  f.gps_y_offset = 1.25;
  f.gps_option = 0;
  f.pseudo_gga_variant = 1;
  f.gps_sentence = 6;
  EXPECT_EQ(setup_record_g3({kEm31Mk2, 0}, f), "G -0.300  1.250 70161     \n");
  f.polled_reading_mode = 1;
  EXPECT_EQ(setup_record_g3({kEm61Mk2, 0}, f).substr(15, 6), "170161");
  f.gps_enabled = 0;
  EXPECT_EQ(setup_record_g3({kEm31Mk2, 1}, f), "G -0.300  1.250 70160  \n");
}

TEST(SetupRecordG, ReferencePositionRecords) {
  HeaderFields f;
  f.reference_easting = 612345.678;
  f.reference_northing = 4812345.5;
  f.reference_zone = 7;
  EXPECT_EQ(setup_record_g4({kEm38, 0}, f), "G    612345.678 07        \n");
  EXPECT_EQ(setup_record_g5({kEm38, 0}, f), "G   4812345.500           \n");
  f.tilt_meter = 1;
  f.gps_antenna_rigid = 0;
  f.antenna_height = 1.65;
  EXPECT_EQ(setup_record_g5({kEm61Mk2, 0}, f), "G   4812345.500 10165     \n");
}

TEST(HeaderBlock, RecordsAndConstantsByVariant) {
  HeaderFields f;
  f.null_values = {1.5, -2.25, 3, 4};
  f.lx2_constants = {310.0, 320.5};
  EXPECT_EQ(header_block({kEm31Mk2, 1}, f, false).size(), 3u);
  EXPECT_EQ(header_block({kEm31Mk2, 0}, f, false).size(), 5u);
  const auto mk2 = header_block({kEm61Mk2, 0}, f, false);
  ASSERT_EQ(mk2.size(), 9u);
  EXPECT_EQ(mk2[5], "O     1.50                \n");
  EXPECT_EQ(mk2[6], "O    -2.25                \n");
  const auto lx2 = header_block({kEm61Lx2, 1}, f, false);
  ASSERT_EQ(lx2.size(), 9u);
  EXPECT_EQ(lx2[7], "I   310.00      0.00     1\n");
  EXPECT_EQ(lx2[8], "I   320.50      0.00     1\n");
  f.em38mk2_constants[0] = {1.5, -0.25};
  f.em38mk2_constants[5] = {12345.678, 0};
  const auto em38mk2 = header_block({kEm38Mk2, 0}, f, false);
  ASSERT_EQ(em38mk2.size(), 11u);
  EXPECT_EQ(em38mk2[5], "O1     1.500     -0.250   \n");
  EXPECT_EQ(em38mk2[10], "O6 12345.678      0.000   \n");
  EXPECT_EQ(header_block({kEm38_4, 0}, f, false).size(), 5u);
  for (const auto& r : em38mk2) EXPECT_EQ(r.size(), 27u);
}

TEST(HeaderFields, FromSettings) {
  Settings s;
  s.em38mk2_model = 1;
  s.instrument_model = 0;
  s.station_increments = {1.0, 0.3, 2.5};
  s.left_coil_filter_factor = 300;
  s.channel_null_values = {1, 2, 3, 4};
  HeaderFields f = header_fields_from_settings(s, kEm38Mk2);
  EXPECT_EQ(f.instrument_model, 1);
  EXPECT_DOUBLE_EQ(f.wheel_parameter, 0.3);
  EXPECT_DOUBLE_EQ(f.manual_parameter, 2.5);
  EXPECT_DOUBLE_EQ(f.lx2_constants[0], 300);
  EXPECT_DOUBLE_EQ(f.null_values[3], 4);
  EXPECT_EQ(header_fields_from_settings(s, kEm31Mk2).instrument_model, 0);
}

TEST(LineBlockFields, FromSettings) {
  Settings s;
  s.survey_line = "12A";
  s.start_station = 5.5;
  s.line_direction = 3;
  s.survey_mode = 1;
  s.station_increments = {1.0, 0.2, 2.0};
  const LineBlockFields f = line_block_fields_from_settings(s);
  EXPECT_EQ(f.line_name, "12A");
  EXPECT_DOUBLE_EQ(f.start_station, 5.5);
  EXPECT_EQ(f.line_direction, 3);
  EXPECT_DOUBLE_EQ(f.station_increment, 0.2);
  EXPECT_EQ(line_block_records({kEm38, 0}, f, {})[2].substr(0, 2), "AE");
}

// Fields of every variant's header block as the block holds them.
HeaderFields sample_fields(InstrumentType type) {
  HeaderFields f;
  f.gps_enabled = 1;
  f.map_units = 2;
  f.dipole_mode = 1;
  f.survey_mode = 1;
  f.component = 1;
  f.instrument_model = 1;
  f.em34_3_reference = 2;
  f.instrument_state = 0;
  f.em61_model = 1;
  f.sensor_size = 3;
  f.em61mk2_channel_option = 4;
  f.number_of_sensors = 1;
  f.soft_marker_key_option = 0;
  f.reading_units = 1;
  f.wide_options = {3, 4};
  f.file_name = "NORTHFIELD";
  f.wheel_parameter = 0.125;
  f.sensor_separation = 0.75;
  f.gps_x_offset = -1.25;
  f.gps_y_offset = 2.5;
  f.polled_reading_mode = type == kEm61Mk2 ? 1 : 0;
  f.em61_normalisation = false;
  f.gps_option = 1;
  f.pseudo_gga_variant = 1;
  f.gps_sentence = 7;
  f.reference_easting = 612345.678;
  f.reference_northing = 4812345.5;
  f.reference_zone = 31;
  f.tilt_meter = 1;
  f.gps_antenna_rigid = 0;
  f.antenna_height = 1.65;
  f.null_values = {1.5, -2.25, 3, 4};
  f.lx2_constants = {310.0, 320.5};
  for (std::size_t i = 0; i < f.em38mk2_constants.size(); ++i) f.em38mk2_constants[i] = {0.5 * i, -0.25 * i};
  return f;
}

// The header block written and read back: every field the records hold.
TEST(FileHeader, RoundTripOfEveryVariant) {
  for (const VariantRow& row : variant_table()) {
    for (int line : {kRealTimeMap, kNavigation}) {
      const Variant v{row.instrument_type, line};
      SCOPED_TRACE(std::string(row.instrument) + (line ? " navigation" : " real-time map"));
      const InstrumentType type = v.instrument_type;
      const HeaderFields f = sample_fields(type);
      std::string bytes;
      for (const std::string& r : header_block(v, f, false)) bytes += r;
      bytes += "L" + std::string(static_cast<std::size_t>(record_length(v) - 2), ' ') + "\n";
      const DataFile file = open_data_file(bytes);
      RecordCursor cursor = record_cursor(file);
      const std::optional<FileHeader> h = read_file_header(cursor);
      ASSERT_TRUE(h);
      EXPECT_EQ(h->records, static_cast<long>(header_block(v, f, false).size()));
      EXPECT_EQ(next_record(cursor)->tag, 'L');  // the cursor is left after the block
      EXPECT_EQ(h->variant.instrument_type, type);
      EXPECT_EQ(h->variant.navigation_mode, line);
      EXPECT_FALSE(h->continuing);
      const HeaderFields& g = h->fields;
      EXPECT_EQ(g.gps_enabled, 1);
      EXPECT_EQ(g.map_units, 2);
      EXPECT_EQ(g.survey_mode, 1);
      const bool em61 = type == kEm61Mk2 || type == kEm61Lx2;
      if (!em61 && type != kGrad601) {
        EXPECT_EQ(g.dipole_mode, 1);
        EXPECT_EQ(g.component, 1);
        EXPECT_EQ(type == kEm34_3 ? g.em34_3_reference : g.instrument_model, type == kEm34_3 ? 2 : 1);
      }
      if (type == kEm38_4 || type == kCs21) {
        EXPECT_EQ(g.reading_units, 1);
        EXPECT_EQ(g.soft_marker_key_option, 0);
        EXPECT_EQ(g.wide_options, f.wide_options);
      } else if (!is_t_record_instrument(type) || line == kRealTimeMap) {
        EXPECT_EQ(g.instrument_state, 0);  // the navigation line's T instruments do not write it
      }
      if (em61) {
        EXPECT_EQ(g.sensor_size, 3);
        EXPECT_EQ(g.em61_model, 1);
      }
      if (type == kEm61Mk2) {
        EXPECT_EQ(g.em61mk2_channel_option, 4);
      }
      if (type == kEm61Lx2 || type == kGrad601) {
        EXPECT_EQ(g.number_of_sensors, 1);
      }
      EXPECT_EQ(g.file_name, "NORTHFIELD");
      EXPECT_DOUBLE_EQ(type == kGrad601 ? g.sensor_separation : g.wheel_parameter, type == kGrad601 ? 0.75 : 0.125);
      EXPECT_DOUBLE_EQ(g.gps_x_offset, -1.25);
      EXPECT_DOUBLE_EQ(g.gps_y_offset, 2.5);
      EXPECT_EQ(g.gps_option, 1);
      EXPECT_EQ(g.pseudo_gga_variant, 1);
      EXPECT_EQ(g.gps_sentence, 7);
      if (type == kEm61Mk2) {
        EXPECT_EQ(g.polled_reading_mode, 1);
        EXPECT_FALSE(g.em61_normalisation);
      }
      EXPECT_EQ(h->has_g4, line == kRealTimeMap);
      if (line == kRealTimeMap) {
        EXPECT_DOUBLE_EQ(g.reference_easting, 612345.678);
        EXPECT_DOUBLE_EQ(g.reference_northing, 4812345.5);
        EXPECT_EQ(g.reference_zone, 31);
        if (type == kEm61Mk2) {
          EXPECT_EQ(g.tilt_meter, 1);
          EXPECT_EQ(g.gps_antenna_rigid, 0);
          EXPECT_DOUBLE_EQ(g.antenna_height, 1.65);
        }
      }
      if (em61) {
        EXPECT_EQ(g.null_values, f.null_values);
      }
      if (type == kEm61Lx2) {
        EXPECT_EQ(g.lx2_constants, f.lx2_constants);
      }
      if (type == kEm38Mk2) {
        EXPECT_EQ(g.em38mk2_constants, f.em38mk2_constants);
      }
    }
  }
}

// Record 3 holds the antenna offsets in the map unit: a survey in feet
// writes feet and reads them back as feet.
TEST(FileHeader, OffsetsRoundTripInFeet) {
  for (int units : {0, 1, 2}) {
    Settings s;
    s.map_units = units;
    s.gps_x_offset = -0.6096;  // metres: two international feet
    s.gps_y_offset = 1.524;    // five
    const Variant v{kEm38, kNavigation};
    std::string bytes;
    for (const std::string& r : header_block(v, header_fields_from_settings(s, kEm38), false)) bytes += r;
    const std::optional<FileHeader> h = read_file_header(open_data_file(bytes));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->fields.map_units, units);
    const double foot = units == 0 ? 1.0 : units == 1 ? 0.3048 : 1200.0 / 3937.0;
    EXPECT_NEAR(h->fields.gps_x_offset * foot, -0.6096, 0.0005) << units;
    EXPECT_NEAR(h->fields.gps_y_offset * foot, 1.524, 0.0005) << units;
  }
  EXPECT_EQ(setup_record_g3({kEm38, kNavigation},
                            [] {
                              Settings s;
                              s.map_units = 1;
                              s.gps_x_offset = -0.6096;
                              return header_fields_from_settings(s, kEm38);
                            }())
                .substr(1, 7),
            " -2.000");
}

TEST(FileHeader, ContinuedHeaderAndEarlierGllDigit) {
  std::string bytes;
  for (const std::string& r : header_block({kEm31Mk2, kRealTimeMap}, HeaderFields{}, true)) bytes += r;
  const std::optional<FileHeader> h = read_file_header(open_data_file(bytes));
  ASSERT_TRUE(h);
  EXPECT_TRUE(h->continuing);
  EXPECT_EQ(h->program_code, "zLK31   W");
  EXPECT_EQ(header_gps_sentence("G  0.000  0.000 7A0 1     "), kFormatPseudoGll);
  EXPECT_EQ(header_gps_sentence("G  0.000  0.000 7005 1    "), 5);
  EXPECT_FALSE(read_file_header(open_data_file("H" + std::string(25, ' ') + "\n")));
}

}  // namespace
}  // namespace quelor
