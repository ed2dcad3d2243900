// The report's computations on constructed surveys: the line table, the
// speed histogram, the hull, coverage and its gaps, the verdict; and a data
// file written by the writer read back into the report's survey.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <set>

#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "export/export_table.h"
#include "gps/checksum.h"
#include "gps/projection.h"
#include "report/convex_hull.h"
#include "report/coverage.h"
#include "report/line_flags.h"
#include "report/line_table.h"
#include "report/remarks.h"
#include "report/speed_histogram.h"
#include "report/survey_file_reading.h"
#include "report/survey_time.h"
#include "report/value_range.h"
#include "report/verdict.h"

namespace quelor {
namespace {

constexpr double kE = 500000.0, kN = 5300000.0;

// Lines running north then south, `spacing` apart, `length` long, walked at
// 1 m/s: a reading every 0.1 m, a fix and a swath cross-line `width` wide
// every metre. Lines in `skip` are not walked.
struct Walk {
  SurveyData survey;
  std::vector<SurveyReading> readings;  // not yet folded in
};

Walk lawnmower_walk(int lines, double spacing, double length, double width, std::set<int> skip = {}) {
  Walk w;
  SurveyData& s = w.survey;
  double clock = 8 * 3600.0;
  int segment = 0;
  for (int line = 0; line < lines; ++line) {
    s.lines.push_back({"day.R31", std::to_string(line + 1)});
    if (skip.count(line)) continue;
    const int index = static_cast<int>(s.lines.size()) - 1;
    const double e = kE + line * spacing;
    const auto northing = [&](double along) { return kN + (line % 2 == 0 ? along : length - along); };
    for (int m = 0; m <= static_cast<int>(length); ++m) {
      const double n = northing(m);
      s.fixes.push_back({index, segment, {e, n}, 4, 12, 0.8, clock + m, clock + m});
      s.swath_widths.push_back(width);
      if (m > 0) {
        const double p = northing(m - 1);
        s.swaths.push_back({PlanePoint{e - width / 2, p}, {e + width / 2, p}, {e + width / 2, n}, {e - width / 2, n}});
      }
    }
    for (int k = 0; k < static_cast<int>(length * 10); ++k)
      w.readings.push_back({index, true, {e, northing((k + 0.5) / 10)}, clock + (k + 0.5) / 10});
    clock += length + 10;
    ++segment;
  }
  return w;
}

SurveyData folded(Walk w) {
  for (const SurveyReading& r : w.readings) add_reading(w.survey, r);
  return w.survey;
}

SurveyData lawnmower(int lines, double spacing, double length, double width, std::set<int> skip = {}) {
  return folded(lawnmower_walk(lines, spacing, length, width, skip));
}

TEST(LineTable, LengthReadingsSpeedAndTime) {
  const SurveyData s = lawnmower(2, 1.0, 30.0, 1.0);
  const std::vector<LineSummary> t = line_table(s);
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].readings, 300);
  EXPECT_EQ(t[0].positioned, 300);
  EXPECT_NEAR(t[0].length, 29.9, 1e-9);
  EXPECT_NEAR(t[0].readings_per_metre, 300 / 29.9, 1e-9);
  EXPECT_NEAR(t[0].mean_speed, 1.0, 1e-9);
  EXPECT_NEAR(t[0].max_speed, 1.0, 1e-9);
  EXPECT_NEAR(t[0].start, 8 * 3600.0 + 0.05, 1e-9);
  EXPECT_NEAR(t[1].start, 8 * 3600.0 + 40.05, 1e-9);
  EXPECT_EQ(clock_text(t[1].start), "08:00:40");
}

TEST(LineTable, APauseIsNotWalkedAndSpeedsStayInTheirSegment) {
  SurveyData s = lawnmower(1, 1.0, 10.0, 1.0);
  // After a pause of a minute the crew goes on 50 m further north.
  for (int k = 0; k < 10; ++k) add_reading(s, {0, true, {kE, kN + 60 + k * 0.1}, 8 * 3600.0 + 80 + k * 0.1});
  s.fixes.push_back({0, 7, {kE, kN + 60}, 4, 12, 0.8, 8 * 3600.0 + 80, 8 * 3600.0 + 80});
  s.fixes.push_back({0, 7, {kE, kN + 63}, 4, 12, 0.8, 8 * 3600.0 + 81, 8 * 3600.0 + 81});
  add_reading(s, {0, false, {}, 8 * 3600.0 + 90});
  const LineSummary l = line_table(s)[0];
  EXPECT_EQ(l.readings, 111);
  EXPECT_EQ(l.positioned, 110);
  EXPECT_NEAR(l.length, 9.9 + 0.9, 1e-9);
  EXPECT_NEAR(l.max_speed, 3.0, 1e-9);  // not the 50 m across the pause
  EXPECT_NEAR(l.mean_speed, 13.0 / 11.0, 1e-9);
  EXPECT_NEAR(l.end, 8 * 3600.0 + 90, 1e-9);
}

