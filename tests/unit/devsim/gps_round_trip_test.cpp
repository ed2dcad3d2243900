// Simulated receiver output through the program's sentence assembly,
// checksum test, parser and projection back to the walk's positions.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "devsim/gps_receiver.h"
#include "devsim/nmea_sentence.h"
#include "gps/assembler.h"
#include "gps/checksum.h"
#include "gps/formats.h"
#include "gps/parser.h"
#include "gps/projection.h"
#include "stream_helpers.h"

namespace quelor::devsim {
namespace {

struct FormatCase {
  devsim::GpsFormat format;
  int program_format;  // index of the "GPS Data:" choice
  bool slam;
  RtsUnits units;
  int rts_units_setting;  // 0 international feet, 1 US survey feet
};

class GpsRoundTrip : public ::testing::TestWithParam<FormatCase> {};

// Every complete line the program's GPS reader assembles from `stream`.
std::vector<std::string> assemble(const std::string& stream) {
  SentenceAssembler a;
  std::vector<std::string> lines;
  for (char c : stream)
    if (assemble_byte(a, static_cast<std::uint8_t>(c), 0)) lines.emplace_back(assembled_line(a));
  return lines;
}

TEST_P(GpsRoundTrip, PositionsComeBackWithinAMillimetre) {
  const FormatCase fc = GetParam();
  const WalkPlan plan = testing::test_plan();
  GpsConfig config;
  config.style.format = fc.format;
  config.style.slam = fc.slam;
  config.style.rts_units = fc.units;
  config.noise = 0;
  config.zone = plan.origin.zone;
  GpsState state;
  state.quality = 4;
  state.satellites = 14;
  state.hdop = 0.7;

  const FormatTable table = make_format_table(fc.program_format, fc.slam);
  const FixOptions options{fc.rts_units_setting, true};
  std::vector<WalkPoint> sent;
  std::string stream;
  double t = 0;
  for (const WalkPoint& w : testing::walk_points(plan, 0.9)) {
    t += 0.5;
    sent.push_back(w);
    const devsim::GpsFix fix = make_fix(config, state, w, plan.speed, t, 45000 + t, nullptr);
    for (const std::string& s : gps_epoch(config, state, fix)) stream += s;
  }

  std::size_t positions = 0, gsa = 0;
  for (const std::string& line : assemble(stream)) {
    if (table.checksum_required) {
      ASSERT_TRUE(checksum_ok(line)) << line;
    }
    if (line.find(table.sentence_name) == std::string::npos) {
      EXPECT_NE(line.find("GSA"), std::string::npos) << line;
      ++gsa;
      continue;
    }
    ASSERT_LT(positions, sent.size());
    const WalkPoint& w = sent[positions++];
    const quelor::GpsFix f = parse_gps_fix(line, table, options);
    ASSERT_EQ(f.valid, 1) << line;
    double northing = f.northing, easting = f.easting;
    if (f.geographic) {
      const quelor::GridPoint g = project_to_utm(f.latitude, f.longitude, plan.origin.zone);
      northing = g.northing;
      easting = g.easting;
    }
    EXPECT_NEAR(northing, w.northing, 0.001) << line;
    EXPECT_NEAR(easting, w.easting, 0.001) << line;
    if (format_has_role(table, kRoleSatellites)) {
      EXPECT_EQ(f.satellites, 14);
    }
    if (format_has_role(table, kRoleQuality)) {
      EXPECT_EQ(f.quality, 4) << line;
      // POS sends the Ashtech mode (3, RTK fixed); the label follows the field.
      EXPECT_EQ(f.quality_label, fc.format == devsim::GpsFormat::kPos ? "RTK3" : "RTK4");
    }
    EXPECT_NEAR(f.time_of_day, 45000 + 0.5 * static_cast<double>(positions), 0.006) << line;
  }
  EXPECT_EQ(positions, sent.size());
  EXPECT_EQ(gsa, fc.format == devsim::GpsFormat::kGgaGsa ? sent.size() : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, GpsRoundTrip,
    ::testing::Values(FormatCase{devsim::GpsFormat::kGgaGsa, kFormatGgaGsa, false, RtsUnits::kMetres, 0},
                      FormatCase{devsim::GpsFormat::kGga, kFormatGga, false, RtsUnits::kMetres, 0},
                      FormatCase{devsim::GpsFormat::kPos, kFormatPos, false, RtsUnits::kMetres, 0},
                      FormatCase{devsim::GpsFormat::kLlk, kFormatLlk, false, RtsUnits::kMetres, 0},
                      FormatCase{devsim::GpsFormat::kLlq, kFormatLlq, false, RtsUnits::kMetres, 0},
                      FormatCase{devsim::GpsFormat::kGll, kFormatGll, false, RtsUnits::kMetres, 0},
                      FormatCase{devsim::GpsFormat::kGgk, kFormatGgk, false, RtsUnits::kMetres, 0},
                      FormatCase{devsim::GpsFormat::kPseudoGga, kFormatPseudoGga, false, RtsUnits::kMetres, 0},
                      FormatCase{devsim::GpsFormat::kPseudoGga, kFormatPseudoGga, true, RtsUnits::kMetres, 0},
                      FormatCase{devsim::GpsFormat::kPseudoGga, kFormatPseudoGga, false, RtsUnits::kInternationalFeet,
                                 0},
                      FormatCase{devsim::GpsFormat::kPseudoGga, kFormatPseudoGga, true, RtsUnits::kUsSurveyFeet, 1},
                      FormatCase{devsim::GpsFormat::kPseudoGll, kFormatPseudoGll, false, RtsUnits::kMetres, 0}));

TEST(GpsReceiver, SlamExtrasReachTheDisplayFields) {
  GpsConfig config;
  config.style.format = devsim::GpsFormat::kPseudoGga;
  config.style.slam = true;
  GpsState state;
  state.quality = 4;
  state.satellites = 9;
  const WalkPlan plan = testing::test_plan();
  const devsim::GpsFix fix = make_fix(config, state, walk_at_distance(plan, 3), 1, 0, 100, nullptr);
  const auto lines = assemble(gps_epoch(config, state, fix)[0]);
  ASSERT_EQ(lines.size(), 1u);
  const quelor::GpsFix f = parse_gps_fix(lines[0], make_format_table(kFormatPseudoGga, true), {0, true});
  EXPECT_EQ(f.valid, 1);
  EXPECT_EQ(f.satellites_shown, 9);
  EXPECT_NEAR(f.extras[0], fix.slam_a, 0.0005);
  EXPECT_NEAR(f.extras[1], fix.slam_b, 0.0005);
  EXPECT_NEAR(f.extras[2], fix.slam_c, 0.0005);
}

TEST(GpsReceiver, NoFixGivesAnInvalidFixInEveryFormat) {
  for (int f = 0; f < kGpsFormatCount; ++f) {
    GpsConfig config;
    config.style.format = static_cast<devsim::GpsFormat>(f);
    GpsState state;
    state.quality = 0;
    const devsim::GpsFix fix = make_fix(config, state, walk_at_distance(testing::test_plan(), 1), 1, 0, 10, nullptr);
    const std::vector<std::string> sentences = gps_epoch(config, state, fix);
    const quelor::GpsFix parsed = parse_gps_fix(assemble(sentences[0])[0], make_format_table(f, false), {});
    EXPECT_EQ(parsed.valid, 0) << sentences[0];
  }
}

TEST(GpsReceiver, PositionErrorFitsTheQuality) {
  const WalkPlan plan = testing::test_plan();
  for (int quality : {1, 2, 4, 5}) {
    GpsConfig config;
    config.zone = plan.origin.zone;
    GpsState state;
    state.quality = quality;
    Rng rng(99);
    double sum2 = 0;
    const int n = 3000;
    for (int i = 0; i < n; ++i) {
      const WalkPoint w = walk_at_distance(plan, 0.1 * i);
      const devsim::GpsFix fix = make_fix(config, state, w, 1, 2.0 * i, 2.0 * i, &rng);
      sum2 += std::pow(fix.easting - w.easting, 2) + std::pow(fix.northing - w.northing, 2);
    }
    const double rms = std::sqrt(sum2 / n);
    EXPECT_GT(rms, 0.5 * position_sigma(quality)) << quality;
    EXPECT_LT(rms, 1.6 * position_sigma(quality)) << quality;
  }
}

TEST(GpsReceiver, BadChecksumsAreCountedDownAndFailTheProgramsTest) {
  GpsConfig config;
  config.style.format = devsim::GpsFormat::kGgaGsa;
  GpsState state;
  state.bad_checksums_left = 3;
  const devsim::GpsFix fix = make_fix(config, state, walk_at_distance(testing::test_plan(), 1), 1, 0, 10, nullptr);
  std::vector<bool> ok;
  for (int epoch = 0; epoch < 3; ++epoch)
    for (const std::string& s : gps_epoch(config, state, fix)) ok.push_back(checksum_ok(assemble(s)[0]));
  EXPECT_EQ(ok, (std::vector<bool>{false, false, false, true, true, true}));
  EXPECT_EQ(state.bad_checksums_left, 0);
}

}  // namespace
}  // namespace quelor::devsim
