// Surveys logged by the simulator, gridded through the export's reading
// table: the channels and the default, positions in the file's unit (metres,
// feet) and hemisphere, the grid against the site's true response, and two
// files gridded as one (refused when they do not belong together).

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/options.h"
#include "devsim/simulator.h"
#include "devsim/survey_log.h"
#include "devsim/truth.h"
#include "gps/projection.h"
#include "gps/units.h"
#include "grid/grid.h"
#include "grid/channel_unit.h"
#include "grid/survey_mosaic.h"
#include "grid/survey_samples.h"

namespace quelor {
namespace {

devsim::Options options_of(std::vector<std::string_view> args) {
  for (std::string_view a :
       {"--gps", "gga", "--quality", "4", "--lines", "10", "--line-length", "30", "--spacing", "1"})
    args.push_back(a);
  const devsim::OptionsParse p = devsim::parse_options(args);
  EXPECT_EQ(p.error, "");
  return p.options;
}

std::string logged(const devsim::Options& o, int map_units) {
  const devsim::SurveyLog log = devsim::log_simulated_survey(o, 11, map_units);
  EXPECT_EQ(log.error, "");
  EXPECT_GT(log.readings, 1000u);
  return log.bytes;
}

SurveySamples samples_of(const std::string& bytes, std::string_view channel = "") {
  SurveySamplesResult r = survey_samples(bytes, channel, kAutomaticZone);
  EXPECT_TRUE(r.survey) << r.error;
  return r.survey ? *r.survey : SurveySamples{};
}

TEST(SurveyGrid, TheDefaultChannelIsTheMappedOneAndOthersGoByTheExportsNames) {
  const std::string em31 = logged(options_of({"--instrument", "em31mk2"}), kUnitMetres);
  const SurveySamples s = samples_of(em31);
  EXPECT_EQ(s.channel, "conductivity_vertical_mS_m");
  EXPECT_EQ(s.channels, (std::vector<std::string>{"conductivity_vertical_mS_m", "inphase_vertical_ppt"}));
  EXPECT_EQ(s.samples.size(), s.readings);  // every reading lies between two fixes
  EXPECT_EQ(s.zone, 17);
  EXPECT_FALSE(s.south);
  EXPECT_EQ(samples_of(em31, "inphase_vertical_ppt").channel, "inphase_vertical_ppt");
  EXPECT_EQ(survey_samples(em31, "conductivity_horizontal_mS_m", kAutomaticZone).error,
            "no channel 'conductivity_horizontal_mS_m'");
  EXPECT_FALSE(survey_samples("not a data file\n", "", kAutomaticZone).error.empty());

  const std::string grad = logged(options_of({"--instrument", "grad601", "--sensors", "1"}), kUnitMetres);
  EXPECT_EQ(samples_of(grad).channel, "sensor1_nT");
  EXPECT_EQ(default_channel(kEm61Mk2, {"ch1_mV", "ch2_mV", "ch3_mV", "ch4_mV"}), "ch3_mV");
  EXPECT_EQ(default_channel(kEm61Lx2, {"ch1_mV", "ch2_mV"}), "ch2_mV");
}

TEST(SurveyGrid, AFeetSurveyIsGriddedInFeet) {
  const devsim::Options o = options_of({"--instrument", "em31mk2"});
  const SurveySamples metres = samples_of(logged(o, kUnitMetres));
  for (int unit : {kUnitFeet, kUnitUsFeet}) {
    const SurveySamples feet = samples_of(logged(o, unit));
    EXPECT_EQ(feet.map_units, unit);
    ASSERT_EQ(feet.samples.size(), metres.samples.size());
    for (std::size_t i = 0; i < feet.samples.size(); i += 97) {
      EXPECT_NEAR(feet.samples[i].x * metres_per_unit(unit), metres.samples[i].x, 1e-6);
      EXPECT_NEAR(feet.samples[i].y * metres_per_unit(unit), metres.samples[i].y, 1e-6);
      EXPECT_EQ(feet.samples[i].value, metres.samples[i].value);
    }
    // Lines 1 m apart are 3.28 ft apart: cells of 0.8 ft, blanking at 4.9 ft.
    const GridResult r = grid_points(feet.samples, {});
    EXPECT_NEAR(r.line_spacing, 3.28, 0.15);
    EXPECT_DOUBLE_EQ(r.grid.cell, 0.8);
  }
}

TEST(SurveyGrid, ASouthernSurveyKeepsItsHemisphere) {
  const SurveySamples s =
      samples_of(logged(options_of({"--instrument", "em31mk2", "--origin", "-33.8688,151.2093"}), kUnitMetres));
  EXPECT_EQ(s.zone, 56);
  EXPECT_TRUE(s.south);
  ASSERT_FALSE(s.samples.empty());
  EXPECT_NEAR(s.samples[0].y, 6251000, 5000);  // false northing of the south
}

// The grid of a simulated EM31-MK2 survey against the site's true response,
// inside the area it keeps.
TEST(SurveyGrid, TheGridOfASimulatedSurveyIsCloseToTheTruth) {
  const devsim::Options o = options_of({"--instrument", "em31mk2"});
  const SurveySamples s = samples_of(logged(o, kUnitMetres));
  const GridResult r = grid_points(s.samples, {});
  const devsim::Simulator sim = devsim::make_simulator(o, 11, 0);
  const auto truth = devsim::true_response(sim.site, sim.plan, kEm31Mk2, o.instrument.setup, s.channel);
  ASSERT_TRUE(truth);
  double sum = 0, range_low = INFINITY, range_high = -INFINITY;
  int n = 0;
  for (int row = 0; row < r.grid.rows; ++row)
    for (int c = 0; c < r.grid.columns; ++c) {
      if (std::isnan(r.grid.at(c, row))) continue;
      const double t = (*truth)(r.grid.centre_x(c), r.grid.centre_y(row));
      sum += (r.grid.at(c, row) - t) * (r.grid.at(c, row) - t);
      range_low = std::min(range_low, t);
      range_high = std::max(range_high, t);
      ++n;
    }
  ASSERT_GT(n, 1000);
  const double rms = std::sqrt(sum / n);
  EXPECT_LT(rms, 0.01 * (range_high - range_low)) << "RMS " << rms << " over " << range_high - range_low;
  EXPECT_LT(r.misfit_rms, 0.5);
}

}  // namespace
}  // namespace quelor

