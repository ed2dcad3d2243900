// Gridding on analytic surfaces sampled along lines: a plane is reproduced
// exactly, a smooth bump within a stated tolerance, cells beyond the
// blanking distance are no data, a missed line is blank unless filled, the
// automatic cell and blanking follow the line spacing, and `nearest` takes
// the nearest reading.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "grid/cell_kinds.h"
#include "grid/contours.h"
#include "grid/progress_gate.h"
#include "grid/grid.h"
#include "grid/line_spacing.h"
#include "grid/pass_spacing.h"
#include "grid/reading_distance.h"

namespace quelor {
namespace {

using Surface = std::function<double(double, double)>;

// Lawnmower lines along y, `spacing` apart, a reading every `step`, with a
// little wander across the line as a walker has.
std::vector<GridSample> walk(int lines, double length, double spacing, double step, const Surface& f,
                             unsigned seed = 5) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> wander(-0.05, 0.05);
  std::vector<GridSample> out;
  for (int i = 0; i < lines; ++i)
    for (double t = 0; t <= length; t += step) {
      const double x = 100 + i * spacing + wander(rng), y = 200 + (i % 2 ? length - t : t);
      out.push_back({x, y, f(x, y)});
    }
  return out;
}

double brute_distance(const std::vector<GridSample>& s, double x, double y) {
  double best = INFINITY;
  for (const GridSample& p : s) best = std::min(best, std::hypot(p.x - x, p.y - y));
  return best;
}

TEST(Grid, APlaneIsReproducedExactly) {
  const Surface plane = [](double x, double y) { return 3.0 + 0.5 * (x - 100) - 0.25 * (y - 200); };
  const auto samples = walk(12, 20, 1.0, 0.05, plane);
  for (double tension : {0.0, 0.25, 0.75}) {
    GridOptions o;
    o.tension = tension;
    const GridResult r = grid_points(samples, o);
    ASSERT_TRUE(r.error.empty());
    int cells = 0;
    for (int row = 0; row < r.grid.rows; ++row)
      for (int c = 0; c < r.grid.columns; ++c) {
        if (std::isnan(r.grid.at(c, row))) continue;
        ++cells;
        ASSERT_NEAR(r.grid.at(c, row), plane(r.grid.centre_x(c), r.grid.centre_y(row)), 2e-5)
            << "tension " << tension << " cell " << c << "," << row;
      }
    EXPECT_GT(cells, 3000);
  }
}

TEST(Grid, ReadingsWanderingAcrossTheCellsNeverDriveTheSurfaceAway) {
  // Fixes scattered a few decimetres about lines 1 m apart leave readings
  // anywhere in a cell, near the inner corners of edge cells too; with these
  // readings, ties across the edges once drove the surface to 1e20.
  const Surface field = [](double x, double y) {
    return 20 + 0.3 * (x - 100) + 10 * std::exp(-((x - 108) * (x - 108) + (y - 215) * (y - 215)) / 8);
  };
  std::mt19937 rng(28);
  std::normal_distribution<double> scatter(0, 0.4);
  std::vector<GridSample> samples;
  for (int i = 0; i < 16; ++i)
    for (double t = 0; t <= 30; t += 0.04) {
      const double x = 100 + i + scatter(rng), y = 200 + (i % 2 ? 30 - t : t) + scatter(rng);
      samples.push_back({x, y, field(x, y)});
    }
  const auto [low, high] = std::minmax_element(
      samples.begin(), samples.end(), [](const GridSample& a, const GridSample& b) { return a.value < b.value; });
  const double span = high->value - low->value;
  for (double cell : {0.25, 0.5, 0.75}) {
    GridOptions o;
    o.cell = cell;
    const GridResult r = grid_points(samples, o);
    ASSERT_TRUE(r.error.empty());
    EXPECT_GT(r.minimum, low->value - span / 4) << "cell " << cell;
    EXPECT_LT(r.maximum, high->value + span / 4) << "cell " << cell;
    EXPECT_LT(r.misfit_rms, span / 20) << "cell " << cell;
  }
}

TEST(Grid, ASmoothBumpIsWithinOnePercentOfItsHeight) {
  // A 10-unit Gaussian bump of 3 m radius between lines 1 m apart.
  const Surface bump = [](double x, double y) {
    const double dx = x - 106.3, dy = y - 210.2;
    return 10.0 * std::exp(-(dx * dx + dy * dy) / (2 * 3.0 * 3.0));
  };
  const auto samples = walk(14, 20, 1.0, 0.04, bump);
  GridOptions o;
  std::vector<std::string> told;
  o.progress = [&](const std::string& what) { told.push_back(what); };
  const GridResult r = grid_points(samples, o);
  // What the gridding told on its way: minimum curvature from the coarsest
  // cells, each half the one before, to the grid's own.
  ASSERT_GE(told.size(), 5u);
  EXPECT_EQ(told[0], "line spacing");
  EXPECT_EQ(told[1], "distances to the readings");
  for (std::size_t k = 2; k + 1 < told.size(); ++k) {
    char cell[32];
    std::snprintf(cell, sizeof cell, "%g", r.grid.cell * (1 << (told.size() - 2 - k)));
    EXPECT_EQ(told[k], std::string("minimum curvature at cells of ") + cell);
  }
  EXPECT_EQ(told.back(), "blanking");
  double sum = 0, worst = 0;
  int n = 0;
  for (int row = 0; row < r.grid.rows; ++row)
    for (int c = 0; c < r.grid.columns; ++c) {
      if (std::isnan(r.grid.at(c, row))) continue;
      const double e = r.grid.at(c, row) - bump(r.grid.centre_x(c), r.grid.centre_y(row));
      sum += e * e;
      worst = std::max(worst, std::fabs(e));
      ++n;
    }
  EXPECT_LT(std::sqrt(sum / n), 0.01);  // RMS: 0.1 % of the height
  EXPECT_LT(worst, 0.1);                // anywhere: 1 %
}

TEST(Grid, FilledCellsBeyondTheBlankingDistanceHaveNoData) {
  // Two groups of lines 8 m apart: the gap between them is blanked even
  // when filling.
  auto samples = walk(4, 10, 1.0, 0.05, [](double, double) { return 1.0; });
  for (GridSample s : walk(
           4, 10, 1.0, 0.05, [](double, double) { return 1.0; }, 9)) {
    s.x += 11;
    samples.push_back(s);
  }
  for (double blank : {0.0, 2.2}) {
    GridOptions o;
    o.blank = blank;
    o.fill = true;
    const GridResult r = grid_points(samples, o);
    EXPECT_NEAR(r.line_spacing, 1.0, 0.1);  // the nearest of a wandering line: a little less
    EXPECT_DOUBLE_EQ(r.blank, blank > 0 ? blank : 1.5 * r.line_spacing);
    std::size_t blanked = 0;
    for (int row = 0; row < r.grid.rows; ++row)
      for (int c = 0; c < r.grid.columns; ++c) {
        const double d = brute_distance(samples, r.grid.centre_x(c), r.grid.centre_y(row));
        const bool empty = std::isnan(r.grid.at(c, row));
        blanked += empty;
        // The cell's nearest reading is found through the cells: within a
        // hundredth of a cell of the true distance.
        if (d < r.blank - 0.01 * r.grid.cell) {
          EXPECT_FALSE(empty) << c << "," << row << " at " << d;
        }
        if (d > r.blank + 0.01 * r.grid.cell) {
          EXPECT_TRUE(empty) << c << "," << row << " at " << d;
        }
      }
    EXPECT_EQ(blanked, r.blanked);
    EXPECT_GT(blanked, 0u);
  }
}

// Lines 1 m apart, 20 m long, x = 100 ... 111; `missed` lines left out.
struct MissedLineCase {
  std::vector<int> missed;
  bool fill;
  bool track_blank;  // the missed lines' tracks have no data
};

TEST(Grid, AMissedLineIsBlankUnlessFilledAndACompleteSurveyKeepsItsValues) {
  const Surface f = [](double x, double y) { return 20 + 5 * std::sin(0.4 * x) + 0.2 * y; };
  const MissedLineCase cases[] = {{{}, false, false}, {{6}, false, true}, {{6}, true, false}, {{3, 8}, false, true}};
  for (const MissedLineCase& c : cases) {
    std::vector<GridSample> samples;
    for (const GridSample& s : walk(12, 20, 1.0, 0.05, f))
      if (std::find(c.missed.begin(), c.missed.end(), static_cast<int>(std::lround(s.x - 100))) == c.missed.end())
        samples.push_back(s);
    GridOptions o;
    o.fill = c.fill;
    const GridResult r = grid_points(samples, o);
    GridOptions filling = o;
    filling.fill = true;
    const GridResult filled = grid_points(samples, filling);
    ASSERT_TRUE(r.error.empty()) << r.error;
    ASSERT_EQ(r.grid.kinds.size(), r.grid.values.size());
    std::size_t track = 0, track_blank = 0, measured = 0;
    for (int row = 0; row < r.grid.rows; ++row)
      for (int col = 0; col < r.grid.columns; ++col) {
        const double x = r.grid.centre_x(col), y = r.grid.centre_y(row);
        const float v = r.grid.at(col, row);
        const std::uint8_t kind = r.grid.kinds[static_cast<std::size_t>(row) * r.grid.columns + col];
        EXPECT_EQ(std::isnan(v), kind == kCellBlank);
        measured += kind == kCellMeasured;
        // What is kept is what filling gives: the same solution.
        if (!std::isnan(v)) {
          ASSERT_EQ(v, filled.grid.at(col, row)) << col << "," << row;
        }
        const bool inside = x > 100.2 && x < 110.8 && y > 200.2 && y < 219.8;
        // The gap of a missed line: beyond the reach of its neighbours.
        bool in_gap = false, on_missed = false;
        for (int m : c.missed) {
          in_gap |= std::fabs(x - (100 + m)) < 0.6;
          on_missed |= std::fabs(x - (100 + m)) < 0.3;
        }
        if (inside && !in_gap) {
          ASSERT_FALSE(std::isnan(v)) << "interior cell " << col << "," << row;
        }
        if (inside && on_missed) {
          ++track;
          track_blank += std::isnan(v);
        }
      }
    EXPECT_EQ(measured, r.measured);
    EXPECT_EQ(track_blank, c.track_blank ? track : 0u) << "of " << track << " cells along the missed lines";
    if (c.missed.empty()) {
      EXPECT_EQ(track, 0u);
    }
  }
}

// The cells' kinds against the rule taken reading by reading: a cell holding
// a reading is measured; one within the reach of its nearest reading is
// interpolated, as is one with a reading in the half-plane away from its
// nearest within the blanking distance less that nearest's distance.
TEST(Grid, EveryCellsKindIsTheRuleAppliedToEveryReading) {
  const Surface f = [](double x, double y) { return x + y; };
  std::vector<GridSample> samples;
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> ragged(0.0, 4.0);
  for (const GridSample& s : walk(10, 16, 1.0, 0.1, f, 3))
    if (std::lround(s.x - 100) != 4 && s.y - 200 > ragged(rng)) samples.push_back(s);  // a missed line, ragged ends
  struct Case {
    double cell, blank, reach;
  };
  for (const Case& c : {Case{0.25, 1.5, 0.5}, Case{0.2, 2.5, 0.1}, Case{0.5, 3.0, 0.3}}) {
    GridOptions o;
    o.cell = c.cell;
    o.blank = c.blank;
    o.reach = c.reach;
    o.method = GridMethod::kNearest;
    const GridResult r = grid_points(samples, o);
    ASSERT_TRUE(r.error.empty()) << r.error;
    const NearestReadings nearest = nearest_readings(r.grid, samples);
    std::size_t interpolated_beyond = 0;
    for (int row = 0; row < r.grid.rows; ++row)
      for (int col = 0; col < r.grid.columns; ++col) {
        const std::size_t k = static_cast<std::size_t>(row) * r.grid.columns + col;
        const double x = r.grid.centre_x(col), y = r.grid.centre_y(row), d = nearest.distance[k];
        bool holds = false, beyond = false;
        for (const GridSample& s : samples) {
          holds |= std::floor((s.x - r.grid.west) / c.cell) == col && std::floor((r.grid.north - s.y) / c.cell) == row;
          const double dx = s.x - x, dy = s.y - y;
          beyond |= dx * (nearest.x[k] - x) + dy * (nearest.y[k] - y) < 0 &&
                    dx * dx + dy * dy <= (c.blank - d) * (c.blank - d);
        }
        std::uint8_t kind = kCellBlank;
        if (holds && d <= c.blank)
          kind = kCellMeasured;
        else if (d <= c.reach || (2 * d <= c.blank && beyond))
          kind = kCellInterpolated;
        interpolated_beyond += kind == kCellInterpolated && d > c.reach;
        ASSERT_EQ(r.grid.kinds[k], kind) << "cell " << col << "," << row << " at cells of " << c.cell;
      }
    EXPECT_GT(interpolated_beyond, 0u) << "no cell waited on a reading beyond it at cells of " << c.cell;
  }
}

TEST(Grid, TheAutomaticCellIsAQuarterOfTheLineSpacingInFiveCentimetres) {
  struct Case {
    double spacing, cell;
  };
  for (const Case& c : {Case{2.0, 0.5}, Case{0.7, 0.2}, Case{1.0, 0.25}, Case{0.3, 0.1}, Case{0.1, 0.1}})
    EXPECT_DOUBLE_EQ(automatic_cell(c.spacing), c.cell) << c.spacing;
  const auto samples = walk(8, 30, 2.0, 0.1, [](double x, double) { return x; });
  EXPECT_NEAR(median_line_spacing(samples), 2.0, 0.1);
  // The same lines walked again another day, 0.15 m off: each day's own
  // passes give the spacing, not the other day's pass over the same line.
  std::vector<GridSample> two_days = samples;
  for (GridSample s : samples) two_days.push_back({s.x + 0.15, s.y, s.value});
  const std::size_t first_day_end[] = {samples.size()};
  EXPECT_NEAR(median_line_spacing(two_days, first_day_end), 2.0, 0.1);
  EXPECT_LT(median_line_spacing(two_days), 0.5);
  // A GPS fix that wanders slowly (0.4 m, for some 20 m along the line)
  // brings passes closer on one side as it takes them away on the other:
  // the spacing is that of either side, not of the nearer.
  std::mt19937 rng(9);
  std::normal_distribution<double> step(0, 1);
  std::vector<GridSample> wandering;
  double east = 0, north = 0;
  for (int i = 0; i < 16; ++i)
    for (double t = 0; t <= 40; t += 0.04) {
      const double keep = std::exp(-0.04 / 20), fresh = std::sqrt(1 - keep * keep) * 0.4;
      east = keep * east + fresh * step(rng);
      north = keep * north + fresh * step(rng);
      wandering.push_back({100 + 2.0 * i + east, 200 + (i % 2 ? 40 - t : t) + north, 0});
    }
  EXPECT_NEAR(median_line_spacing(wandering), 2.0, 0.15);
  const GridResult r = grid_points(samples, {});
  EXPECT_DOUBLE_EQ(r.grid.cell, 0.5);
  EXPECT_NEAR(r.blank, 3.0, 0.15);
}

// A walk of parallel passes, `order` giving which line each pass walks, at
// 1 m/s with a fix a second and ten readings between fixes: the receiver's
// error drifts `sigma` on each axis over some 20 s.
std::vector<GridSample> drifting_walk(const std::vector<int>& order, double spacing, double length, double heading,
                                      double sigma, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> fresh(0, 1);
  const double keep = std::exp(-1.0 / 20), kick = std::sqrt(1 - keep * keep) * sigma;
  const double ux = std::cos(heading), uy = std::sin(heading);
  double east = 0, north = 0;
  std::vector<GridSample> out;
  for (std::size_t k = 0; k < order.size(); ++k)
    for (int metre = 0; metre < static_cast<int>(length); ++metre) {
      const double east0 = east, north0 = north;
      east = keep * east + kick * fresh(rng);
      north = keep * north + kick * fresh(rng);
      for (int r = 0; r < 10; ++r) {
        const double f = r / 10.0, t = metre + f;
        const double along = k % 2 ? length - t : t, across = order[k] * spacing;
        out.push_back({500 + along * ux - across * uy + east0 + f * (east - east0),
                       300 + along * uy + across * ux + north0 + f * (north - north0), 0});
      }
    }
  return out;
}

std::vector<int> lines_in_order(int count, int first = 0, int by = 1) {
  std::vector<int> out;
  for (int i = 0; i < count; ++i) out.push_back(first + i * by);
  return out;
}

// An autonomous receiver's drift (a metre and more on lines a metre apart)
// brings passes across each other: the nearest readings of other passes
// tell half the spacing, the passes' offsets tell it. Where the lines keep
// apart, the nearest readings tell it as before.
TEST(Grid, TheLineSpacingOfDriftingPassesComesFromThePassesOffsets) {
  struct Case {
    const char* name;
    std::vector<int> order;
    double spacing, sigma, low, high;
    bool from_passes;
  };
  std::vector<int> interleaved = lines_in_order(15, 0, 2);  // every second line, then those between
  for (int line : lines_in_order(15, 1, 2)) interleaved.push_back(line);
  const Case cases[] = {
      {"1 m apart, drifting 1.06 m", lines_in_order(30), 1.0, 1.06, 0.85, 1.15, true},
      {"2 m apart, drifting 1.41 m", lines_in_order(30), 2.0, 1.41, 1.7, 2.3, true},
      {"walked westward", lines_in_order(30, 0, -1), 1.0, 1.06, 0.85, 1.15, true},
      {"1 m apart, steady", lines_in_order(30), 1.0, 0.02, 0.97, 1.03, false},
      {"every second line first, steady", interleaved, 1.0, 0.02, 0.97, 1.03, false},
  };
  for (const Case& c : cases) {
    for (double heading : {0.0, 0.6}) {
      SCOPED_TRACE(std::string(c.name) + " at heading " + std::to_string(heading));
      const std::vector<GridSample> s = drifting_walk(c.order, c.spacing, 60, heading, c.sigma, 17);
      LineSpacingTally t;
      tally_line_spacing(t, s);
      LineSpacingTally nearest_only = t;
      nearest_only.pass_steps.clear();
      const double spacing = median_line_spacing(t), nearest = median_line_spacing(nearest_only);
      EXPECT_GE(spacing, c.low);
      EXPECT_LE(spacing, c.high);
      if (c.from_passes) {
        EXPECT_LT(nearest, 0.8 * c.spacing);  // what the nearest readings alone tell
      } else {
        EXPECT_EQ(spacing, nearest);
      }
    }
  }
}

// The passes' offsets, step by step: parallel passes at any heading and
// either way across give the spacing; a single line, a walk without one
// direction, or too few passes give none.
TEST(Grid, PassStepsAreTheOffsetsBetweenPassesOverTheLinesBetween) {
  for (double heading : {0.0, 0.5, 1.5708, 2.8}) {
    SCOPED_TRACE(heading);
    for (int by : {1, -1}) {
      std::vector<double> steps;
      add_pass_steps(drifting_walk(lines_in_order(10, 0, by), 1.5, 40, heading, 0.0, 1), steps);
      ASSERT_FALSE(steps.empty());
      for (double step : steps) EXPECT_NEAR(step, 1.5, 1e-6);
    }
  }
  std::vector<double> steps;
  add_pass_steps(drifting_walk(lines_in_order(1), 1.0, 100, 0.0, 0.0, 1), steps);
  add_pass_steps(drifting_walk(lines_in_order(4), 1.0, 40, 0.0, 0.0, 1), steps);
  std::mt19937 rng(4);
  std::uniform_real_distribution<double> u(0, 50);
  std::vector<GridSample> scatter;
  for (int i = 0; i < 5000; ++i) scatter.push_back({u(rng), u(rng), 0});
  add_pass_steps(scatter, steps);
  EXPECT_TRUE(steps.empty());
}

TEST(Grid, NearestTakesTheValueOfTheNearestReading) {
  for (unsigned seed : {3u, 4u, 5u}) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0, 10);
    std::vector<GridSample> samples;
    for (int i = 0; i < 300; ++i) samples.push_back({u(rng), u(rng), static_cast<double>(i)});
    GridOptions o;
    o.method = GridMethod::kNearest;
    o.cell = 0.2;
    o.blank = 100;
    o.fill = true;
    const GridResult r = grid_points(samples, o);
    int mismatches = 0;
    double worst = 0;
    for (int row = 0; row < r.grid.rows; ++row)
      for (int c = 0; c < r.grid.columns; ++c) {
        const double x = r.grid.centre_x(c), y = r.grid.centre_y(row);
        const GridSample& got = samples[static_cast<std::size_t>(r.grid.at(c, row))];
        const double extra = std::hypot(got.x - x, got.y - y) - brute_distance(samples, x, y);
        mismatches += extra > 1e-9;
        worst = std::max(worst, extra);
      }
    EXPECT_EQ(mismatches, 0) << "seed " << seed << ": up to " << worst << " farther";
  }
}