TEST(LineTable, ReadingsFoldIntoTheirLinesAsTheyCome) {
  SurveyData s;
  s.lines = {{"f", "1"}, {"f", "2"}};
  const SurveyReading readings[] = {
      {0, true, {0, 0}, 10},  {0, true, {3, 4}, 11}, {0, false, {}, 12},    {0, false, {}, 13},
      {1, true, {7, 7}, NAN}, {0, false, {}, 20},    {0, true, {3, 8}, 21}, {0, false, {}, 9},
  };
  for (const SurveyReading& r : readings) add_reading(s, r);
  EXPECT_EQ(reading_count(s), 8);
  EXPECT_EQ(positioned_count(s), 4);
  const LineSummary l = line_table(s)[0];
  EXPECT_EQ(l.readings, 7);
  EXPECT_EQ(l.positioned, 3);
  EXPECT_DOUBLE_EQ(l.length, 5.0);  // not the step across the pause from 11 s to 21 s
  EXPECT_DOUBLE_EQ(l.start, 10.0);  // in file order; the span takes the extremes
  EXPECT_DOUBLE_EQ(l.end, 9.0);
  const SurveyTimeSpan span = survey_time_span(s);
  EXPECT_DOUBLE_EQ(span.first, 9.0);
  EXPECT_DOUBLE_EQ(span.last, 21.0);
  // Runs without a position, broken at the pause and by a positioned reading.
  const std::vector<LineFlags> flags = line_flags(s, line_table(s), {});
  ASSERT_EQ(flags[0].outages.size(), 3u);
  EXPECT_EQ(flags[0].outages[0].readings, 2);
  EXPECT_DOUBLE_EQ(flags[0].outages[0].end, 13.0);
  EXPECT_DOUBLE_EQ(flags[0].outages[1].start, 20.0);
  EXPECT_DOUBLE_EQ(flags[0].outages[2].start, 9.0);
  EXPECT_TRUE(flags[1].outages.empty());
  // The positions in order, with the lines they belong to.
  ASSERT_EQ(s.positions.size(), 4u);
  EXPECT_EQ(s.positions[2].easting, 7.0);
  ASSERT_EQ(s.position_lines.size(), 3u);
  EXPECT_EQ(s.position_lines[1].first, 2u);
  EXPECT_EQ(s.position_lines[1].line, 1);
  EXPECT_EQ(s.position_lines[2].line, 0);
}

// Positions kept for the coverage grow with the ground walked, not with the
// reading rate: each run keeps its ends, and every reading lies within a
// step of a kept position of its own run.
TEST(LineTable, KeptPositionsFollowTheGroundWalked) {
  struct Case {
    const char* name;
    double step;    // metres between readings
    double wander;  // metres of sideways jitter
  };
  const Case cases[] = {
      {"25 a second at 1 m/s", 0.04, 0.0}, {"slow, 1 cm a reading", 0.01, 0.0},
      {"10 a second at 1 m/s", 0.1, 0.0},  {"sparse, 0.5 m a reading", 0.5, 0.0},
      {"wandering fixes", 0.04, 0.3},      {"standing still with wander", 0.0, 0.03},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-c.wander, c.wander);
    SurveyData s;
    std::vector<std::vector<PlanePoint>> walked(2);
    for (int line : {0, 1, 0}) {  // line 1 between two runs of line 0
      for (int k = 0; k < 400; ++k) {
        const PlanePoint p{kE + line * 5 + jitter(random), kN + k * c.step + jitter(random)};
        walked[static_cast<std::size_t>(line)].push_back(p);
        add_reading(s, {line, true, p, 8 * 3600.0 + k});
      }
    }
    ASSERT_EQ(s.position_lines.size(), 3u);
    for (std::size_t run = 0; run < 3; ++run) {
      const std::size_t first = s.position_lines[run].first;
      const std::size_t end = run + 1 < 3 ? s.position_lines[run + 1].first : s.positions.size();
      ASSERT_LT(first, end);
      const int line = s.position_lines[run].line;
      const std::vector<PlanePoint>& all = walked[static_cast<std::size_t>(line)];
      const std::size_t begin = run == 2 ? 400 : 0;  // the second run of line 0
      EXPECT_EQ(s.positions[first].northing, all[begin].northing);
      EXPECT_EQ(s.positions[end - 1].northing, all[begin + 399].northing);
      for (std::size_t k = begin; k < begin + 400; ++k) {
        double nearest = std::numeric_limits<double>::infinity();
        for (std::size_t i = first; i < end; ++i)
          nearest = std::min(
              nearest, std::hypot(s.positions[i].easting - all[k].easting, s.positions[i].northing - all[k].northing));
        ASSERT_LT(nearest, kKeptPositionStep + 1e-12) << k;
      }
      // Kept positions stand at least a step apart but for the last.
      const double walked_length = 399 * c.step + 2 * c.wander * 399;
      EXPECT_LE(static_cast<double>(end - first), walked_length / kKeptPositionStep + 2);
    }
    if (c.step > kKeptPositionStep) {
      EXPECT_EQ(s.positions.size(), 1200u);
    }
    if (c.step == 0.0) {
      EXPECT_EQ(s.positions.size(), 6u);  // each run's ends
    }
  }
}

