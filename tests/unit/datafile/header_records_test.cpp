#include "datafile/header_records.h"

#include <gtest/gtest.h>

#include "datafile/record_layout.h"

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
  f.gps_enabled = 1; f.map_units = 2; f.dipole_mode = 1; f.survey_mode = 2; f.component = 1;
  f.instrument_model = 1; f.instrument_state = 0;
  EXPECT_EQ(identification_record({kEm31Mk2, 0}, f, false), "ZLK31   W230GPS21211 0    \n");
  f.gps_enabled = 0; f.instrument_state = 1;
  EXPECT_EQ(identification_record({kEm31Mk2, 1}, f, false), "QYN31   W220GRD21211   \n");
}

TEST(Identification, Em34ReferenceAndEm38Mk2TypeTwo) {
  HeaderFields f;
  f.em34_3_reference = 2; f.instrument_model = 0;
  EXPECT_EQ(identification_record({kEm34_3, 0}, f, false).substr(12, 14), "GPS00002 1    ");
  EXPECT_EQ(identification_record({kEm38Mk2, 1}, f, false).substr(12, 14), "GPS00002 1    ");
  f.instrument_model = 1;
  EXPECT_EQ(identification_record({kEm38Mk2, 0}, f, false).substr(19, 1), "1");
}

TEST(Identification, WideBlockEndsWithFormatFlag) {
  HeaderFields f;
  f.instrument_model = 0; f.reading_units = 1; f.soft_marker_key_option = 1; f.wide_options = {3, 4};
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
  f.map_units = 1; f.survey_mode = 1; f.number_of_sensors = 1; f.soft_marker_key_option = 0; f.instrument_state = 1;
  EXPECT_EQ(identification_record({kGrad601, 0}, f, false).substr(12, 14), "GPS1 1 101    ");
  f.sensor_size = 3; f.em61_model = 1; f.number_of_sensors = 0; f.soft_marker_key_option = 1;
  const std::string lx2 = identification_record({kEm61Lx2, 0}, f, false);
  EXPECT_EQ(lx2.substr(0, 9), "ZLKLX1N W");
  EXPECT_EQ(lx2.substr(12, 14), "GPS13111 10   ");
  f.em61_model = 3; f.em61mk2_channel_option = 0;
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
  f.survey_mode = 2; f.manual_reading_count = 37;
  EXPECT_EQ(setup_record_h({kEm34_3, 0}, f).substr(11, 13), "     37     0");
  f.manual_parameter = 2.5;
  EXPECT_EQ(setup_record_h({kEm61Mk2, 0}, f).substr(11, 7), "  2.500");
  f.survey_mode = 1; f.wheel_parameter = 0.25;
  EXPECT_EQ(setup_record_h({kEm38, 0}, f).substr(11, 7), "  0.250");
  f.sensor_separation = 1.0;
  EXPECT_EQ(setup_record_h({kGrad601, 0}, f).substr(11, 13), " 1.00       0");
  f.file_name = "A_LONG_FILE_NAME";
  EXPECT_EQ(setup_record_h({kCs21, 0}, f).substr(0, 11), "HA_LONG_FIL");
  EXPECT_EQ(setup_record_h({kCs21, 0}, f).size(), 65u);
}

TEST(SetupRecordG, RecordThreeColumns) {
  HeaderFields f;
  f.gps_x_offset = -0.3; f.gps_y_offset = 1.25; f.gps_option = 0; f.pseudo_gga_variant = 1; f.gps_sentence = 6;
  EXPECT_EQ(setup_record_g3({kEm31Mk2, 0}, f), "G -0.300  1.250 70161     \n");
  f.polled_reading_mode = 1;
  EXPECT_EQ(setup_record_g3({kEm61Mk2, 0}, f).substr(15, 6), "170161");
  f.gps_enabled = 0;
  EXPECT_EQ(setup_record_g3({kEm31Mk2, 1}, f), "G -0.300  1.250 70160  \n");
}

TEST(SetupRecordG, ReferencePositionRecords) {
  HeaderFields f;
  f.reference_easting = 612345.678; f.reference_northing = 4812345.5; f.reference_zone = 7;
  EXPECT_EQ(setup_record_g4({kEm38, 0}, f), "G    612345.678 07        \n");
  EXPECT_EQ(setup_record_g5({kEm38, 0}, f), "G   4812345.500           \n");
  f.tilt_meter = 1; f.gps_antenna_rigid = 0; f.antenna_height = 1.65;
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
  s.em38mk2_model = 1; s.instrument_model = 0; s.station_increments = {1.0, 0.3, 2.5};
  s.left_coil_filter_factor = 300; s.channel_null_values = {1, 2, 3, 4};
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

}  // namespace
}  // namespace quelor