TEST(Grid, TheMisfitIsTheCellValueAtEachReadingMinusTheReading) {
  const Surface f = [](double x, double y) { return std::sin(x) + std::cos(0.5 * y); };
  const auto samples = walk(10, 15, 1.0, 0.05, f);
  const GridResult r = grid_points(samples, {});
  double sum = 0, worst = 0;
  for (const GridSample& s : samples) {
    const int c = static_cast<int>(std::floor((s.x - r.grid.west) / r.grid.cell));
    const int row = static_cast<int>(std::floor((r.grid.north - s.y) / r.grid.cell));
    const double d = r.grid.at(c, row) - s.value;
    sum += d * d;
    worst = std::max(worst, std::fabs(d));
  }
  EXPECT_NEAR(r.misfit_rms, std::sqrt(sum / samples.size()), 1e-9);
  EXPECT_DOUBLE_EQ(r.misfit_max, worst);
  EXPECT_GT(r.misfit_rms, 0.0);
}

TEST(Grid, ASingleLineDoesNotTiltTheSurfaceAcrossIt) {
  // One line drifting a millimetre sideways as its values rise: nothing
  // says how the values go across it, so the cells beside it keep the
  // line's values (a plane fitted to the readings would tilt steeply).
  const Surface along = [](double, double y) { return 20 + 0.1 * (y - 200); };
  std::vector<GridSample> line = walk(1, 20, 1.0, 0.05, along);
  for (GridSample& s : line) s.x = 100 + 0.001 * (s.y - 200) / 20;
  const GridResult r = grid_points(line, {});
  ASSERT_TRUE(r.error.empty());
  for (int row = 0; row < r.grid.rows; ++row)
    for (int c = 0; c < r.grid.columns; ++c)
      if (!std::isnan(r.grid.at(c, row))) {
        ASSERT_NEAR(r.grid.at(c, row), along(0, r.grid.centre_y(row)), 1e-3);
      }
}