TEST(LineTable, FixStepWrapsPastMidnightAndNeedsTime) {
  SurveyFix a{0, 0, {0, 0}, 4, 9, 1.0, 86399.5, 0};
  SurveyFix b{0, 0, {3, 4}, 4, 9, 1.0, 0.5, 0};
  const auto step = fix_step(a, b);
  ASSERT_TRUE(step);
  EXPECT_DOUBLE_EQ(step->seconds, 1.0);
  EXPECT_DOUBLE_EQ(step->speed(), 5.0);
  b.time_of_day = a.time_of_day;
  EXPECT_FALSE(fix_step(a, b));
  b.time_of_day = 0.5;
  b.line = 1;
  EXPECT_FALSE(fix_step(a, b));
}

TEST(SpeedHistogram, TimeInBinsAndAboveTheMaximum) {
  SurveyData s;
  s.lines.push_back({"f", "1"});
  const double speeds[] = {1.0, 1.0, 2.6, 6.0};  // m/s for one second each
  double n = 0, t = 0;
  s.fixes.push_back({0, 0, {0, n}, 4, 9, 1, t, t});
  for (double v : speeds) {
    n += v;
    t += 1;
    s.fixes.push_back({0, 0, {0, n}, 4, 9, 1, t, t});
  }
  const SpeedHistogram h = speed_histogram(s, 5.0, 5, 1.0);
  ASSERT_EQ(h.seconds.size(), 6u);
  EXPECT_DOUBLE_EQ(h.total, 4.0);
  EXPECT_DOUBLE_EQ(h.seconds[1], 2.0);  // 1-2 m/s
  EXPECT_DOUBLE_EQ(h.seconds[2], 1.0);
  EXPECT_DOUBLE_EQ(h.seconds[5], 1.0);  // above 5 m/s
  EXPECT_DOUBLE_EQ(h.above_share(), 0.25);
  // In km/h the same walk: 3.6, 3.6, 9.36, 21.6 against a maximum of 10.
  const SpeedHistogram k = speed_histogram(s, 10.0, 5, 3.6);
  EXPECT_DOUBLE_EQ(k.seconds[1], 2.0);
  EXPECT_DOUBLE_EQ(k.seconds[4], 1.0);
  EXPECT_DOUBLE_EQ(k.seconds[5], 1.0);
}

TEST(GpsQuality, WorstValuesPerBucket) {
  SurveyData s = lawnmower(1, 1.0, 10.0, 1.0);
  s.fixes[3].satellites = 5;
  s.fixes[3].quality = 1;
  s.fixes[4].dilution = 3.5;
  const std::vector<GpsQualityPoint> g = gps_quality_series(s, 2);
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].satellites, 5);
  EXPECT_EQ(g[0].quality, 1);
  EXPECT_DOUBLE_EQ(g[0].dilution, 3.5);
  EXPECT_EQ(g[1].satellites, 12);
}

TEST(ConvexHull, SquareWithInsideAndEdgePoints) {
  std::vector<PlanePoint> p{{0, 0}, {4, 0}, {4, 4}, {0, 4}, {2, 2}, {2, 0}, {1, 3}, {4, 4}};
  const std::vector<PlanePoint> h = convex_hull(p);
  ASSERT_EQ(h.size(), 4u);
  EXPECT_DOUBLE_EQ(polygon_area(h), 16.0);
  EXPECT_DOUBLE_EQ(h[0].easting, 0.0);
  EXPECT_DOUBLE_EQ(h[0].northing, 0.0);
  EXPECT_EQ(convex_hull({{1, 1}, {1, 1}}).size(), 1u);
  // Far from the origin (grid coordinates) the area keeps its digits.
  std::vector<PlanePoint> far{{kE, kN}, {kE + 0.5, kN}, {kE + 0.5, kN + 0.5}, {kE, kN + 0.5}};
  EXPECT_NEAR(polygon_area(convex_hull(far)), 0.25, 1e-9);
}

struct CoverageCase {
  const char* name;
  int lines;
  double spacing;
  std::set<int> skip;
  double share_low, share_high;
  std::size_t gaps;
  double gap_width;  // of the first gap, within a cell
};

