// Text background files: every line rule on a table of lines, the unit
// factors, the column checks, and a seeded fuzz of the line parser.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "background/load_options.h"
#include "background/loader.h"
#include "background/point_file.h"
#include "background/text_conversion.h"
#include "background/unit_factors.h"
#include "gps/projection.h"

namespace quelor {
namespace {

BackgroundLoadOptions text_options(int delimiter, int type = kBackgroundText) {
  BackgroundLoadOptions o;
  o.file_type = type;
  o.coordinates = kUtmMetres;
  o.delimiter = delimiter;
  o.easting_column = 0;
  o.northing_column = 1;
  o.labels_column = 2;
  return o;
}

struct LineCase {
  const char* name;
  int delimiter;
  int type;
  const char* line;
  const char* record;  // expected record, "" for none
};

TEST(TextConversion, LineRules) {
  const LineCase cases[] = {
      {"comma", 1, kBackgroundText, "500100.5,4800200.25", "    500100.500,   4800200.250,0,     \n"},
      {"slash comment", 1, kBackgroundText, "/500100,4800200", ""},
      {"empty", 1, kBackgroundText, "", ""},
      {"carriage return only", 1, kBackgroundText, "\r", ""},
      {"lower b breaks", 1, kBackgroundText, "b", "    -99999.000,    -99999.000,0,     \n"},
      {"upper B breaks", 0, kBackgroundText, "B anything", "    -99999.000,    -99999.000,0,     \n"},
      {"spaces collapsed", 0, kBackgroundText, "  500100    4800200   ", "    500100.000,   4800200.000,0,     \n"},
      {"tab", 2, kBackgroundText, "500100\t4800200\r", "    500100.000,   4800200.000,0,     \n"},
      {"semicolon", 3, kBackgroundText, "1;2;3", "         1.000,         2.000,0,     \n"},
      {"missing column", 1, kBackgroundText, "500100", ""},
      {"empty column", 1, kBackgroundText, "500100,,4800200", ""},
      {"not a number", 1, kBackgroundText, "East,North", ""},
      {"number with junk", 1, kBackgroundText, "500100x,4800200", ""},
      {"decimal comma, semicolon", 3, kBackgroundText, "500100,5;4800200,25;MH",
       "    500100.500,   4800200.250,0,     \n"},
      {"decimal comma, tab", 2, kBackgroundText, "-1,5\t2,75", "        -1.500,         2.750,0,     \n"},
      {"decimal point, semicolon", 3, kBackgroundText, "1.5;2", "         1.500,         2.000,0,     \n"},
      {"leading plus", 1, kBackgroundText, "+1.5,2", "         1.500,         2.000,0,     \n"},
      {"two commas are no number", 3, kBackgroundText, "1,000,5;2", ""},
      {"comma delimiter splits a decimal comma", 1, kBackgroundText, "1,5,2,5",
       "         1.000,         5.000,0,     \n"},
      {"label cut to 5", 1, kBackgroundLabelledText, "1,2, PIPELINE7 ", "         1.000,         2.000,5,PIPEL\n"},
      {"short label", 1, kBackgroundLabelledText, "1,2,MH1", "         1.000,         2.000,3,MH1  \n"},
      {"empty label", 1, kBackgroundLabelledText, "1,2,", "         1.000,         2.000,0,     \n"},
      {"no label column", 1, kBackgroundLabelledText, "1,2", "         1.000,         2.000,0,     \n"},
      {"labels ignored without type", 1, kBackgroundText, "1,2,MH1", "         1.000,         2.000,0,     \n"},
      {"too large for the field", 1, kBackgroundText, "1e10,2", "    -88888.000,    -88888.000,0,     \n"},
      {"too large for any map", 0, kBackgroundText, "999999999999999999999999 2",
       "    -88888.000,    -88888.000,0,     \n"},
      {"beyond a double", 1, kBackgroundText, "1,1e400", "    -88888.000,    -88888.000,0,     \n"},
      {"beyond a double, negative", 3, kBackgroundText, "-1e400;2", "    -88888.000,    -88888.000,0,     \n"},
      {"beyond a double, decimal comma", 3, kBackgroundText, "1;9,5e999", "    -88888.000,    -88888.000,0,     \n"},
      {"infinite", 1, kBackgroundText, "inf,2", ""},
      {"not a number text", 1, kBackgroundText, "1,nan", ""},
  };
  for (const LineCase& c : cases) {
    const TextConversion conv{text_options(c.delimiter, c.type), 0, 17};
    const std::string record = convert_text_line(c.line, conv);
    EXPECT_EQ(record, c.record) << c.name;
    if (!record.empty()) {
      EXPECT_EQ(record.size(), static_cast<std::size_t>(kPointRecordLength)) << c.name;
    }
  }
}

TEST(TextConversion, FileWithBreakSplitsIntoTwoParts) {
  const std::string text = "/ site plan\r\n1,1\r\n2,2\r\nB\r\n\r\n3,3\r\n4,4";
  const TextFileConversion c = convert_text_file(text, {text_options(1), 0, 17});
  EXPECT_EQ(c.refused_line, 0);
  const std::vector<BackgroundPoint> points = read_point_file(c.records);
  ASSERT_EQ(points.size(), 5u);
  EXPECT_FALSE(points[1].pen_up);
  EXPECT_TRUE(points[2].pen_up);
  EXPECT_DOUBLE_EQ(points[4].easting, 4.0);
  EXPECT_TRUE(lifts_pen(points[2]));
}

// What spreadsheets write is accepted; a field that is no number refuses the
// file with its line number; a heading before the first point is skipped.
TEST(TextConversion, FilesAcceptedOrRefusedWithTheLine) {
  const struct {
    const char* name;
    int delimiter;
    const char* text;
    int points;           // records when accepted
    int refused_line;     // 0: accepted
    const char* refusal;  // part of the reason
  } cases[] = {
      {"semicolon, decimal comma, heading", 3,
       "Easting;Northing;Name\r\n500100,5;4800200,25;MH1\r\n500101;4800201;MH2\r\n", 2, 0, ""},
      {"tab, decimal comma", 2, "x\ty\n1,5\t2,5\n\n3,5\t4,5\n", 2, 0, ""},
      {"junk after a number", 1, "1,1\n2,2\n500100x,4800200\n4,4\n", 0, 3, "\"500100x\" in column 1 is not a number"},
      {"heading after a point", 3, "1;1\nEasting;Northing\n", 0, 2, "\"Easting\" in column 1"},
      {"heading with a digit", 1, "E1,N1\n1,1\n", 0, 1, "\"E1\""},
      {"semicolon file read with commas", 1, "500100,5;4800200,25\n", 0, 1, "\"5;4800200\" in column 2"},
      {"missing column still skipped", 1, "1\n2,2\n", 1, 0, ""},
      {"a coordinate too large for any map", 1, "1,1\n999999999999999999999999,2\n3,1e400\n4,4\n", 4, 0, ""},
  };
  for (const auto& c : cases) {
    const TextFileConversion r = convert_text_file(c.text, {text_options(c.delimiter), 0, 17});
    EXPECT_EQ(r.refused_line, c.refused_line) << c.name;
    EXPECT_NE(r.refusal.find(c.refusal), std::string::npos) << c.name << ": " << r.refusal;
    EXPECT_EQ(read_point_file(r.records).size(), static_cast<std::size_t>(c.points)) << c.name;
  }
  BackgroundLoadOptions o = text_options(3);
  const BackgroundConversion refused = convert_background_file("1;1\n2;x\n", o, {});
  ASSERT_TRUE(refused.refusal);
  EXPECT_EQ(refused.refusal->title, "FILE ERROR");
  EXPECT_EQ(refused.refusal->text, "Check background file structure.\r\nLine 2: \"x\" in column 2 is not a number");
}

TEST(TextConversion, GeodeticProjectedInSurveyZone) {
  BackgroundLoadOptions o = text_options(1);
  o.coordinates = kGeodetic;
  // Longitude -77.9 lies in zone 18 but the survey works in zone 17.
  const std::string rec = convert_text_line("-77.9,43.6", {o, 0, 17});
  const std::vector<BackgroundPoint> p = read_point_file(rec);
  ASSERT_EQ(p.size(), 1u);
  const GridPoint g = project_to_utm(43.6, -77.9, 17);
  EXPECT_NEAR(p[0].easting, g.easting, 0.0006);
  EXPECT_NEAR(p[0].northing, g.northing, 0.0006);
  // In US survey feet.
  const std::vector<BackgroundPoint> f = read_point_file(convert_text_line("-77.9,43.6", {o, 2, 17}));
  EXPECT_NEAR(f[0].easting, g.easting / 0.304800609601219, 0.0006);
  // Out of range latitude, or a number too large for any map: an unusable
  // point, still counted.
  for (const char* line : {"-77.9,95", "-77.9,1e400", "999999999999999999999999,43.6"}) {
    const std::vector<BackgroundPoint> bad = read_point_file(convert_text_line(line, {o, 0, 17}));
    ASSERT_EQ(bad.size(), 1u) << line;
    EXPECT_TRUE(lifts_pen(bad[0])) << line;
    EXPECT_FALSE(bad[0].pen_up) << line;
  }
}

TEST(UnitFactors, EveryTypeAndUnit) {
  const double ft = 0.3048, us = 0.304800609601219;
  const double expected[4][3] = {
      {1.0, 1.0 / ft, 1.0 / us},
      {1.0, 1.0 / ft, 1.0 / us},
      {ft, 1.0, ft / us},
      {us, us / ft, 1.0},
  };
  for (int c = 0; c < 4; ++c)
    for (int u = 0; u < 3; ++u) EXPECT_NEAR(background_unit_factor(c, u), expected[c][u], 1e-15) << c << u;
  // Feet to US feet of a northing of 4,000 km in feet: within a millimetre.
  const double northing_ft = 4.0e6 / ft;
  EXPECT_NEAR(northing_ft * background_unit_factor(kUtmFeet, 2) * us, 4.0e6, 1e-3);
}

TEST(ColumnChecks, Messages) {
  struct Case {
    int type, coordinates, east, north, labels;
    const char* text;  // nullptr: accepted
  } cases[] = {
      {kBackgroundText, kUtmMetres, 0, 0, 2, "Same column selected for UTM coordinates. Please correct."},
      {kBackgroundText, kUtmUsFeet, 3, 3, 2, "Same column selected for UTM coordinates. Please correct."},
      {kBackgroundText, kGeodetic, 1, 1, 2, "Same column selected for Longitude and Latitude. Please correct."},
      {kBackgroundLabelledText, kGeodetic, 0, 1, 0, "Same column selected for Longitude and Label. Please correct."},
      {kBackgroundLabelledText, kUtmMetres, 0, 1, 1, "Same column selected for Latitude and Label. Please correct."},
      {kBackgroundText, kUtmMetres, 0, 1, 1, nullptr},
      {kBackgroundDataFile, kUtmMetres, 0, 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    BackgroundLoadOptions o;
    o.file_type = c.type;
    o.coordinates = c.coordinates;
    o.easting_column = c.east;
    o.northing_column = c.north;
    o.labels_column = c.labels;
    const auto m = check_background_columns(o);
    if (!c.text) {
      EXPECT_FALSE(m.has_value());
      continue;
    }
    ASSERT_TRUE(m.has_value()) << c.text;
    EXPECT_EQ(m->title, "COORDINATES ERROR");
    EXPECT_EQ(m->text, c.text);
  }
}

TEST(LoadOptions, SettingsGroupRoundTripAndStyles) {
  const BackgroundLoadOptions d = load_options_from_settings({0, 1, 1, 0, 1, 2, 1}, 0);
  EXPECT_EQ(d, BackgroundLoadOptions{});
  EXPECT_EQ(load_options_to_settings(d), (std::array<int, 7>{0, 1, 1, 0, 1, 2, 1}));
  // The navigation line has no labelled type and four display types.
  const BackgroundLoadOptions n = load_options_from_settings({2, 9, 1, 30, 1, 2, 7}, 1);
  EXPECT_EQ(n.file_type, 0);
  EXPECT_EQ(n.coordinates, kUtmMetres);
  EXPECT_EQ(n.easting_column, 0);
  EXPECT_EQ(n.display_type, 0);
  struct Style {
    int type, nav;
    bool joined;
    SymbolShape shape;
    int pen, half;
  } styles[] = {
      {0, 0, false, SymbolShape::kDot, 1, 1},    {2, 0, false, SymbolShape::kDot, 3, 3},
      {3, 0, false, SymbolShape::kSquare, 1, 2}, {8, 0, false, SymbolShape::kTriangle, 3, 4},
      {9, 0, true, SymbolShape::kDot, 1, 1},     {11, 0, true, SymbolShape::kDot, 3, 1},
      {0, 1, false, SymbolShape::kDot, 1, 1},    {3, 1, true, SymbolShape::kDot, 3, 1},
  };
  for (const Style& s : styles) {
    const BackgroundStyle b = background_style(s.type, s.nav);
    EXPECT_EQ(b.joined, s.joined) << s.type;
    EXPECT_EQ(b.shape, s.shape) << s.type;
    EXPECT_EQ(b.pen_width, s.pen) << s.type;
    if (!b.joined) {
      EXPECT_EQ(symbol_half_size(b), s.half) << s.type;
    }
  }
}

// Random and mutated lines: every record is 38 bytes, parses back, and has
// a label of at most 5 printable characters.
TEST(TextConversion, Fuzz) {
  std::mt19937 rng(20261209);
  const char* seeds[] = {"500100.5,4800200.25,LABEL", "  1  2  3 ",   "b",       "/x",
                         "1e308,1e-308,ab",           "-77.9;43.6;Q", "\t1\t2\t"};
  std::uniform_int_distribution<int> byte(0, 255), op(0, 3);
  for (int i = 0; i < 20000; ++i) {
    std::string line = seeds[rng() % std::size(seeds)];
    for (int e = 0; e < 1 + static_cast<int>(rng() % 5) && !line.empty(); ++e) {
      const std::size_t at = rng() % line.size();
      switch (op(rng)) {
        case 0: line[at] = static_cast<char>(byte(rng)); break;
        case 1: line.erase(at, 1 + rng() % 4); break;
        case 2: line.insert(at, 1, ",; \t"[rng() % 4]); break;
        default: line.insert(at, std::to_string(static_cast<int>(rng() % 200000) - 100000)); break;
      }
    }
    BackgroundLoadOptions o = text_options(static_cast<int>(rng() % 4), 1 + static_cast<int>(rng() % 2));
    o.coordinates = static_cast<int>(rng() % 4);
    o.labels_column = 2 + static_cast<int>(rng() % 3);
    const std::string record =
        convert_text_line(line, {o, static_cast<int>(rng() % 3), 1 + static_cast<int>(rng() % 60)});
    if (record.empty()) continue;
    ASSERT_EQ(record.size(), static_cast<std::size_t>(kPointRecordLength)) << line;
    ASSERT_EQ(record.back(), '\n');
    const std::vector<BackgroundPoint> p = read_point_file(record);
    ASSERT_EQ(p.size(), 1u);
    ASSERT_TRUE(std::isfinite(p[0].easting) && std::isfinite(p[0].northing)) << line;
    ASSERT_LE(p[0].label.size(), 5u);
    for (char ch : p[0].label) ASSERT_TRUE(ch >= 32 && ch <= 126) << line;
  }
}

}  // namespace
}  // namespace quelor