TEST(Grid, NoReadingsNoGrid) {
  EXPECT_FALSE(grid_points({}, {}).error.empty());
  const std::vector<GridSample> one = {{5, 5, 1}};
  const GridResult r = grid_points(one, {});
  EXPECT_TRUE(r.error.empty());
  EXPECT_FLOAT_EQ(r.grid.at(0, 0), 1.0f);
}

TEST(Grid, NoCellLeftIsAnErrorThatSaysWhy) {
  const auto samples = walk(4, 10, 1.0, 0.5, [](double, double) { return 1.0; });
  struct Case {
    double cell, blank;
    const char* error;  // part of it; empty: a grid
  };
  const Case cases[] = {
      {50, 0, "the cell of 50 is larger than the survey"},
      {0.5, 0.001, "farther than the blanking distance of 0.001"},
      {12, 0.01, "larger than the survey"},
      {0.5, 0, ""},
  };
  for (const Case& c : cases)
    for (GridMethod method : {GridMethod::kMinimumCurvature, GridMethod::kNearest}) {
      GridOptions o;
      o.cell = c.cell;
      o.blank = c.blank;
      o.method = method;
      const GridResult r = grid_points(samples, o);
      if (*c.error == 0) {
        EXPECT_TRUE(r.error.empty()) << r.error;
        EXPECT_LT(r.blanked, r.grid.values.size());
      } else {
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.cell << ": " << r.error;
        EXPECT_NE(r.error.find("no cell left"), std::string::npos) << r.error;
      }
    }
}