TEST(Coverage, LawnmowerCases) {
  const CoverageCase cases[] = {
      {"every line", 10, 1.0, {}, 0.99, 1.0, 0, 0},
      {"one line missing", 10, 1.0, {4}, 8.0 / 9 - 0.02, 8.0 / 9 + 0.02, 1, 1.0},
      {"two lines missing", 10, 1.0, {4, 5}, 7.0 / 9 - 0.02, 7.0 / 9 + 0.02, 1, 2.0},
      {"lines a little apart", 10, 1.2, {}, 1 / 1.2 - 0.05, 1 / 1.2 + 0.05, 0, 0},
      {"the last line missing", 10, 1.0, {9}, 0.99, 1.0, 0, 0},  // the hull ends with the walked lines
  };
  for (const CoverageCase& c : cases) {
    SCOPED_TRACE(c.name);
    const SurveyData s = lawnmower(c.lines, c.spacing, 40.0, 1.0, c.skip);
    const Coverage cov = survey_coverage(s);
    ASSERT_TRUE(cov.known);
    EXPECT_DOUBLE_EQ(cov.swath_width, 1.0);
    EXPECT_GE(cov.covered_share, c.share_low);
    EXPECT_LE(cov.covered_share, c.share_high);
    ASSERT_EQ(cov.gaps.size(), c.gaps);
    if (c.gaps == 0) continue;
    const CoverageGap& g = cov.gaps[0];
    EXPECT_NEAR(g.width, c.gap_width, cov.grid.cell * 1.01);
    EXPECT_NEAR(g.high.easting - g.low.easting, c.gap_width, cov.grid.cell * 1.01);
    EXPECT_NEAR(g.area, c.gap_width * 40.0, 40.0 * cov.grid.cell * 1.01);
    const double centre = kE + (*c.skip.begin() + *c.skip.rbegin()) / 2.0 * c.spacing;
    EXPECT_NEAR(g.centre.easting, centre, cov.grid.cell);
    // The grid marks the gap's cells with its number.
    const int column = static_cast<int>((g.centre.easting - cov.grid.origin.easting) / cov.grid.cell);
    const int row = static_cast<int>((g.centre.northing - cov.grid.origin.northing) / cov.grid.cell);
    EXPECT_EQ(cov.grid.at(column, row), 1);
  }
}

// A second copy of `s` moved `east` metres, its lines after those of `s`.
void add_block(SurveyData& s, const Walk& walk, double east) {
  const SurveyData& other = walk.survey;
  const int first = static_cast<int>(s.lines.size());
  s.lines.insert(s.lines.end(), other.lines.begin(), other.lines.end());
  for (SurveyReading r : walk.readings) {
    r.line += first;
    r.position.easting += east;
    add_reading(s, r);
  }
  for (SwathQuad q : other.swaths) {
    for (PlanePoint& p : q) p.easting += east;
    s.swaths.push_back(q);
  }
  s.swath_widths.insert(s.swath_widths.end(), other.swath_widths.begin(), other.swath_widths.end());
}

TEST(Coverage, BlocksAreJudgedApart) {
  struct Case {
    const char* name;
    double east;         // of the second block; 0: none
    std::set<int> skip;  // in the first block
    std::size_t blocks, gaps;
    double share_low;
  };
  const Case cases[] = {
      {"two blocks 46 m apart", 55.0, {}, 2, 0, 0.99},
      {"two blocks, a line missing in the first", 55.0, {4}, 2, 1, 0.85},
      {"blocks 10 m apart", 19.0, {}, 2, 0, 0.99},
      {"a missed line keeps one block", 0.0, {4}, 1, 1, 0.85},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyData s = lawnmower(10, 1.0, 40.0, 1.0, c.skip);
    if (c.east > 0) add_block(s, lawnmower_walk(8, 1.0, 50.0, 1.0), c.east);
    const Coverage cov = survey_coverage(s);
    ASSERT_TRUE(cov.known);
    ASSERT_EQ(cov.blocks.size(), c.blocks);
    EXPECT_EQ(cov.gaps.size(), c.gaps);
    EXPECT_GE(cov.covered_share, c.share_low);
    EXPECT_NEAR(cov.blocks[0].area, 9 * 39.9, 1e-6);  // the larger first
    if (c.blocks == 2) {
      EXPECT_NEAR(cov.blocks[1].area, 7 * 49.9, 1e-6);
    }
    double area = 0;
    for (const CoverageBlock& b : cov.blocks) area += b.area;
    EXPECT_DOUBLE_EQ(cov.hull_area, area);
    const Verdict v = survey_verdict(s, line_table(s), cov);
    EXPECT_EQ(v.complete, c.gaps == 0) << v.text;
  }
}

// A damaged file can give a swath corner that is infinite, not a number or
// far beyond any grid: such a swath covers nothing and breaks nothing.
TEST(Coverage, SwathsWithInfiniteOrFarCornersCoverNothing) {
  const SurveyData plain = lawnmower(10, 1.0, 40.0, 1.0, {4});
  const double baseline = survey_coverage(plain).covered_share;
  const double inf = std::numeric_limits<double>::infinity();
  const PlanePoint corners[] = {{inf, kN}, {kE, -inf}, {std::nan(""), kN}, {1e300, kN}, {kE, -1e300}};
  for (const PlanePoint& corner : corners) {
    SurveyData s = plain;
    s.swaths.push_back(
        {PlanePoint{kE + 4.0, kN}, corner, PlanePoint{kE + 4.5, kN + 40.0}, PlanePoint{kE + 4.0, kN + 40.0}});
    const Coverage c = survey_coverage(s);
    ASSERT_TRUE(c.known) << corner.easting << " " << corner.northing;
    EXPECT_LE(c.covered_share, 1.0);
    if (std::isfinite(corner.easting) && std::isfinite(corner.northing)) continue;
    EXPECT_DOUBLE_EQ(c.covered_share, baseline) << corner.easting << " " << corner.northing;
  }
}

