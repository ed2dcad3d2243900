// NMEA sentence building: checksums, angle and time fields, and the layout of
// each format, byte for byte.

#include <gtest/gtest.h>

#include "devsim/nmea_sentence.h"

namespace quelor::devsim {
namespace {

TEST(NmeaSentence, ChecksumOfTheTextbookSentence) {
  EXPECT_EQ(nmea_checksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"), "47");
  EXPECT_EQ(nmea_sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", true),
            "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n");
  EXPECT_TRUE(has_valid_checksum("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"));
  EXPECT_FALSE(has_valid_checksum("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*46\r\n"));
  EXPECT_FALSE(has_valid_checksum("$GPGLL,4807.038,N"));
}

TEST(NmeaSentence, CorruptChecksumAlwaysDiffers) {
  for (const char* body : {"A", "GPGSA,A,3", "PTLT,+1.00", "X,0", "GPGLL,1"}) {
    const std::string good = nmea_sentence(body, true);
    const std::string bad = corrupt_checksum(good);
    EXPECT_TRUE(has_valid_checksum(good));
    EXPECT_FALSE(has_valid_checksum(bad)) << bad;
    EXPECT_EQ(bad.size(), good.size());
  }
  EXPECT_EQ(corrupt_checksum("$GPGLL,1\r\n"), "$GPGLL,1\r\n");
}

TEST(NmeaSentence, AnglesRoundOnceAndCarry) {
  EXPECT_EQ(nmea_latitude(43.6099, 4), "4336.5940");
  EXPECT_EQ(nmea_longitude(-79.6, 4), "07936.0000");
  EXPECT_EQ(nmea_latitude(-12.5, 2), "1230.00");
  EXPECT_EQ(nmea_latitude(9.99999999999, 4), "1000.0000");  // 59.99999 minutes carry into degrees
  EXPECT_EQ(nmea_longitude(179.999999999, 5), "18000.00000");
  EXPECT_EQ(nmea_latitude(0.0000001, 7), "0000.0000060");
  EXPECT_EQ(nmea_latitude(43.6099, 7).find('.'), 4u);
  EXPECT_EQ(nmea_longitude(-79.6, 7).find('.'), 5u);
}

TEST(NmeaSentence, TimeOfDay) {
  EXPECT_EQ(nmea_time(0), "000000.00");
  EXPECT_EQ(nmea_time(45296.789), "123456.79");
  EXPECT_EQ(nmea_time(86399.996), "000000.00");  // rounds into the next day
  EXPECT_EQ(nmea_time(86400 + 61.5), "000101.50");
}

GpsFix sample_fix() {
  GpsFix f;
  f.time_of_day = 12 * 3600 + 34 * 60 + 56.7;
  f.day = 8;
  f.month = 12;
  f.year = 2026;
  f.latitude = 43.6099;
  f.longitude = -79.6;
  f.easting = 612345.6784;
  f.northing = 4829876.5432;
  f.altitude = 173.25;
  f.geoid_separation = -36;
  f.quality = 2;
  f.satellites = 9;
  f.hdop = 0.9;
  f.pdop = 1.6;
  f.vdop = 1.3;
  f.course = 30;
  f.speed = 1.0;
  f.slam_a = 0.4;
  f.slam_b = 0.6;
  f.slam_c = 60;
  return f;
}

std::vector<std::string> sentences(GpsFormat format, bool slam = false, RtsUnits units = RtsUnits::kMetres) {
  NmeaStyle style;
  style.format = format;
  style.decimals = 4;
  style.slam = slam;
  style.rts_units = units;
  return epoch_sentences(sample_fix(), style);
}

std::string without_checksum(const std::string& s) { return s.substr(0, s.find('*')); }

TEST(NmeaSentence, GoldenSentencesOfEveryFormat) {
  const auto gga_gsa = sentences(GpsFormat::kGgaGsa);
  ASSERT_EQ(gga_gsa.size(), 2u);
  EXPECT_EQ(without_checksum(gga_gsa[0]),
            "$GPGGA,123456.70,4336.5940,N,07936.0000,W,2,09,0.9,173.250,M,-36.0,M,1.2,0031");
  EXPECT_EQ(without_checksum(gga_gsa[1]), "$GPGSA,A,3,02,05,06,09,12,13,17,19,21,,,,1.6,0.9,1.3");
  EXPECT_EQ(without_checksum(sentences(GpsFormat::kPos)[0]),
            "$PASHR,POS,1,09,123456.70,4336.5940,N,07936.0000,W,+00173.25,,030.0,001.9,+00.0,01.6,00.9,01.3,01.0,GG12");
  EXPECT_EQ(without_checksum(sentences(GpsFormat::kLlq)[0]),
            "$GPLLQ,123456.70,120826,612345.678,M,4829876.543,M,2,9,0.9,173.250,M");
  EXPECT_EQ(without_checksum(sentences(GpsFormat::kLlk)[0]),
            "$GPLLK,123456.70,120826,612345.678,M,4829876.543,M,2,9,0.9,173.250,M");
  EXPECT_EQ(without_checksum(sentences(GpsFormat::kGll)[0]), "$GPGLL,4336.5940,N,07936.0000,W,123456.70,A,D");
  EXPECT_EQ(without_checksum(sentences(GpsFormat::kGgk)[0]),
            "$PTNL,GGK,123456.70,120826,4336.5940,N,07936.0000,W,2,09,1.6,EHT137.250,M");
  EXPECT_EQ(sentences(GpsFormat::kPseudoGga)[0],
            "$GPGGA,123456.70,4829876.543,N,612345.678,E,2,09,0.9,173.250,M,0.0,M,,\r\n");
  EXPECT_EQ(without_checksum(sentences(GpsFormat::kPseudoGga, true)[0]),
            "$GPGGA,123456.70,4829876.543,N,612345.678,E,2,09,0.400,173.250,M,0.600,M,60.000,0000");
  EXPECT_EQ(sentences(GpsFormat::kPseudoGga, false, RtsUnits::kInternationalFeet)[0],
            "$GPGGA,123456.70,15846051.651,N,2009008.131,E,2,09,0.9,568.406,F,0.0,F,,\r\n");
  EXPECT_EQ(sentences(GpsFormat::kPseudoGll)[0], "$GPGLL,4336.5940,N,07936.0000,W,123456.70,A,D\r\n");
  for (int f = 0; f < 7; ++f)
    for (const std::string& s : sentences(static_cast<GpsFormat>(f))) EXPECT_TRUE(has_valid_checksum(s)) << s;
  EXPECT_TRUE(has_valid_checksum(sentences(GpsFormat::kPseudoGga, true)[0]));
}

TEST(NmeaSentence, FormatNames) {
  for (const char* name : {"gga-gsa", "gga", "pos", "llk", "llq", "gll", "ggk", "pseudo-gga", "pseudo-gll"}) {
    const auto f = gps_format_from_name(name);
    ASSERT_TRUE(f.has_value()) << name;
    EXPECT_EQ(gps_format_name(*f), name);
  }
  EXPECT_FALSE(gps_format_from_name("GGA").has_value());
  EXPECT_FALSE(gps_format_from_name("rmc").has_value());
}

}  // namespace
}  // namespace quelor::devsim