Grid analytic_grid(int columns, int rows, const Surface& f) {
  Grid g;
  g.columns = columns;
  g.rows = rows;
  g.west = 100;
  g.north = 250;
  g.cell = 0.5;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) g.values.push_back(static_cast<float>(f(g.centre_x(c), g.centre_y(r))));
  return g;
}

TEST(Contours, LevelsAtTheIntervalWithEverySegmentOnItsLevel) {
  const Surface plane = [](double x, double y) { return 0.7 * (x - 100) + 0.3 * (y - 240) + 0.05; };
  Grid g = analytic_grid(20, 16, plane);
  g.values[5 * 20 + 7] = NAN;  // a cell without data: the four squares around it have no line
  const std::vector<ContourLevel> levels = grid_contours(g, 2.0);
  double low = INFINITY, high = -INFINITY;
  for (float v : g.values)
    if (!std::isnan(v)) {
      low = std::min(low, double(v));
      high = std::max(high, double(v));
    }
  ASSERT_EQ(levels.size(), static_cast<std::size_t>(std::floor(high / 2) - std::ceil(low / 2) + 1));
  for (const ContourLevel& level : levels) {
    EXPECT_DOUBLE_EQ(std::remainder(level.value, 2.0), 0.0);
    EXPECT_FALSE(level.lines.empty());
    for (const ContourLine& line : level.lines)
      for (const auto& [x, y] : line) {
        ASSERT_NEAR(plane(x, y), level.value, 1e-4) << level.value;
        const bool near_hole = std::fabs(x - g.centre_x(7)) < g.cell && std::fabs(y - g.centre_y(5)) < g.cell;
        EXPECT_FALSE(near_hole) << x << "," << y;
      }
  }
  EXPECT_TRUE(grid_contours(g, 0).empty());
  EXPECT_TRUE(grid_contours(g, (high - low) / (kMostContourLevels + 10)).empty());
  const std::string json = contours_geojson(levels, 32617);
  EXPECT_EQ(json.rfind("{\"type\":\"FeatureCollection\",\"crs\":", 0), 0u);
  EXPECT_EQ(contours_geojson(levels, 0).find("crs"), std::string::npos);
}