TEST(Coverage, UnknownWithoutSwathOutlines) {
  SurveyData s = lawnmower(4, 1.0, 20.0, 1.0);
  s.swaths.clear();
  s.swath_widths.clear();
  const Coverage c = survey_coverage(s);
  EXPECT_FALSE(c.known);
  EXPECT_NEAR(c.hull_area, 3.0 * 19.9, 1e-6);
  EXPECT_NE(survey_verdict(s, line_table(s), c).text.find("coverage unknown"), std::string::npos);
}

TEST(Coverage, CellsGrowToStayWithinTheLimit) {
  const SurveyData s = lawnmower(10, 1.0, 40.0, 1.0, {4});
  const Coverage c = survey_coverage(s, 2000);
  // About the limit: the rounding up of each side adds a row and a column.
  EXPECT_LE(static_cast<long>(c.grid.columns) * c.grid.rows, 2000L + 2L * (c.grid.columns + c.grid.rows) + 4);
  EXPECT_GT(c.grid.cell, 0.25);
}

TEST(Verdict, CompleteOrWhatIsMissingAndWhere) {
  SurveyData full = lawnmower(10, 1.0, 40.0, 1.0);
  Verdict v = survey_verdict(full, line_table(full), survey_coverage(full));
  EXPECT_TRUE(v.complete);
  EXPECT_EQ(v.text, "complete");

  SurveyData gap = lawnmower(10, 1.0, 40.0, 1.0, {4});
  gap.remarks.push_back({"day.R31", 'X', "Lost     12", 0});
  gap.remarks.push_back({"day.R31", 'X', "1CONN BRK 1", 0});
  for (int k = 0; k < 30; ++k) add_reading(gap, {9, false, {}, kNoTime});  // line 10 loses its GPS
  v = survey_verdict(gap, line_table(gap), survey_coverage(gap));
  EXPECT_FALSE(v.complete);
  ASSERT_EQ(v.findings.size(), 3u);
  EXPECT_EQ(v.findings[0].rfind("gap 1: 1 x 40 m (40 sq m) at E 500004.0 N 53000", 0), 0u) << v.findings[0];
  EXPECT_TRUE(v.findings[0].ends_with(", between line 4 and line 6")) << v.findings[0];
  EXPECT_EQ(v.findings[1], "line 10: 30 of 430 readings without a position");
  EXPECT_EQ(v.findings[2], "12 readings lost");
  EXPECT_EQ(v.text, "incomplete: " + v.findings[0] + "; " + v.findings[1] + "; " + v.findings[2]);

  // Walked east to west, line 6 a little nearer the gap: still named in line order.
  Walk west = lawnmower_walk(10, -1.0, 40.0, 1.0, {4});
  for (SurveyReading& r : west.readings)
    if (r.line == 5) r.position.easting += 0.2;
  const SurveyData leaning = folded(west);
  v = survey_verdict(leaning, line_table(leaning), survey_coverage(leaning));
  ASSERT_FALSE(v.findings.empty());
  EXPECT_TRUE(v.findings[0].ends_with(", between line 4 and line 6")) << v.findings[0];

  SurveyData none;
  EXPECT_EQ(survey_verdict(none, {}, survey_coverage(none)).text, "incomplete: no readings");
}

TEST(Verdict, FastSparsePoorGpsAndOutageLinesAreFlaggedWithTheirTimes) {
  Walk walk = lawnmower_walk(8, 1.0, 40.0, 1.0);
  SurveyData& s = walk.survey;
  // Line 2 at 6 m/s: its fixes' sentence times six times closer.
  // Line 3 on fix quality 1 with 5 satellites and HDOP 4.
  for (SurveyFix& f : s.fixes) {
    if (f.line == 1) f.time_of_day = s.fixes[41].time_of_day + (f.time_of_day - s.fixes[41].time_of_day) / 6;
    if (f.line == 2) f = {f.line, f.segment, f.position, 1, 5, 4.0, f.time_of_day, f.time};
  }
  // Line 5 loses its GPS for 30 s: its readings from 5 s to 35 s have no position.
  for (std::size_t k = 0; k < walk.readings.size(); ++k) {
    SurveyReading r = walk.readings[k];
    if (r.line == 4 && r.time >= s.fixes[4 * 41].time + 5 && r.time < s.fixes[4 * 41].time + 35) r.positioned = false;
    // Line 7 keeps one reading in four.
    if (r.line != 6 || k % 4 == 0) add_reading(s, r);
  }
  const std::vector<LineSummary> lines = line_table(s);
  LineLimits limits;
  limits.max_speed = 5.0;
  const std::vector<LineFlags> flags = line_flags(s, lines, limits);
  ASSERT_EQ(flags.size(), 8u);
  for (const LineFlags& f : flags) {
    SCOPED_TRACE(f.line);
    EXPECT_EQ(f.fast, f.line == 1);
    EXPECT_EQ(f.poor_gps, f.line == 2);
    EXPECT_EQ(f.outages.size(), f.line == 4 ? 1u : 0u);
    EXPECT_EQ(f.sparse, f.line == 6);
  }
  EXPECT_EQ(flags[2].poor_fixes, 41);
  EXPECT_EQ(flags[4].outages[0].readings, 300);
  const double outage_start = s.fixes[4 * 41].time + 5.05;
  EXPECT_NEAR(flags[4].outages[0].start, outage_start, 1e-6);
  const Verdict v = survey_verdict(s, lines, survey_coverage(s), flags);
  EXPECT_FALSE(v.complete);
  for (const std::string& want :
       {std::string("line 2: walked above the speed bar's maximum 100% of the time"),
        std::string("line 3: 41 of 41 fixes below the GPS warning mask (quality 1, 5 satellites, HDOP 4.0)"),
        "line 5: GPS outage " + clock_text(outage_start) + "-" + clock_text(outage_start + 29.9) +
            " (300 readings without a position)",
        std::string("line 7: too few readings per metre")})
    EXPECT_NE(std::find(v.findings.begin(), v.findings.end(), want), v.findings.end()) << want << "\n" << v.text;
  // Without limits nothing is flagged but the outage and the sparse lines.
  const std::vector<LineFlags> unlimited = line_flags(s, lines, {0.0, {false}});
  EXPECT_FALSE(unlimited[1].fast);
  EXPECT_FALSE(unlimited[2].poor_gps);
}