namespace quelor {
namespace {

// Damaged files (bytes flipped, cut short, records repeated): a grid or an
// error, never a crash or a grid that runs away from the readings' range.
TEST(SurveyGrid, DamagedFilesGiveAGridOrAnError) {
  const std::string good = logged(options_of({"--instrument", "em31mk2"}), kUnitMetres);
  std::mt19937 rng(2026);
  for (int round = 0; round < 60; ++round) {
    std::string bytes = good;
    std::uniform_int_distribution<std::size_t> at(0, bytes.size() - 1);
    for (int k = 0; k < 1 + round % 20; ++k) bytes[at(rng)] = static_cast<char>(rng());
    if (round % 3 == 0) bytes.resize(at(rng));
    if (round % 5 == 0) bytes += bytes.substr(0, bytes.size() / 3);
    const SurveySamplesResult s = survey_samples(bytes, "", kAutomaticZone);
    if (!s.survey) {
      EXPECT_FALSE(s.error.empty());
      continue;
    }
    const GridResult r = grid_points(s.survey->samples, {});
    if (!r.error.empty()) continue;
    double low = INFINITY, high = -INFINITY;
    for (const GridSample& p : s.survey->samples) {
      low = std::min(low, p.value);
      high = std::max(high, p.value);
    }
    // Damaged positions may put different readings side by side, and
    // minimum curvature overshoots between them, but it never runs away.
    const double reach = 2 * (high - low) + 1;
    EXPECT_GE(r.minimum, low - reach) << round;
    EXPECT_LE(r.maximum, high + reach) << round;
  }
}

TEST(SurveyGrid, AMosaicOfTwoFilesIsTheGridOfTheirJoinedReadingsAndMixedFilesAreRefused) {
  const std::string north =
      logged(options_of({"--instrument", "em31mk2", "--origin", "43.6104,-79.6000"}), kUnitMetres);
  const std::string south = logged(options_of({"--instrument", "em31mk2"}), kUnitMetres);
  const SurveySamples a = samples_of(north), b = samples_of(south);
  const SurveyMosaicResult m = survey_mosaic({{"north.T31", a}, {"south.T31", b}});
  ASSERT_TRUE(m.survey) << m.error;
  EXPECT_EQ(m.survey->readings, a.readings + b.readings);
  EXPECT_EQ(m.survey->part_ends, std::vector<std::size_t>{a.samples.size()});
  std::vector<GridSample> joined = a.samples;
  joined.insert(joined.end(), b.samples.begin(), b.samples.end());
  const GridResult mosaic = grid_points(m.survey->samples, {}), direct = grid_points(joined, {});
  ASSERT_TRUE(mosaic.error.empty()) << mosaic.error;
  EXPECT_EQ(mosaic.grid.columns, direct.grid.columns);
  EXPECT_EQ(mosaic.grid.rows, direct.grid.rows);
  for (std::size_t k = 0; k < direct.grid.values.size(); ++k) {
    const float x = mosaic.grid.values[k], y = direct.grid.values[k];
    ASSERT_TRUE(std::isnan(x) ? std::isnan(y) : x == y) << k;
  }
  // A file at a time, as several days are gridded: the same grid; a file
  // that is not handed again as it was is an error, never a grid.
  GridSurvey survey;
  survey_file(survey, a.samples);
  survey_file(survey, b.samples);
  const auto files_handing = [&](std::vector<const SurveySamples*> handed) -> GridFiles {
    return [handed](const GridFileVisitor& visit) {
      for (const SurveySamples* s : handed) visit(s->samples);
      return true;
    };
  };
  const GridResult streamed = grid_survey(survey, {}, files_handing({&a, &b}));
  const GridResult held = grid_points(joined, {}, std::vector<std::size_t>{a.samples.size()});
  ASSERT_TRUE(streamed.error.empty()) << streamed.error;
  ASSERT_EQ(streamed.grid.values.size(), held.grid.values.size());
  EXPECT_EQ(streamed.grid.kinds, held.grid.kinds);
  EXPECT_EQ(streamed.misfit_rms, held.misfit_rms);
  for (std::size_t k = 0; k < held.grid.values.size(); ++k) {
    const float x = streamed.grid.values[k], y = held.grid.values[k];
    ASSERT_TRUE(std::isnan(x) ? std::isnan(y) : x == y) << k;
  }
  const GridFiles unreadable = [](const GridFileVisitor&) { return false; };
  for (const GridFiles& changed : {unreadable, files_handing({&a})})
    EXPECT_EQ(grid_survey(survey, {}, changed).error, "a data file changed while it was gridded");

  // Both surveys lie in the mosaic; the 14 m between them is blank.
  EXPECT_GT(mosaic.grid.rows * mosaic.grid.cell, 70.0);
  EXPECT_GT(mosaic.blanked, 14 / mosaic.grid.cell * mosaic.grid.columns * 0.9);

  struct Mixed {
    const char* args;
    int map_units;
    const char* error;
  };
  const Mixed cases[] = {
      {"grad601", kUnitMetres, "north.T31 and other.T31 are of different instruments: they cannot be one survey"},
      {"em31mk2 feet", kUnitFeet, "north.T31 and other.T31 are of different units: they cannot be one survey"},
      {"em31mk2 far", kUnitMetres, "north.T31 and other.T31 are of different UTM zones: they cannot be one survey"},
  };
  for (const Mixed& c : cases) {
    const std::string_view args = c.args;
    std::vector<std::string_view> o = {"--instrument", args.substr(0, args.find(' '))};
    if (args.starts_with("grad601")) o.insert(o.end(), {"--sensors", "1"});
    if (args.ends_with("far")) o.insert(o.end(), {"--origin", "43.6099,-76.0"});
    const SurveySamples other = samples_of(logged(options_of(o), c.map_units));
    EXPECT_EQ(survey_mosaic({{"north.T31", a}, {"other.T31", other}}).error, c.error);
  }
  EXPECT_EQ(survey_mosaic({}).error, "no data file");
}

TEST(SurveyGrid, EveryChannelNamesItsUnit) {
  struct Case {
    const char* channel;
    const char* unit;
  };
  for (const Case& c : {Case{"conductivity_vertical_mS_m", "mS/m"}, Case{"inphase_hcp_100cm_ppt", "ppt"},
                        Case{"ch3_mV", "mV"}, Case{"sensor2_nT", "nT"}, Case{"aux1", ""}, Case{"_mV", ""}})
    EXPECT_EQ(channel_unit(c.channel), c.unit) << c.channel;
}

}  // namespace
}  // namespace quelor