TEST(Contours, ASaddleIsSplitByTheMeanOfItsCorners) {
  struct Case {
    float a, b, c, d;  // top left, top right, bottom left, bottom right
    bool high_joined;  // the two high corners joined through the centre
  };
  for (const Case& k : {Case{0.9f, 0.2f, 0.2f, 0.9f, true}, Case{0.9f, 0.1f, 0.1f, 0.6f, false},
                        Case{0.2f, 0.9f, 0.9f, 0.2f, true}, Case{0.1f, 0.6f, 0.9f, 0.1f, false}}) {
    Grid g;
    g.columns = g.rows = 2;
    g.cell = 1;
    g.values = {k.a, k.b, k.c, k.d};
    const std::vector<ContourLevel> levels = grid_contours(g, 0.5);
    ASSERT_EQ(levels.size(), 1u);
    ASSERT_EQ(levels[0].lines.size(), 2u);
    // Each line cuts off one corner: joined high corners leave the low ones cut off.
    for (const ContourLine& s : levels[0].lines) {
      ASSERT_EQ(s.size(), 2u);
      const double mx = (s[0][0] + s[1][0]) / 2 - 1.0, my = (s[0][1] + s[1][1]) / 2 + 1.0;  // from the square's centre
      const int column = mx > 0 ? 1 : 0, row = my > 0 ? 0 : 1;
      const float corner = g.at(column, row);
      EXPECT_EQ(corner < 0.5f, k.high_joined) << k.a << k.b << k.c << k.d;
    }
  }
}

