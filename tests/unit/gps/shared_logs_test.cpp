// The real receiver logs of the shared folder through the reader, byte by
// byte, with every format: what is forwarded and logged follows the rules.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gps/checksum.h"
#include "gps/parser.h"
#include "gps/reader.h"
#include "gps/survey_zone.h"
#include "reader_fakes.h"

namespace quelor {
namespace {

std::vector<std::filesystem::path> shared_logs() {
  std::vector<std::filesystem::path> logs;
#ifdef QUELOR_SHARED_DIR
  const std::filesystem::path dir = std::filesystem::path(QUELOR_SHARED_DIR) / "nmea";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
    if (entry.path().extension() == ".log") logs.push_back(entry.path());
#endif
  return logs;
}

TEST(SharedLogs, ReaderRulesHoldOnRealReceivers) {
  const std::vector<std::filesystem::path> logs = shared_logs();
  if (logs.empty()) GTEST_SKIP() << "no NMEA logs in the shared folder";
  long forwarded = 0, valid = 0;
  for (const auto& path : logs) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (int format = 0; format < kGpsFormatCount; ++format) {
      testing::FakeClock clock;
      testing::FakeHost host;
      host.status.logging = true;
      GpsReaderControl control;
      GpsReaderConfig config;
      config.format = make_format_table(format, false);
      GpsReaderState reader = make_gps_reader(config);
      gps_reader_begin(reader, control, clock);
      for (unsigned char c : bytes) {
        clock.now += 2;
        gps_reader_feed(reader, c, host, clock, nullptr);
      }
      for (const testing::Written& w : host.written) {
        const bool accepted = w.text[0] == '$' && (!config.format.checksum_required || checksum_ok(w.text));
        EXPECT_EQ(w.markers == kMarkerSetQ, !accepted) << path << " " << w.text;
      }
      SurveyZone zone = make_survey_zone(kAutomaticZone);
      for (const std::string& p : host.positions) {
        ++forwarded;
        EXPECT_NE(p.find(config.format.sentence_name), std::string::npos) << p;
        if (config.format.checksum_required) {
          EXPECT_TRUE(checksum_ok(p)) << p;
        }
        GpsFix fix = parse_gps_fix(p, config.format, FixOptions{});
        project_fix(zone, fix);
        if (!fix.valid) continue;
        ++valid;
        EXPECT_TRUE(std::isfinite(fix.northing) && std::isfinite(fix.easting)) << p;
        if (fix.geographic) {
          EXPECT_LE(std::abs(fix.latitude), 90.0) << p;
          EXPECT_LE(std::abs(fix.longitude), 180.0) << p;
        }
      }
    }
  }
  EXPECT_GT(forwarded, 100);
  EXPECT_GT(valid, 50);
}

}  // namespace
}  // namespace quelor
