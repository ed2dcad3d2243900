// The report's computations on constructed surveys: the line table, the
// speed histogram, the hull, coverage and its gaps, the verdict; and a data
// file written by the writer read back into the report's survey.

#include <gtest/gtest.h>

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
#include "report/line_table.h"
#include "report/remarks.h"
#include "report/speed_histogram.h"
#include "report/survey_file_reading.h"
#include "report/verdict.h"

namespace quelor {
namespace {

constexpr double kE = 500000.0, kN = 5300000.0;

// Lines running north then south, `spacing` apart, `length` long, walked at
// 1 m/s: a reading every 0.1 m, a fix and a swath cross-line `width` wide
// every metre. Lines in `skip` are not walked.
SurveyData lawnmower(int lines, double spacing, double length, double width, std::set<int> skip = {}) {
  SurveyData s;
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
      s.readings.push_back({index, true, {e, northing((k + 0.5) / 10)}, clock + (k + 0.5) / 10});
    clock += length + 10;
    ++segment;
  }
  return s;
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
  for (int k = 0; k < 10; ++k) s.readings.push_back({0, true, {kE, kN + 60 + k * 0.1}, 8 * 3600.0 + 80 + k * 0.1});
  s.fixes.push_back({0, 7, {kE, kN + 60}, 4, 12, 0.8, 8 * 3600.0 + 80, 8 * 3600.0 + 80});
  s.fixes.push_back({0, 7, {kE, kN + 63}, 4, 12, 0.8, 8 * 3600.0 + 81, 8 * 3600.0 + 81});
  s.readings.push_back({0, false, {}, 8 * 3600.0 + 90});
  const LineSummary l = line_table(s)[0];
  EXPECT_EQ(l.readings, 111);
  EXPECT_EQ(l.positioned, 110);
  EXPECT_NEAR(l.length, 9.9 + 0.9, 1e-9);
  EXPECT_NEAR(l.max_speed, 3.0, 1e-9);  // not the 50 m across the pause
  EXPECT_NEAR(l.mean_speed, 13.0 / 11.0, 1e-9);
  EXPECT_NEAR(l.end, 8 * 3600.0 + 90, 1e-9);
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

// A damaged file can give a swath corner that is infinite, not a number or
// far beyond any grid: such a swath covers nothing and breaks nothing.
TEST(Coverage, SwathsWithInfiniteOrFarCornersCoverNothing) {
  const SurveyData plain = lawnmower(10, 1.0, 40.0, 1.0, {4});
  const double baseline = survey_coverage(plain).covered_share;
  const double inf = std::numeric_limits<double>::infinity();
  const PlanePoint corners[] = {{inf, kN}, {kE, -inf}, {std::nan(""), kN}, {1e300, kN}, {kE, -1e300}};
  for (const PlanePoint& corner : corners) {
    SurveyData s = plain;
    s.swaths.push_back({PlanePoint{kE + 4.0, kN}, corner, PlanePoint{kE + 4.5, kN + 40.0},
                        PlanePoint{kE + 4.0, kN + 40.0}});
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
  for (int k = 0; k < 30; ++k) gap.readings.push_back({9, false, {}, kNoTime});  // line 10 loses its GPS
  v = survey_verdict(gap, line_table(gap), survey_coverage(gap));
  EXPECT_FALSE(v.complete);
  ASSERT_EQ(v.findings.size(), 3u);
  EXPECT_EQ(v.findings[0].rfind("gap 1: 1 x 40 m (40 sq m) at E 500004.0 N 53000", 0), 0u) << v.findings[0];
  EXPECT_TRUE(v.findings[0].ends_with(", between line 4 and line 6")) << v.findings[0];
  EXPECT_EQ(v.findings[1], "line 10: 30 of 430 readings without a position");
  EXPECT_EQ(v.findings[2], "12 readings lost");
  EXPECT_EQ(v.text, "incomplete: " + v.findings[0] + "; " + v.findings[1] + "; " + v.findings[2]);

  SurveyData none;
  EXPECT_EQ(survey_verdict(none, {}, survey_coverage(none)).text, "incomplete: no readings");
}

TEST(Verdict, LineLabelsNameTheFileWhenThereAreSeveral) {
  SurveyData s = lawnmower(2, 1.0, 10.0, 1.0);
  EXPECT_EQ(line_label(s, 1), "2");
  s.lines[1].file = "second.R31";
  EXPECT_EQ(line_label(s, 1), "second.R31 2");
}

TEST(Remarks, MeaningsAndLostCounts) {
  const std::pair<const char*, const char*> cases[] = {
      {"$STARTED", "logging started"},   {"PAUSED", "pause"},
      {"PAUSED BMP", "pause (map edge reached)"}, {"1CONN BRK 1", "instrument connection break"},
      {"1CONN RCN 1", "instrument reconnected"},  {"GPS CONN BR", "GPS connection break"},
      {"$CONN END", "reconnection ended by the operator"}, {"Lost 999999", "readings lost"},
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
  const ExportTableResult table = build_export_table(bytes, {});
  ASSERT_TRUE(table.table) << table.error;
  SurveyData s;
  add_survey_file(s, "f.R31", bytes, *table.table);

  ASSERT_EQ(s.lines.size(), 2u);
  EXPECT_EQ(s.lines[1].name, "A2");
  EXPECT_EQ(s.lines[1].file, "f.R31");
  EXPECT_EQ(s.date, "09.12.2026");
  ASSERT_EQ(s.readings.size(), 6u);
  EXPECT_EQ(s.readings[3].line, 1);
  EXPECT_TRUE(s.readings[0].positioned);
  EXPECT_NEAR(s.readings[0].time, 9 * 3600 + 30 * 60 + 0.5, 1e-9);  // the time mark and 500 ms
  EXPECT_NEAR(s.readings[3].time, 9 * 3600 + 30 * 60 + 10.5, 1e-9);
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
    const ExportTableResult table = build_export_table(bytes, {});
    if (!table.table) continue;
    SurveyData s;
    add_survey_file(s, "f", bytes, *table.table);
    const std::vector<LineSummary> lines = line_table(s);
    const Coverage c = survey_coverage(s);
    const Verdict v = survey_verdict(s, lines, c);
    long readings = 0;
    for (const LineSummary& l : lines) {
      readings += l.readings;
      EXPECT_GE(l.length, 0.0);
      EXPECT_LE(l.positioned, l.readings);
    }
    EXPECT_EQ(readings, static_cast<long>(s.readings.size()));
    EXPECT_GE(c.covered_share, 0.0);
    EXPECT_LE(c.covered_share, 1.0);
    EXPECT_FALSE(v.text.empty());
  }
}

}  // namespace
}  // namespace quelor
