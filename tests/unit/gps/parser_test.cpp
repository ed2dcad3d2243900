#include "gps/parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "gps/fix_texts.h"
#include "gps/formats.h"
#include "gps/quality.h"
#include "gps/time_of_day.h"
#include "gps/units.h"
#include "gps/warning.h"
#include "test_sentences.h"
#include "variant/variant.h"

namespace quelor {
namespace {

using testing::nmea;

GpsFix parse(const std::string& sentence, int format, bool slam = false, int rts_units = 0) {
  return parse_gps_fix(sentence, make_format_table(format, slam), FixOptions{rts_units, true});
}

std::string gga(const std::string& lat, const std::string& ns, const std::string& lon, const std::string& ew,
                const std::string& quality, const std::string& sats, const std::string& hdop = "0.9") {
  return nmea("$GPGGA,123519.50," + lat + "," + ns + "," + lon + "," + ew + "," + quality + "," + sats + "," + hdop +
              ",545.4,M,46.9,M,,");
}

TEST(FormatTable, NineFormatsWithTheirLabelsAndNames) {
  struct Row {
    int format;
    const char* label;
    const char* name;
    int time_field;
    bool checksum;
    int pairs;
  };
  const Row rows[] = {
      {kFormatGgaGsa, "GGA/GSA", "GGA", 2, true, 6},
      {kFormatGga, "GGA", "GGA", 2, true, 7},
      {kFormatPos, "POS", "POS", 5, true, 7},
      {kFormatLlk, "LLK", "LLK", 2, true, 5},
      {kFormatLlq, "LLQ", "LLQ", 2, true, 5},
      {kFormatGll, "GLL", "GLL", 6, true, 4},
      {kFormatGgk, "GGK", "GGK", 3, true, 7},
      {kFormatPseudoGga, "Pseudo GGA", "GGA", 2, false, 2},
      {kFormatPseudoGll, "Pseudo GLL", "GLL", 6, false, 4},
  };
  for (const Row& r : rows) {
    const FormatTable t = make_format_table(r.format, false);
    EXPECT_EQ(gps_format_label(r.format, false), r.label);
    EXPECT_EQ(t.sentence_name, r.name) << r.label;
    EXPECT_EQ(t.time_field, r.time_field) << r.label;
    EXPECT_EQ(t.checksum_required, r.checksum) << r.label;
    EXPECT_EQ(t.pair_count, r.pairs) << r.label;
  }
  const FormatTable slam = make_format_table(kFormatPseudoGga, true);
  EXPECT_EQ(gps_format_label(kFormatPseudoGga, true), "p-GGA SLAM");
  EXPECT_TRUE(slam.checksum_required);
  EXPECT_EQ(slam.pair_count, 6);
  EXPECT_EQ(slam.pairs[5].role, kRoleExtraC);
  EXPECT_EQ(slam.pairs[5].field, 14);
  // The SLAM option changes only Pseudo GGA.
  EXPECT_EQ(gps_format_label(kFormatGga, true), "GGA");
  EXPECT_FALSE(make_format_table(kFormatGga, true).slam);
  EXPECT_EQ(make_format_table(42, false).format, kFormatGga);
}

struct LatitudeCase {
  const char* lat;
  const char* ns;
  bool valid;
  double degrees;
};

TEST(Parser, LatitudeNeedsTwoDegreeDigits) {
  const LatitudeCase cases[] = {
      {"4336.5940", "N", true, 43.60990}, {"4336.5940", "S", true, -43.60990}, {"433.65940", "N", false, 0.0},
      {"04336.594", "N", false, 0.0},     {"4336", "N", false, 0.0},           {"", "N", false, 0.0},
      {"0000.0000", "N", true, 0.0},      {"4336.5940", "X", false, 0.0},      {"4336.5940", "", false, 0.0},
      {"4336.5940", "n", false, 0.0},
  };
  for (const LatitudeCase& c : cases) {
    const GpsFix fix = parse(gga(c.lat, c.ns, "07936.0000", "W", "1", "08"), kFormatGga);
    EXPECT_EQ(fix.valid, c.valid ? 1 : 0) << c.lat << c.ns;
    if (c.valid) {
      EXPECT_NEAR(fix.latitude, c.degrees, 1e-9) << c.lat;
    }
  }
}

TEST(Parser, LongitudeNeedsThreeDegreeDigits) {
  GpsFix fix = parse(gga("4336.5940", "N", "07936.0000", "W", "1", "08"), kFormatGga);
  EXPECT_EQ(fix.valid, 1);
  EXPECT_NEAR(fix.longitude, -79.6, 1e-12);
  EXPECT_TRUE(fix.geographic);
  EXPECT_EQ(parse(gga("4336.5940", "N", "7936.0000", "W", "1", "08"), kFormatGga).valid, 0);
  // "S" and "W" give -1 and "N" and "E" +1 in either hemisphere field.
  EXPECT_NEAR(parse(gga("4336.5940", "N", "07936.0000", "S", "1", "08"), kFormatGga).longitude, -79.6, 1e-12);
}

TEST(Parser, PositionDisplayTexts) {
  const std::string s = gga("4336.5940", "N", "07936.0000", "W", "1", "08");
  const GpsFixTexts texts = fix_display_texts(parse(s, kFormatGga), s);
  EXPECT_EQ(texts.latitude, L"N43\u00B036.5940'");
  EXPECT_EQ(texts.longitude, L"W079\u00B036.0000'");
  EXPECT_EQ(texts.dilution, L"0.9");
  // A field that could not be read has no text.
  const std::string bad = gga("43365940", "N", "07936.0000", "W", "1", "08");
  EXPECT_TRUE(fix_display_texts(parse(bad, kFormatGga), bad).latitude.empty());
}

// The one-pass readers of the usual fields against atoi/strtod on the parts,
// for fields of digits, dots and the odd sign or letter.
TEST(Parser, AnglesAndTimesAreTheLenientReadersValues) {
  std::mt19937 rng(3);
  const char alphabet[] = "0123456789012345678901234567890123456789..-+ eN";
  auto field = [&](std::size_t length) {
    std::string f;
    for (std::size_t k = 0; k < length; ++k) f += alphabet[rng() % (sizeof alphabet - 1)];
    return f;
  };
  for (int i = 0; i < 20000; ++i) {
    const std::string lat = field(3 + rng() % 16), time = field(rng() % 12);
    const std::string s = nmea("$GPGGA," + time + "," + lat + ",S,07936.0000,W,1,08,0.9,,M,,M,,");
    const GpsFix fix = parse(s, kFormatGga);
    const double want = -(std::atoi(lat.substr(0, 2).c_str()) + std::strtod(lat.substr(2).c_str(), nullptr) / 60.0);
    const bool valid =
        lat.find('.') == 4 && std::isfinite(want) && std::fabs(want) <= 90.0;  // no position beyond the pole
    ASSERT_EQ(fix.valid, valid ? 1 : 0) << lat;
    if (valid) {
      ASSERT_EQ(fix.latitude, want) << lat;
      ASSERT_EQ(std::wstring(fix_display_texts(fix, s).latitude), L"S" + std::wstring(lat.begin(), lat.begin() + 2) +
                                                                      L"\u00B0" +
                                                                      std::wstring(lat.begin() + 2, lat.end()) + L"'");
    }
    const double seconds = time.size() > 4 ? std::strtod(time.substr(4).c_str(), nullptr) : 0.0;
    const int minutes = time.size() > 2 ? std::atoi(time.substr(2, 2).c_str()) : 0;
    ASSERT_EQ(fix.time_of_day, std::atoi(time.substr(0, 2).c_str()) * 3600.0 + minutes * 60.0 + seconds) << time;
  }
}

struct QualityCase {
  const char* field;
  int format;
  int quality;
  const char* label;
  bool valid;
};

TEST(Parser, QualityValueLabelAndValidity) {
  const QualityCase cases[] = {
      {"2", kFormatGga, 2, "DGPS", true},    {"A", kFormatGga, 0, "UNKW", false},
      {"0", kFormatGga, 0, "NO FIX", false}, {"0", kFormatGgaGsa, 0, "NO FIX", false},
      {"1", kFormatGga, 1, "AGPS", true},    {"4", kFormatGga, 4, "RTK4", true},
      {"9", kFormatGga, 9, "RTK9", true},    {"", kFormatGga, 0, "UNKW", false},
      {"0", kFormatGgk, 0, "NO FIX", true},  // only GGA/GSA and GGA refuse quality 0
  };
  for (const QualityCase& c : cases) {
    std::string s = c.format == kFormatGgk
                        ? nmea(std::string("$PTNL,GGK,172814.00,071296,3723.46587704,N,12202.26957864,W,") + c.field +
                               ",06,1.7,EHT-6.777,M")
                        : gga("4336.5940", "N", "07936.0000", "W", c.field, "08");
    const GpsFix fix = parse(s, c.format);
    EXPECT_EQ(fix.quality, c.quality) << c.field;
    EXPECT_EQ(fix.quality_label, c.label) << c.field;
    EXPECT_EQ(fix.valid, c.valid ? 1 : 0) << c.field << " format " << c.format;
  }
}

TEST(Parser, QualityLabelsTable) {
  const char* expected[] = {"NO FIX", "AGPS", "DGPS", "RTK3", "RTK4", "RTK5", "RTK6", "RTK7", "RTK8", "RTK9"};
  for (char c = '0'; c <= '9'; ++c) EXPECT_EQ(quality_label(std::string(1, c)), expected[c - '0']);
  EXPECT_EQ(quality_label("x"), "UNKW");
  EXPECT_EQ(quality_label(""), "UNKW");
  EXPECT_EQ(quality_label("12"), "AGPS");  // by the first character
}

TEST(Parser, MissingQualityFieldShowsNoLabel) {
  const GpsFix fix = parse(nmea("$GPGGA,123519,4807.038,N,01131.000,E"), kFormatGga);
  EXPECT_EQ(fix.valid, 0);
  EXPECT_TRUE(fix.quality_label.empty());
}

TEST(Parser, SatellitesBelowTwoInvalidate) {
  EXPECT_EQ(parse(gga("4336.5940", "N", "07936.0000", "W", "1", "01"), kFormatGga).valid, 0);
  EXPECT_EQ(parse(gga("4336.5940", "N", "07936.0000", "W", "1", "02"), kFormatGga).valid, 1);
  EXPECT_EQ(parse(gga("4336.5940", "N", "07936.0000", "W", "1", ""), kFormatGga).valid, 0);
  EXPECT_EQ(parse(gga("4336.5940", "N", "07936.0000", "W", "1", "12"), kFormatGga).satellites, 12);
}

TEST(Parser, GgaGsaHasNoDilution) {
  const std::string s = gga("4336.5940", "N", "07936.0000", "W", "1", "08", "12.5");
  const GpsFix fix = parse(s, kFormatGgaGsa);
  EXPECT_EQ(fix.dilution, 0.0);
  EXPECT_TRUE(fix_display_texts(fix, s).dilution.empty());
  EXPECT_EQ(parse(gga("4336.5940", "N", "07936.0000", "W", "1", "08", "12.5"), kFormatGga).dilution, 12.5);
}

TEST(Parser, DilutionTexts) {
  EXPECT_EQ(dilution_text(0.94), L"0.9");
  EXPECT_EQ(dilution_text(9.94), L"9.9");
  EXPECT_EQ(dilution_text(10.0), L" 10");
  EXPECT_EQ(dilution_text(123.6), L"124");
}

TEST(Parser, PosQualityIsPlusOneAndTimeFromItsTimeField) {
  // $PASHR,POS: mode, satellites, time, lat, N/S, lon, E/W, altitude, reserved,
  // course, speed, vertical velocity, PDOP, HDOP, VDOP, TDOP.
  const std::string pos = nmea(
      "$PASHR,POS,0,07,174109.50,3722.36223,N,12159.82741,W,00016.06,????,000.00,000.00,+000.00,02.6,01.4,02.2,01.5,"
      "HB01");
  const GpsFix fix = parse(pos, kFormatPos);
  EXPECT_EQ(fix.valid, 1);
  EXPECT_EQ(fix.quality, 1);
  EXPECT_EQ(fix.quality_label, "NO FIX");  // the label follows the sentence's character
  EXPECT_EQ(fix.satellites, 7);
  EXPECT_NEAR(fix.latitude, 37 + 22.36223 / 60, 1e-12);
  EXPECT_NEAR(fix.longitude, -(121 + 59.82741 / 60), 1e-12);
  EXPECT_DOUBLE_EQ(fix.dilution, 2.6);
  EXPECT_DOUBLE_EQ(fix.time_of_day, 17 * 3600 + 41 * 60 + 9.5);
}

TEST(Parser, GgkFields) {
  const GpsFix fix =
      parse(nmea("$PTNL,GGK,172814.00,071296,3723.46587704,N,12202.26957864,W,3,06,1.7,EHT-6.777,M"), kFormatGgk);
  EXPECT_EQ(fix.valid, 1);
  EXPECT_EQ(fix.quality, 3);
  EXPECT_EQ(fix.quality_label, "RTK3");
  EXPECT_EQ(fix.satellites, 6);
  EXPECT_DOUBLE_EQ(fix.dilution, 1.7);
  EXPECT_NEAR(fix.latitude, 37 + 23.46587704 / 60, 1e-12);
  EXPECT_DOUBLE_EQ(fix.time_of_day, 17 * 3600 + 28 * 60 + 14.0);
}

TEST(Parser, GllTakesTheTimeFromFieldSix) {
  const GpsFix fix = parse(nmea("$GPGLL,4916.4500,N,12311.1200,W,225444.25,A"), kFormatGll);
  EXPECT_EQ(fix.valid, 1);
  EXPECT_DOUBLE_EQ(fix.time_of_day, 22 * 3600 + 54 * 60 + 44.25);
  EXPECT_NEAR(fix.latitude, 49 + 16.45 / 60, 1e-12);
  EXPECT_NEAR(fix.longitude, -(123 + 11.12 / 60), 1e-12);
  // GLL's two-decimal minutes with a short degree field stay invalid.
  EXPECT_EQ(parse(nmea("$GPGLL,4916.45,N,12311.12,W,225444,A"), kFormatGll).valid, 1);
  EXPECT_EQ(parse(nmea("$GPGLL,916.45,N,12311.12,W,225444,A"), kFormatGll).valid, 0);
}

TEST(Parser, LlkReadsGridValues) {
  const GpsFix fix = parse(nmea("$GPLLK,113616.00,041006,764413.024,M,3503.723,M,3,08,0.010,1.0,M"), kFormatLlk);
  EXPECT_EQ(fix.valid, 1);
  EXPECT_FALSE(fix.geographic);
  EXPECT_DOUBLE_EQ(fix.easting, 764413.024);
  EXPECT_DOUBLE_EQ(fix.northing, 3503.723);
  EXPECT_EQ(fix.quality, 3);
  EXPECT_EQ(fix.satellites, 8);
  EXPECT_DOUBLE_EQ(fix.dilution, 0.010);
  EXPECT_EQ(parse(nmea("$GPLLQ,113616.00,041006,,M,3503.723,M,3,08,0.010,1.0,M"), kFormatLlq).valid, 0);
}

TEST(Parser, PseudoGgaFeetConversion) {
  const std::string feet = "$GPGGA,120000.00,100,,200,,,,,,F";
  GpsFix fix = parse(feet, kFormatPseudoGga, false, kRtsInternationalFeet);
  EXPECT_EQ(fix.valid, 1);
  EXPECT_DOUBLE_EQ(fix.northing, 30.48);
  EXPECT_DOUBLE_EQ(fix.easting, 60.96);
  fix = parse(feet, kFormatPseudoGga, false, kRtsUsSurveyFeet);
  EXPECT_DOUBLE_EQ(fix.northing, 100 * 0.304800609601219);
  fix = parse("$GPGGA,120000.00,100,,200,,,,,,M", kFormatPseudoGga);
  EXPECT_DOUBLE_EQ(fix.northing, 100.0);
  fix = parse("$GPGGA,120000.00,100,,200", kFormatPseudoGga);
  EXPECT_DOUBLE_EQ(fix.easting, 200.0);
  EXPECT_EQ(parse("$GPGGA,120000.00,,,200", kFormatPseudoGga).valid, 0);
  EXPECT_EQ(parse("$GPGGA,120000.00,100,,", kFormatPseudoGga).valid, 0);
}

TEST(Parser, SlamExtrasAreShownExceptForEm61Lx2) {
  const std::string s = nmea("$GPGGA,120000.00,1234.5,,678.25,,4,07,0.5,1.25,F,2.5,x,3.75");
  const FormatTable table = make_format_table(kFormatPseudoGga, true);
  GpsFix fix = parse_gps_fix(s, table, fix_options(kRtsInternationalFeet, kEm31Mk2));
  EXPECT_EQ(fix.valid, 1);
  EXPECT_DOUBLE_EQ(fix.northing, 1234.5 * 0.3048);
  EXPECT_EQ(fix.satellites_shown, 7);
  EXPECT_EQ(fix_display_texts(fix, s).satellites_shown, L" 07");
  EXPECT_DOUBLE_EQ(fix.extras[0], 0.5);
  EXPECT_DOUBLE_EQ(fix.extras[1], 2.5);
  EXPECT_DOUBLE_EQ(fix.extras[2], 3.75);
  EXPECT_EQ(fix_display_texts(fix, s).extras[2], L"   3.750");
  fix = parse_gps_fix(s, table, fix_options(kRtsInternationalFeet, kEm61Lx2));
  EXPECT_TRUE(fix_display_texts(fix, s).extras[0].empty());
  EXPECT_DOUBLE_EQ(fix.extras[0], 0.5);
}

TEST(Parser, NonFiniteNumbersInvalidate) {
  EXPECT_EQ(parse("$GPGGA,120000.00,1e999,,200", kFormatPseudoGga).valid, 0);
  EXPECT_EQ(parse(gga("4336.5e999", "N", "07936.0000", "W", "1", "08"), kFormatGga).valid, 0);
}

TEST(Parser, GsaPdop) {
  const std::string gsa = nmea("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
  ASSERT_TRUE(gsa_pdop(gsa).has_value());
  EXPECT_DOUBLE_EQ(*gsa_pdop(gsa), 2.5);
  EXPECT_EQ(pdop_text(gsa), L"2.5 ");
  EXPECT_EQ(pdop_text("$GPGSA,A,3,04"), L"N/A");
  EXPECT_EQ(pdop_text("$GPGSA,A,3" + std::string(13, ',') + "12.26*00"), L"12.3");
}

struct TimeCase {
  const char* field;
  double seconds;
};

TEST(TimeOfDay, HhMmSs) {
  const TimeCase cases[] = {
      {"123519", 12 * 3600 + 35 * 60 + 19.0}, {"000000.00", 0.0}, {"235959.99", 86399.99},
      {"1234", 12 * 3600 + 34 * 60.0},        {"", 0.0},          {"GGA", 0.0},
  };
  for (const TimeCase& c : cases) EXPECT_DOUBLE_EQ(time_of_day_seconds(c.field), c.seconds) << c.field;
}

TEST(Warning, FourSatellitesWithMinimumFiveWarns) {
  GpsFix fix = parse(gga("4336.5940", "N", "07936.0000", "W", "2", "04", "1.0"), kFormatGga);
  ASSERT_EQ(fix.valid, 1);  // used ...
  const GpsWarningLimits limits = warning_limits(GpsWarningMask{});
  EXPECT_FALSE(gps_fix_is_good(fix, kFormatGga, limits));  // ... but warned
  EXPECT_TRUE(gps_warning_sound_due(false, true, false));
  EXPECT_FALSE(gps_warning_sound_due(false, true, true));
  EXPECT_FALSE(gps_warning_sound_due(false, false, false));
  EXPECT_FALSE(gps_warning_sound_due(true, true, false));
}

TEST(Warning, LimitsTable) {
  struct Case {
    int satellites;
    double dilution;
    int quality;
    int format;
    bool enabled;
    bool good;
  };
  // Defaults: 5 satellites, dilution 4.0, quality index 1 (DGPS: quality >= 2).
  const Case cases[] = {
      {5, 4.0, 2, kFormatGga, true, true},   {5, 4.01, 2, kFormatGga, true, false},
      {5, 4.0, 1, kFormatGga, true, false},  {4, 1.0, 4, kFormatGga, true, false},
      {4, 9.0, 0, kFormatGga, false, true},  {0, 99.0, 0, kFormatPseudoGga, true, true},
      {0, 99.0, 0, kFormatGll, true, true},  {0, 99.0, 0, kFormatPseudoGll, true, true},
      {0, 99.0, 0, kFormatLlk, true, false}, {12, 0.5, 5, kFormatPos, true, true},
  };
  for (const Case& c : cases) {
    GpsFix fix;
    fix.satellites = c.satellites;
    fix.dilution = c.dilution;
    fix.quality = c.quality;
    GpsWarningMask mask;
    mask.warning_selection = c.enabled ? 1 : 0;
    EXPECT_EQ(gps_fix_is_good(fix, c.format, warning_limits(mask)), c.good)
        << c.satellites << " " << c.dilution << " " << c.quality << " " << c.format;
  }
}

TEST(Warning, ActivityMarkToggles) {
  EXPECT_EQ(next_activity_mark('/'), '\\');
  EXPECT_EQ(next_activity_mark('\\'), '/');
  EXPECT_EQ(next_activity_mark(' '), '/');
}

}  // namespace
}  // namespace quelor

#include "gps/gps_settings.h"

namespace quelor {
namespace {

TEST(GpsSettings, FormatAndOptionsFromTheSettingsRecord) {
  Settings settings;
  EXPECT_EQ(format_table_from_settings(settings).format, kFormatGga);  // default 1
  settings.gps_sentence = kFormatPseudoGga;
  settings.pseudo_gga_variant = 1;
  const GpsReaderConfig config = gps_reader_config(settings);
  EXPECT_TRUE(config.format.slam);
  EXPECT_TRUE(config.format.checksum_required);
  EXPECT_EQ(config.minimum_interval_ms, 910u);
  EXPECT_EQ(config.silence_ms, 3000u);
  settings.rts_units = kRtsUsSurveyFeet;
  EXPECT_EQ(fix_options_from_settings(settings, kEm61Lx2).rts_units, kRtsUsSurveyFeet);
  EXPECT_FALSE(fix_options_from_settings(settings, kEm61Lx2).show_extras);
  EXPECT_TRUE(fix_options_from_settings(settings, kEm31Mk2).show_extras);
  settings.gps_warning_mask.minimum_satellites = 7;
  EXPECT_EQ(warning_limits_from_settings(settings).minimum_satellites, 7);
}

}  // namespace
}  // namespace quelor