TEST(Verdict, AFileCutOffOrEndingWhileLoggingIsNeverComplete) {
  struct Case {
    std::vector<const char*> remarks;  // of day.R31, in order
    bool truncated;
    bool complete;
  };
  const Case cases[] = {
      {{"$STARTED", "PAUSED"}, false, true},
      {{"$STARTED", "PAUSED", "$STARTED"}, false, false},
      {{"$STARTED", "1CONN BRK 1", "$CONN END"}, false, true},
      {{"$STARTED", "PAUSED BMP"}, true, false},
      {{}, false, true},
  };
  for (const Case& c : cases) {
    SurveyData s = lawnmower(6, 1.0, 30.0, 1.0);
    for (const char* r : c.remarks) s.remarks.push_back({"day.R31", 'X', r, 0});
    if (c.truncated) s.truncated_files.push_back("day.R31");
    const Verdict v = survey_verdict(s, line_table(s), survey_coverage(s));
    EXPECT_EQ(v.complete, c.complete) << v.text;
    EXPECT_EQ(v.text.find("cut off") != std::string::npos, !c.complete) << v.text;
  }
}

TEST(Remarks, GroupedByKindWithCountsAndTimes) {
  std::vector<SurveyRemark> remarks;
  for (int line = 0; line < 285; ++line)
    for (const char* text : {"$STARTED", "PAUSED"})
      remarks.push_back({"day.R31", 'X', text, 100.0 * line + (text[0] == 'P') * 60});
  remarks.push_back({"day.R31", 'C', "fence", kNoTime});
  const std::vector<RemarkGroup> g = remark_groups(remarks);
  ASSERT_EQ(g.size(), 3u);
  EXPECT_EQ(g[0].meaning, "logging started");
  EXPECT_EQ(g[0].count, 285);
  EXPECT_EQ(std::pair(g[1].first, g[1].last), std::pair(60.0, 28460.0));
  EXPECT_EQ(g[2].meaning, "comment");
  EXPECT_TRUE(std::isnan(g[2].first));
}

TEST(SurveyTime, TheSpanAndTheTimeZoneOfTheLocalClock) {
  struct Case {
    double local, utc;  // of the fixes
    const char* zone;
  };
  const Case cases[] = {{9 * 3600.0, 8 * 3600.0, "UTC+01:00"},
                        {14 * 3600.0 + 1.3, 8.5 * 3600.0, "UTC+05:30"},
                        {3 * 3600.0, 8 * 3600.0, "UTC-05:00"},
                        {1800.0, 23.5 * 3600.0, "UTC+01:00"},
                        {43200.0 + 7, 43200.0, "UTC+00:00"}};
  for (const Case& c : cases) {
    const Walk walk = lawnmower_walk(2, 1.0, 10.0, 1.0);
    SurveyData s = folded(walk);
    for (SurveyFix& f : s.fixes) {
      f.time_of_day = c.utc + (f.time - s.fixes[0].time);
      f.time = c.local + (f.time - s.fixes[0].time);
    }
    const SurveyTimeSpan span = survey_time_span(s);
    EXPECT_EQ(utc_offset_text(span.utc_offset_minutes), c.zone) << c.local;
    EXPECT_EQ(span.first, walk.readings.front().time);
    EXPECT_EQ(span.last, walk.readings.back().time);
  }
  EXPECT_EQ(utc_offset_text(survey_time_span(SurveyData{}).utc_offset_minutes), "time zone unknown");
}

TEST(ValueRange, PercentilesLeaveSpikesOut) {
  std::vector<double> v;
  for (int i = 0; i <= 1000; ++i) v.push_back(20 + i * 0.01);
  v.push_back(5000);
  v.push_back(NAN);
  const auto r = percentile_range(v);
  ASSERT_TRUE(r);
  EXPECT_NEAR(r->first, 20.2, 0.011);
  EXPECT_NEAR(r->second, 29.8, 0.011);
  EXPECT_FALSE(percentile_range({7, 7, 7}));
  std::vector<double> ones(54, 1.0);
  ones.push_back(2);
  const auto two = percentile_range(ones);
  ASSERT_TRUE(two);  // the percentiles meet: the whole range
  EXPECT_EQ(*two, (std::pair<double, double>{1, 2}));
}

