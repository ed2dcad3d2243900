// Seeded random and mutated byte streams through the reader, the parser and
// the projection: nothing may crash, hang or produce out-of-range output.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "gps/parser.h"
#include "gps/reader.h"
#include "gps/survey_zone.h"
#include "gps/units.h"
#include "reader_fakes.h"
#include "test_sentences.h"

namespace quelor {
namespace {

using testing::FakeClock;
using testing::FakeHost;
using testing::nmea;

const char* const kSeeds[] = {
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
    "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1",
    "$PASHR,POS,0,07,174109.50,3722.36223,N,12159.82741,W,00016.06,????,000.00,000.00,+000.00,02.6,01.4,02.2,01.5",
    "$GPLLK,113616.00,041006,764413.024,M,3503.723,M,3,08,0.010,1.0,M",
    "$GPLLQ,113616.00,041006,764413.024,M,3503.723,M,3,08,0.010,1.0,M",
    "$GPGLL,4916.4500,N,12311.1200,W,225444.25,A",
    "$PTNL,GGK,172814.00,071296,3723.46587704,N,12202.26957864,W,3,06,1.7,EHT-6.777,M",
    "$GPGGA,120000.00,1234.5,,678.25,,4,07,0.5,1.25,F,2.5,x,3.75",
};

// Every field of a fix the parser fills must be usable: the position of a
// valid fix is finite and its projection too.
void check_fix(const std::string& sentence, int format, bool slam, SurveyZone& zone) {
  const FormatTable table = make_format_table(format, slam);
  GpsFix fix = parse_gps_fix(sentence, table, FixOptions{1, true});
  if (!fix.valid) return;
  if (fix.geographic) {
    ASSERT_TRUE(std::isfinite(fix.latitude)) << sentence;
    ASSERT_TRUE(std::isfinite(fix.longitude)) << sentence;
    project_fix(zone, fix);
    EXPECT_GE(fix.zone, 1);
    EXPECT_LE(fix.zone, 60);
  } else {
    ASSERT_TRUE(std::isfinite(fix.northing)) << sentence;
    ASSERT_TRUE(std::isfinite(fix.easting)) << sentence;
  }
  (void)grid_readout_text(fix.northing, kDisplayUsFeet);
}

std::string mutate(std::string s, std::mt19937& rng) {
  std::uniform_int_distribution<int> op(0, 4), byte(0, 255);
  const int edits = 1 + static_cast<int>(rng() % 4);
  for (int e = 0; e < edits && !s.empty(); ++e) {
    const std::size_t at = rng() % s.size();
    switch (op(rng)) {
      case 0: s[at] = static_cast<char>(byte(rng)); break;
      case 1: s.erase(at, 1 + rng() % 8); break;
      case 2: s.insert(at, std::string(1 + rng() % 40, static_cast<char>(byte(rng)))); break;
      case 3: s.insert(at, ","); break;
      default: s.insert(at, "9999999999999999999999e999."); break;
    }
  }
  return rng() % 2 ? nmea(s) : s;
}

TEST(GpsFuzz, MutatedSentencesThroughEveryFormat) {
  std::mt19937 rng(20261208);
  for (int format = 0; format < kGpsFormatCount; ++format) {
    for (bool slam : {false, true}) {
      SurveyZone zone = make_survey_zone(kAutomaticZone);
      for (int i = 0; i < 3000; ++i) {
        const std::string s = mutate(kSeeds[rng() % std::size(kSeeds)], rng);
        check_fix(s, format, slam, zone);
        (void)gsa_pdop(s);
      }
    }
  }
}

TEST(GpsFuzz, RandomByteStreamThroughTheReader) {
  std::mt19937 rng(7);
  for (int format = 0; format < kGpsFormatCount; ++format) {
    FakeClock clock;
    FakeHost host;
    GpsReaderControl control;
    GpsReaderConfig config;
    config.format = make_format_table(format, format == kFormatPseudoGga);
    GpsReaderState reader = make_gps_reader(config);
    ManualGpsBuffers manual;
    gps_reader_begin(reader, control, clock);
    host.status.logging = true;
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 200000; ++i) {
      host.status.survey_mode = (i / 5000) % 3;
      if (i % 7000 == 0) manual.request_record();
      std::uint8_t b;
      const int pick = static_cast<int>(rng() % 10);
      if (pick < 2)
        b = '$';
      else if (pick < 3)
        b = '\n';
      else if (pick < 4)
        b = ',';
      else
        b = static_cast<std::uint8_t>(byte(rng));
      clock.now += rng() % 3;
      gps_reader_feed(reader, b, host, clock, &manual);
      gps_reader_check_silence(reader, control, host, clock);
    }
    for (const testing::Written& w : host.written) EXPECT_LE(w.text.size(), kSentenceWrapLength + 1);
    SurveyZone zone = make_survey_zone(kAutomaticZone);
    for (const std::string& p : host.positions) check_fix(p, format, format == kFormatPseudoGga, zone);
  }
}

TEST(GpsFuzz, ValidSentencesAmongNoiseAreAllFound) {
  std::mt19937 rng(99);
  FakeClock clock;
  FakeHost host;
  GpsReaderControl control;
  GpsReaderConfig config;
  config.minimum_interval_ms = 0;
  GpsReaderState reader = make_gps_reader(config);
  gps_reader_begin(reader, control, clock);
  const std::string gga = nmea(kSeeds[0]);
  int sent = 0;
  for (int i = 0; i < 500; ++i) {
    std::string noise;
    for (int k = static_cast<int>(rng() % 300); k > 0; --k) {
      const auto b = static_cast<char>(rng() % 256);
      if (b != '$' && b != '\n') noise += b;
    }
    for (unsigned char c : noise + "\n" + gga + "\r\n") gps_reader_feed(reader, c, host, clock, nullptr);
    ++sent;
    clock.now += 1;
  }
  EXPECT_EQ(static_cast<int>(host.positions.size()), sent);
}

}  // namespace
}  // namespace quelor
