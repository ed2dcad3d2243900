// The instrument encoders byte for byte, and their choice of ranges.

#include <gtest/gtest.h>

#include <string>

#include "devsim/binary_record.h"
#include "devsim/em31_record.h"
#include "devsim/line_record.h"
#include "devsim/nmea_sentence.h"

namespace quelor::devsim {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(Em31Record, GoldenRecords) {
  // Vertical, range 1000: status 0x26; -308.5 mS/m / -0.25 = 1234.
  EXPECT_EQ(encode_em31_record({-308.5, 0, true, false, 1000}), "T&+1234+0000\r");
  // Horizontal, range 100, marker: status 0x44; 30 / -0.025 = -1200; 1.5 ppt / -0.0025 = -600.
  EXPECT_EQ(encode_em31_record({30, 1.5, false, true, 100}), "TD-1200-0600\r");
  // Auto range: 20 mS/m fits range 10 (status 0x22).
  EXPECT_EQ(encode_em31_record({20, 0, true, false, kAutoRange}), "T\"-8000+0000\r");
  EXPECT_EQ(em31_range_for(25.1, kAutoRange), 100);
  EXPECT_EQ(em31_range_for(260, kAutoRange), 1000);
  EXPECT_EQ(em31_range_for(1, 1000), 1000);
  // Off scale: held at the end of the scale.
  EXPECT_EQ(encode_em31_record({40, 50, true, false, 10}).substr(2), "-9999-9999\r");
}

TEST(Em31Record, StatusNeverLooksLikeAnEndOrNul) {
  for (int range : {10, 100, 1000})
    for (bool v : {true, false})
      for (bool m : {true, false}) {
        const std::string r = encode_em31_record({1, 0, v, m, range});
        ASSERT_EQ(r.size(), 13u);
        EXPECT_NE(r[1], '\r');
        EXPECT_NE(r[1], '\0');
        EXPECT_EQ(r.find('\r'), 12u);
      }
}

TEST(Em38Record, ScalesAndLengths) {
  // Conductivity 1 mS/m on the fine range-100 scale: -0.00036 -> -2778, status 0x20|0x10|2.
  EXPECT_EQ(encode_em38_record({1.0, false, true, false, 7}), "T2-2778\r");
  // In-phase 5 ppt, horizontal, 12 characters: fine scale -0.0125 -> -400, status 0x10|6.
  EXPECT_EQ(encode_em38_record({5.0, true, false, false, 12}), "T\x16-0400+0000\r");
  // 100 mS/m needs range 1000, coarse: -0.0288 -> -3472, status 0x20|3.
  EXPECT_EQ(encode_em38_record({100.0, false, true, true, 7}), "Tc-3472\r");
  EXPECT_DOUBLE_EQ(em38_resolution(1.0, false), 0.00036);
  EXPECT_DOUBLE_EQ(em38_resolution(20.0, false), 0.00288);
  EXPECT_DOUBLE_EQ(em38_resolution(5.0, true), 0.0125);
}

TEST(Em34Record, SpacingBitsAndRanges) {
  // Horizontal 40 m, range 3: 0x20 + 24 + 0 = 0x38.
  EXPECT_EQ(encode_em34_record({1.5, 40, true, false, 3}), "T8-2000+0000\r");
  // Vertical 20 m, range 3: 8 (not NUL).
  EXPECT_EQ(encode_em34_record({1.5, 20, false, false, 3})[1], '\x08');
  // Vertical 20 m, range 300: code 5 alone (8 + 5 would be a carriage return).
  EXPECT_EQ(encode_em34_record({100, 20, false, false, 300})[1], '\x05');
  // Vertical 10 m, range 1000, marker: 0x40 + 16 + 6.
  EXPECT_EQ(encode_em34_record({100, 10, false, true, 1000})[1], '\x56');
  EXPECT_EQ(em34_range_for(7.4, kAutoRange), 3);
  EXPECT_EQ(em34_range_for(7.6, kAutoRange), 10);
  EXPECT_EQ(em34_range_for(600, kAutoRange), 300);
  EXPECT_EQ(em34_range_for(800, kAutoRange), 1000);
}

TEST(BinaryRecord, Em38Words) {
  EXPECT_EQ(em38_word(0.0), 32768);
  EXPECT_DOUBLE_EQ(em38_word_value(32768), 0.0);
  EXPECT_EQ(em38_word(-1280.0), 0);
  EXPECT_EQ(em38_word(5000.0), 65535);
  for (double u : {-100.0, -0.5, 0.02, 12.3, 999.9}) EXPECT_NEAR(em38_word_value(em38_word(u)), u, 0.0196);
}

TEST(BinaryRecord, Em38Mk2Golden) {
  Em38Mk2Reading r;
  r.conductivity1 = 0;
  r.inphase1 = 0;
  r.conductivity2 = 10.0;  // 32768 + 256 = 0x8100
  r.inphase2 = 0;
  r.vertical = false;
  r.marker = true;
  r.extra1 = 0x0102;
  r.extra2 = 0x03FF;
  EXPECT_EQ(encode_em38mk2_record(r),
            bytes({'T', 3, 0x81, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00, 0x01, 0x02, 0x03, 0xFE, 0xFF, 0xFF}));
}

TEST(BinaryRecord, Em38_4Golden) {
  Em38_4Reading r;
  r.supply = {12.0, 0.0};        // (12 + 4) / 0.66667 = 24; 4 / 0.66667 = 6
  r.temperature = {-40.0, 0.0};  // 31; 40 x 3.1 + 31 = 155
  const std::string s = encode_em38_4_record(r);
  ASSERT_EQ(s.size(), 28u);
  EXPECT_EQ(s.substr(0, 2), bytes({'T', 6}));
  for (int i = 2; i < 18; i += 2) EXPECT_EQ(s.substr(i, 2), bytes({0x80, 0x00})) << i;
  EXPECT_EQ(s.substr(18), bytes({0, 24, 0, 6, 0, 31, 0, 155, 0xFF, 0xFF}));
}

TEST(BinaryRecord, Em61RangeByteAndGolden) {
  EXPECT_EQ(em61_range_byte({100, 100, 100, 100}), 0xFF);
  EXPECT_EQ(em61_range_byte({1, 1, 1, 1}), 0x00);
  EXPECT_EQ(em61_range_byte({10, 100, 1, 10}), 0x40 | 0x30 | 0x01);
  EXPECT_EQ(em61_range_factor(100.0, kEm61Mk2Unit), 100);  // 2069 counts
  EXPECT_EQ(em61_range_factor(2000.0, kEm61Mk2Unit), 10);
  EXPECT_EQ(em61_range_factor(-20000.0, kEm61Mk2Unit), 1);
  Em61Reading r;
  r.letter = 'D';
  r.channels = {4.8333, -4.8333, 48.333, 483.33};
  r.current = 3141;  // 0x0C45
  r.battery = 0x7F;  // kept clear of the end pair
  // Factors 100 each: counts 100, -100, 1000, 10000.
  EXPECT_EQ(encode_em61_record(r),
            bytes({'D', 0xFF, 0x00, 0x64, 0xFF, 0x9C, 0x03, 0xE8, 0x27, 0x10, 0x0C, 0x45, 0x7E, 0x7F, 0x7F}));
  EXPECT_EQ(em61_marker_letter('T'), 'M');
  EXPECT_EQ(em61_marker_letter('D'), 'N');
  EXPECT_EQ(em61_marker_letter('E'), 'P');
  EXPECT_EQ(em61_marker_letter('F'), 'Q');
  EXPECT_EQ(em61_marker_letter('J'), 'K');
}

TEST(LineRecord, Golden) {
  EXPECT_EQ(encode_grad601_line({12.345, -0.5, 2}), "$PBAR,12.3,-0.50\r\n");
  EXPECT_EQ(encode_grad601_line({-3.0, 9, 1}), "$PBAR,-3.00\r\n");
  EXPECT_EQ(encode_grad601_line({-250.4, 9.996, 2}), "$PBAR,-250,10.0\r\n");
  EXPECT_EQ(encode_grad601_line({-20000, 99.96, 2}), "$PBAR,-9999,100\r\n");
  // At most five characters a value, so that "T$P" and both values fit a data record.
  for (double v : {-9.994, -99.94, -999.4, -9999.0, 1e6}) EXPECT_LE(grad601_value(v).size(), 5u) << v;
  Cs21Reading c;
  c.time_of_day = 3600 + 2 * 60 + 3.45;
  c.hcp_conductivity = 21.5;
  c.hcp_inphase = 0.25;
  c.prp_conductivity = 19.125;
  c.prp_inphase = -0.0004;
  const std::string cs21 = encode_cs21_line(c);
  EXPECT_EQ(cs21.substr(0, cs21.find('*')), "$PDLM1,010203.4,21.500,0.250,19.125,-0.000,18.5");
  EXPECT_TRUE(has_valid_checksum(cs21));
  EXPECT_EQ(cs21.substr(cs21.size() - 2), "\r\n");
  c.group = 2;  // the 2 m and 2.1 m coils
  const std::string pdlm2 = encode_cs21_line(c);
  EXPECT_EQ(pdlm2.substr(0, pdlm2.find('*')), "$PDLM2,010203.4,21.500,0.250,19.125,-0.000,18.5");
  EXPECT_TRUE(has_valid_checksum(pdlm2));
  const std::string tilt = encode_tilt_sentence({1.234, -2.5, 90.0, 19.0});
  EXPECT_EQ(tilt.substr(0, tilt.find('*')), "$PTLT,-2.50,90.0,19.0,+1.23");
  EXPECT_TRUE(has_valid_checksum(tilt));
  EXPECT_FALSE(has_valid_checksum(encode_tilt_sentence({1.234, -2.5, 90.0, 19.0}, false)));
  EXPECT_FALSE(has_valid_checksum(encode_cs21_line(c, false)));
}

TEST(LineRecord, TiltRateCommands) {
  EXPECT_EQ(tilt_rate_command(3), "[1D10\r");
  EXPECT_EQ(tilt_rate_command(4), "[1D20\r");
  EXPECT_EQ(tilt_rate_command(0), "[1D1\r");
  EXPECT_EQ(parse_tilt_rate_command("[1D5\r"), 5);
  EXPECT_EQ(parse_tilt_rate_command("[1D20\r"), 20);
  EXPECT_FALSE(parse_tilt_rate_command("[1D7\r").has_value());
  EXPECT_FALSE(parse_tilt_rate_command("[1D\r").has_value());
  EXPECT_FALSE(parse_tilt_rate_command("[1Dx\r").has_value());
  EXPECT_FALSE(parse_tilt_rate_command("[1D10").has_value());
  EXPECT_NE(tilt_rate_answer(10).find(">New Output Data Rate"), std::string::npos);
  EXPECT_LE(tilt_rate_answer(20).size(), 40u);
  EXPECT_EQ(tilt_rate_answer(20).back(), '\n');
}

}  // namespace
}  // namespace quelor::devsim