// The sample stays within its limit and is every stride-th value offered,
// from the first, whatever the count; its percentiles follow the whole's.
TEST(ValueRange, TheSampleIsEveryStrideThValueWithinItsLimit) {
  for (std::size_t count : {0u, 1u, 7u, 8u, 9u, 16u, 17u, 1000u, 4097u}) {
    SCOPED_TRACE(count);
    ValueSample sample;
    sample.limit = 8;
    for (std::size_t i = 0; i < count; ++i) offer_value(sample, static_cast<double>(i));
    EXPECT_EQ(sample.offered, count);
    EXPECT_LT(sample.values.size(), 8u);
    EXPECT_EQ(sample.values.size(), (count + sample.stride - 1) / sample.stride);
    for (std::size_t k = 0; k < sample.values.size(); ++k) EXPECT_EQ(sample.values[k], double(k * sample.stride));
  }
  ValueSample sample;
  sample.limit = 1000;
  std::mt19937 random(3);
  std::normal_distribution<double> value(30.0, 5.0);
  std::vector<double> all;
  for (int i = 0; i < 100000; ++i) {
    all.push_back(value(random));
    offer_value(sample, all.back());
  }
  const auto whole = percentile_range(all), thinned = percentile_range(sample.values);
  ASSERT_TRUE(whole && thinned);
  EXPECT_NEAR(thinned->first, whole->first, 0.5);  // a tenth of the spread
  EXPECT_NEAR(thinned->second, whole->second, 0.5);
}

TEST(Verdict, LineLabelsNameTheFileWhenThereAreSeveral) {
  SurveyData s = lawnmower(2, 1.0, 10.0, 1.0);
  EXPECT_EQ(line_label(s, 1), "2");
  s.lines[1].file = "second.R31";
  EXPECT_EQ(line_label(s, 1), "second.R31 2");
}

TEST(Remarks, MeaningsAndLostCounts) {
  const std::pair<const char*, const char*> cases[] = {
      {"$STARTED", "logging started"},
      {"PAUSED", "pause"},
      {"PAUSED BMP", "pause (map edge reached)"},
      {"1CONN BRK 1", "instrument connection break"},
      {"1CONN RCN 1", "instrument reconnected"},
      {"GPS CONN BR", "GPS connection break"},
      {"$CONN END", "reconnection ended by the operator"},
      {"Lost 999999", "readings lost"},
      {"FGAP      3", "data file could not be written (gap)"},
      {"whatever", "remark"},
  };
  for (const auto& [text, meaning] : cases) EXPECT_EQ(remark_meaning('X', text), meaning) << text;
  EXPECT_EQ(remark_meaning('C', "PAUSED"), "comment");
  EXPECT_EQ(lost_readings("Lost     12"), 12);
  EXPECT_EQ(lost_readings("1CONN BRK 1"), 0);
}

// A data file written by the writer, read as the report reads it.
std::string gga(double seconds, double lat, double lon) {
  char body[128];
  std::snprintf(body, sizeof body, "$GPGGA,%02d%02d%05.2f,%02d%09.6f,N,%03d%09.6f,E,4,%02d,%.1f,250.0,M,47.0,M,,",
                static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60) % 60, std::fmod(seconds, 60.0),
                static_cast<int>(lat), (lat - std::floor(lat)) * 60.0, static_cast<int>(lon),
                (lon - std::floor(lon)) * 60.0, 11, 0.9);
  char sum[8];
  std::snprintf(sum, sizeof sum, "*%02X", nmea_checksum(body));
  return std::string(body) + sum;
}

std::string writer_file() {
  MemorySink sink;
  sink.open(L"f");
  const Variant v{kEm31Mk2, kRealTimeMap};
  DataFileWriter w(sink, v);
  HeaderFields h;
  w.write_header(h, false);
  std::uint32_t tick = 50000;
  for (int line = 0; line < 2; ++line) {
    LineBlockFields f;
    f.line_name = line == 0 ? "A1" : "A2";
    w.write_line_block(f, LocalTime{2026, 12, 9, 9, 30, line * 10, 0}, tick);
    w.write_remark("$STARTED", 'X', tick + 5);
    w.write_swath_start();
    for (int k = 0; k < 4; ++k) {
      const double lat = 48.0 + k * 1e-5, lon = 11.0 + line * 2e-5;
      w.write_gps_sentence(gga(9 * 3600 + 30 * 60 + line * 10 + k, lat, lon), tick, kGpsForwarded);
      const GridPoint p = project_to_utm(lat, lon, 0);
      w.write_swath_group(0, {p.easting - 0.5, p.northing, p.easting + 0.5, p.northing});
      if (k < 3) w.write_reading(ReadingInput{"T -0100+0000", tick + 500, 0});
      tick += 1000;
    }
    w.write_remark(line == 0 ? "PAUSED" : "Lost      3", 'X', tick);
    tick += 2000;
  }
  w.write_remark("wet ground", 'C', tick);
  return sink.file(L"f");
}