TEST(Contours, PiecesJoinIntoOneLineALevel) {
  // A hill inside the data closes on itself; a slope runs from one edge of
  // the data to the other; a hill cut by the data's edge is open.
  struct Case {
    const char* name;
    Surface f;
    bool closed;
  };
  const Surface hill = [](double x, double y) { return std::max(7.0, 10 - std::hypot(x - 105, y - 246)); };
  const Surface slope = [](double x, double y) { return 0.4 * (x - 100) + 0.1 * (y - 240); };
  const Surface edge_hill = [](double x, double y) { return std::max(5.0, 10 - std::hypot(x - 100, y - 246)); };
  for (const Case& k :
       {Case{"hill", hill, true}, Case{"slope", slope, false}, Case{"hill at the edge", edge_hill, false}}) {
    const Grid g = analytic_grid(20, 16, k.f);
    const std::vector<ContourLevel> levels = grid_contours(g, 1.0);
    ASSERT_FALSE(levels.empty()) << k.name;
    for (const ContourLevel& level : levels) {
      ASSERT_EQ(level.lines.size(), 1u) << k.name << " " << level.value;
      const ContourLine& line = level.lines[0];
      ASSERT_GE(line.size(), 3u) << k.name << " " << level.value;
      EXPECT_EQ(line.front() == line.back(), k.closed) << k.name << " " << level.value;
      for (const auto& [x, y] : line) EXPECT_NEAR(k.f(x, y), level.value, 0.3) << k.name;
      if (k.closed) continue;
      // An open line ends on the border of the cell centres.
      for (const ContourPoint& end : {line.front(), line.back()}) {
        const bool on_border = std::fabs(end[0] - g.centre_x(0)) < 1e-9 || std::fabs(end[0] - g.centre_x(19)) < 1e-9 ||
                               std::fabs(end[1] - g.centre_y(0)) < 1e-9 || std::fabs(end[1] - g.centre_y(15)) < 1e-9;
        EXPECT_TRUE(on_border) << k.name << " " << end[0] << "," << end[1];
      }
    }
  }
}

TEST(ProgressGate, StepsShownOnceTheWorkHasRunOverASecond) {
  // The clock at each step, and whether that step is shown.
  struct Case {
    const char* name;
    std::vector<double> steps;
    std::vector<bool> shown;
  };
  const Case cases[] = {
      {"quick work: nothing", {100.2, 100.5, 100.9, 101.0}, {false, false, false, false}},
      {"a slow step: shown from then on", {100.1, 100.3, 102.4, 102.5}, {false, false, true, true}},
      {"slow from the start", {101.5, 101.6}, {true, true}},
  };
  for (const Case& k : cases) {
    ProgressGate gate{100.0, false};
    for (std::size_t i = 0; i < k.steps.size(); ++i)
      EXPECT_EQ(progress_due(gate, k.steps[i]), k.shown[i]) << k.name << " step " << i;
  }
}

}  // namespace
}  // namespace quelor