TEST(SurveyFileReading, LinesRemarksSwathsAndTimesFromTheWriter) {
  const std::string bytes = writer_file();
  SurveyData s;
  const ExportTableResult table = add_survey_file(s, "f.R31", bytes, {});
  ASSERT_TRUE(table.table) << table.error;
  // The readings are those the export's table holds, positioned alike.
  const ExportTableResult rows = build_export_table(bytes, {});
  ASSERT_EQ(reading_count(s), static_cast<long>(rows.table->rows.size()));
  std::size_t positioned = 0;
  for (const ExportRow& row : rows.table->rows) {
    if (!row.position) continue;
    ASSERT_LT(positioned, s.positions.size());
    EXPECT_EQ(s.positions[positioned++].easting, row.position->easting);
  }
  EXPECT_EQ(positioned, s.positions.size());

  ASSERT_EQ(s.lines.size(), 2u);
  EXPECT_EQ(s.lines[1].name, "A2");
  EXPECT_EQ(s.lines[1].file, "f.R31");
  EXPECT_EQ(s.date, "09.12.2026");
  ASSERT_EQ(s.line_readings.size(), 2u);
  EXPECT_EQ(s.line_readings[1].readings, 3);
  EXPECT_EQ(s.line_readings[0].positioned, 3);
  EXPECT_NEAR(s.line_readings[0].start, 9 * 3600 + 30 * 60 + 0.5, 1e-9);  // the time mark and 500 ms
  EXPECT_NEAR(s.line_readings[1].start, 9 * 3600 + 30 * 60 + 10.5, 1e-9);
  ASSERT_EQ(s.position_lines.size(), 2u);
  EXPECT_EQ(s.position_lines[1].first, 3u);
  EXPECT_EQ(s.position_lines[1].line, 1);
  ASSERT_EQ(s.fixes.size(), 8u);
  EXPECT_EQ(s.fixes[5].line, 1);
  EXPECT_NE(s.fixes[3].segment, s.fixes[4].segment);
  EXPECT_EQ(s.fixes[0].satellites, 11);
  EXPECT_DOUBLE_EQ(s.fixes[0].dilution, 0.9);
  // Three footprints a line (the pause closes the swath), each 1 m wide.
  EXPECT_EQ(s.swaths.size(), 6u);
  EXPECT_EQ(s.swath_widths.size(), 8u);
  EXPECT_NEAR(s.swath_widths[0], 1.0, 1e-3);
  ASSERT_EQ(s.remarks.size(), 5u);
  EXPECT_EQ(s.remarks[1].text, "PAUSED");
  EXPECT_EQ(s.remarks[3].text, "Lost      3");
  EXPECT_EQ(s.remarks[4].tag, 'C');
  EXPECT_EQ(s.remarks[4].text, "wet ground");
  EXPECT_EQ(clock_text(s.remarks[1].time), "09:30:04");
  const LineSummary first = line_table(s)[0];
  EXPECT_NEAR(first.length, 2 * 1.11, 0.05);  // 1e-5 degrees of latitude are 1.11 m
  EXPECT_NEAR(first.mean_speed, 1.11, 0.02);

  // A file that is no survey data file leaves the survey as it was.
  EXPECT_FALSE(add_survey_file(s, "g", "not a survey data file", {}).table);
  EXPECT_EQ(s.lines.size(), 2u);
  EXPECT_EQ(s.line_readings.size(), 2u);
  EXPECT_EQ(reading_count(s), 6);
  EXPECT_EQ(s.positions.size(), positioned);
}

// Damaged files (bytes changed, records cut) never break the report's
// reading or its sums.
TEST(SurveyFileReading, DamagedFilesSeeded) {
  const std::string good = writer_file();
  std::mt19937 random(22);
  for (int round = 0; round < 300; ++round) {
    std::string bytes = good;
    const int changes = 1 + static_cast<int>(random() % 20);
    for (int k = 0; k < changes; ++k) bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
    if (round % 3 == 0) bytes.resize(random() % bytes.size());
    SurveyData s;
    if (!add_survey_file(s, "f", bytes, {}).table) continue;
    const std::vector<LineSummary> lines = line_table(s);
    const Coverage c = survey_coverage(s);
    const Verdict v = survey_verdict(s, lines, c);
    long positioned = 0;
    for (const LineSummary& l : lines) {
      positioned += l.positioned;
      EXPECT_GE(l.length, 0.0);
      EXPECT_LE(l.positioned, l.readings);
    }
    EXPECT_GE(positioned, static_cast<long>(s.positions.size()));
    EXPECT_EQ(positioned == 0, s.positions.empty());
    EXPECT_GE(c.covered_share, 0.0);
    EXPECT_LE(c.covered_share, 1.0);
    EXPECT_FALSE(v.text.empty());
  }
}

}  // namespace
}  // namespace quelor
