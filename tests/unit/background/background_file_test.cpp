// Data-file background files written by the program's own record writers,
// the temporary point files, the file table and the drawing plan.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <string>

#include "../support/memory_file_system.h"
#include "background/data_file_conversion.h"
#include "background/draw_plan.h"
#include "background/file_table.h"
#include "background/loader.h"
#include "background/point_file.h"
#include "datafile/data_records.h"
#include "datafile/header_records.h"
#include "gps/checksum.h"
#include "gps/projection.h"
#include "settings/settings.h"

namespace quelor {
namespace {

using testing_support::MemoryFileSystem;

std::string nmea(const std::string& body) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "*%02X", nmea_checksum(body));
  return body + buf;
}

// ddmm.mmmm of a positive angle.
std::string degrees_minutes(double deg, int degree_digits) {
  const int d = static_cast<int>(deg);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*d%07.4f", degree_digits, d, (deg - d) * 60.0);
  return buf;
}

std::string gga(double lat, double lon) {
  return nmea("$GPGGA,120000.00," + degrees_minutes(std::fabs(lat), 2) + (lat < 0 ? ",S," : ",N,") +
              degrees_minutes(std::fabs(lon), 3) + (lon < 0 ? ",W," : ",E,") + "1,08,0.9,100.0,M,-34.0,M,,");
}

// A survey file of the variant: header, line block, GPS sentences (with a
// GSA in between and one bad checksum), a second line.
std::string survey_file(const Variant& v, const std::vector<std::pair<double, double>>& fixes, double x_offset = 0.0,
                        double y_offset = 0.0, int map_units = 0) {
  Settings s;
  s.map_units = map_units;
  s.gps_sentence = 0;  // GGA/GSA
  s.gps_x_offset = x_offset;
  s.gps_y_offset = y_offset;
  HeaderFields h = header_fields_from_settings(s, v.instrument_type);
  h.file_name = "SITE1";
  std::string out;
  for (const std::string& r : header_block(v, h, false)) out += r;
  const LocalTime now{2026, 12, 9, 8, 0, 0, 0};
  LineBlockFields lb = line_block_fields_from_settings(s);
  for (const std::string& r : line_block_records(v, lb, now)) out += r;
  long count = 0;
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    if (i == fixes.size() / 2) {
      for (const std::string& r : line_block_records(v, lb, now)) out += r;
    }
    const std::uint32_t tick = static_cast<std::uint32_t>(1000 * (i + 1));  // a fix a second
    out += gps_sentence_records(v, gga(fixes[i].first, fixes[i].second), tick, kGpsForwarded, ++count);
    out +=
        gps_sentence_records(v, nmea("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"), tick + 1, kGpsAccepted, ++count);
  }
  std::string bad = gga(44.0, -79.0);
  bad.back() = bad.back() == '0' ? '1' : '0';
  out += gps_sentence_records(v, bad, 5000, kGpsAccepted, ++count);
  return out;
}

TEST(DataFileBackground, OwnFilesOfEveryRecordLength) {
  const std::vector<std::pair<double, double>> fixes = {
      {43.6101, -79.6001}, {43.6102, -79.6002}, {43.6103, -79.6003}, {43.6104, -79.6004}};
  const Variant variants[] = {{kEm31Mk2, kNavigation}, {kEm31Mk2, kRealTimeMap}, {kEm38_4, kRealTimeMap},
                              {kCs21, kNavigation},    {kEm61Lx2, kRealTimeMap}, {kGrad601, kRealTimeMap}};
  for (const Variant& v : variants) {
    const std::string file = survey_file(v, fixes);
    const std::optional<std::string> records = convert_data_file(file, {1, 17, 0, v.instrument_type});
    ASSERT_TRUE(records.has_value()) << v.instrument_type << "/" << v.navigation_mode;
    const std::vector<BackgroundPoint> p = read_point_file(*records);
    // Two points, a break at the second line, two points.
    ASSERT_EQ(p.size(), 5u) << v.instrument_type;
    EXPECT_TRUE(p[2].pen_up);
    const GridPoint g = project_to_utm(43.6104, -79.6004, 17);
    EXPECT_NEAR(p[4].easting, g.easting / 0.3048, 0.002) << v.instrument_type;
    EXPECT_NEAR(p[4].northing, g.northing / 0.3048, 0.002) << v.instrument_type;
  }
}

// A stored fix 1,000 km from the one a second before (its checksum right)
// gives no point; the track goes on from the last trusted fix.
TEST(DataFileBackground, AFixThatJumpsGivesNoPoint) {
  const std::vector<std::pair<double, double>> fixes = {
      {43.6101, -79.6001}, {43.6102, -79.6002}, {52.6103, -79.6003}, {43.6104, -79.6004}};
  const std::string file = survey_file({kEm31Mk2, kNavigation}, fixes);
  const std::vector<BackgroundPoint> p = read_point_file(*convert_data_file(file, {0, 17, 0, kEm31Mk2}));
  ASSERT_EQ(p.size(), 4u);  // two points, the break, one point
  EXPECT_TRUE(p[2].pen_up);
  EXPECT_NEAR(p[3].northing, project_to_utm(43.6104, -79.6004, 17).northing, 0.01);
}

// A navigation-line file holds the antenna offsets in header record 3: its
// positions become the sensor's, x to the left of and y behind the antenna
// along the direction of travel (north here, so west and south).
TEST(DataFileBackground, NavigationFilesShowTheSensorsTrack) {
  const std::vector<std::pair<double, double>> north = {
      {43.6100, -79.6000}, {43.6101, -79.6000}, {43.6102, -79.6000}, {43.6103, -79.6000}};
  for (const auto& [v, moved] :
       {std::pair{Variant{kEm31Mk2, kNavigation}, true}, {Variant{kEm31Mk2, kRealTimeMap}, false}}) {
    const std::string file = survey_file(v, north, 0.5, 1.25);
    const std::optional<std::string> records = convert_data_file(file, {0, 17, 0, v.instrument_type});
    ASSERT_TRUE(records.has_value());
    const std::vector<BackgroundPoint> p = read_point_file(*records);
    ASSERT_EQ(p.size(), 5u);
    for (std::size_t i : {0u, 1u, 3u, 4u}) {
      const std::size_t fix = i < 2 ? i : i - 1;
      const GridPoint g = project_to_utm(north[fix].first, north[fix].second, 17);
      // The travel is north to within the grid convergence (under 1 degree).
      EXPECT_NEAR(p[i].easting, g.easting - (moved ? 0.5 : 0.0), 0.03) << i << " " << moved;
      EXPECT_NEAR(p[i].northing, g.northing - (moved ? 1.25 : 0.0), 0.03) << i << " " << moved;
    }
  }
}

// A survey in feet: record 3 holds the offsets in feet, and a background
// loaded on a map in metres or in feet moves the positions by the offsets
// the survey set (0.5 m and 1.25 m), whatever the units.
TEST(DataFileBackground, OffsetsOfAFeetSurveyInEitherMapUnit) {
  const std::vector<std::pair<double, double>> north = {
      {43.6100, -79.6000}, {43.6101, -79.6000}, {43.6102, -79.6000}, {43.6103, -79.6000}};
  const std::string file = survey_file({kEm31Mk2, kNavigation}, north, 0.5, 1.25, 1);
  for (int map_units : {0, 1}) {
    const double unit = map_units == 1 ? 0.3048 : 1.0;
    const std::vector<BackgroundPoint> p = read_point_file(*convert_data_file(file, {map_units, 17, 0, kEm31Mk2}));
    ASSERT_EQ(p.size(), 5u);
    const GridPoint g = project_to_utm(north[0].first, north[0].second, 17);
    EXPECT_NEAR(p[0].easting * unit, g.easting - 0.5, 0.03) << map_units;
    EXPECT_NEAR(p[0].northing * unit, g.northing - 1.25, 0.03) << map_units;
  }
}

// Mutated survey files: the conversion never crashes, and whatever it
// writes is whole 38-byte records of finite numbers.
TEST(DataFileBackground, Fuzz) {
  const std::string file = survey_file({kEm38_4, kRealTimeMap}, {{43.61, -79.6}, {43.6101, -79.6001}, {-33.9, 151.2}});
  std::mt19937 rng(1209);
  std::uniform_int_distribution<int> byte(0, 255);
  int with_points = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string f = file.substr(0, rng() % (file.size() + 1));
    for (int e = 0; e < 1 + static_cast<int>(rng() % 12) && !f.empty(); ++e) {
      const std::size_t at = rng() % f.size();
      switch (rng() % 3) {
        case 0: f[at] = static_cast<char>(byte(rng)); break;
        case 1: f.erase(at, 1 + rng() % 50); break;
        default: f.insert(at, 1, "@#\n$,*0123456789NSEW."[rng() % 22]); break;
      }
    }
    const std::optional<std::string> records =
        convert_data_file(f, {static_cast<int>(rng() % 3), 1 + static_cast<int>(rng() % 60), 0, kEm31Mk2});
    if (!records) continue;
    ASSERT_EQ(records->size() % kPointRecordLength, 0u);
    with_points += !records->empty();
    for (const BackgroundPoint& p : read_point_file(*records))
      ASSERT_TRUE(std::isfinite(p.easting) && std::isfinite(p.northing));
  }
  EXPECT_GT(with_points, 300);  // the mutations reach the sentence decoding
}

TEST(DataFileBackground, IdentificationAndRecordLength) {
  struct Case {
    std::string head;
    bool supported;
  } cases[] = {
      {"ZLK31   W230GPS00000 1  \n", true},
      {"zLK31   W230GPS00000 1  \n", true},
      {"QYN31   W220GPS000000  \n", true},
      {"ZLKLX2N W109GPS0001010 1   \n", true},
      {"EM31 OLD FORMAT     12 \n", true},
      {"PROSURVEY 1 2 3 4 5 6  \n", true},
      {"XYZ,1,2,3,4,5,6,7,8,9,10\n", false},
      {"ZLKABC  W230GPS00000   \n", false},
      {"12,45\n", false},
  };
  for (const Case& c : cases) {
    const std::string file = c.head + c.head;
    EXPECT_EQ(convert_data_file(file, {}).has_value(), c.supported) << c.head;
  }
  EXPECT_EQ(data_file_record_length(std::string(46, 'x') + "\n"), 47);
  EXPECT_EQ(data_file_record_length(std::string(64, 'x') + "\n"), 65);
  EXPECT_EQ(data_file_record_length(std::string(65, 'x') + "\n"), 0);
}

TEST(PointFile, RecordsAndNames) {
  EXPECT_EQ(point_record(500100.5, 4800200.25, "AB"), "    500100.500,   4800200.250,2,AB   \n");
  EXPECT_EQ(point_record(9999999999.9, 1.0), "9999999999.900,         1.000,0,     \n");
  EXPECT_EQ(point_record(1e10, 1.0), unusable_point_record());
  EXPECT_EQ(point_record(1.0, -1e9), unusable_point_record());
  EXPECT_EQ(point_record(NAN, 1.0), unusable_point_record());
  EXPECT_EQ(break_record().size(), 38u);
  EXPECT_EQ(temporary_point_file_name(L"D:\\Sites\\plan.v2.TXT", 3, L"C:\\ProgramData\\Quelor\\Temp\\"),
            L"C:\\ProgramData\\Quelor\\Temp\\plan.v2.$03");
  EXPECT_EQ(temporary_point_file_name(L"NOEXT", 10, L"T"), L"T\\NOEXT.$10");
  EXPECT_EQ(folder_part(L"D:\\Sites\\plan.TXT"), L"D:\\Sites\\");
}

TEST(FileTable, RoomLowestFreeIndexAndRemoval) {
  MemoryFileSystem fs;
  BackgroundFileTable t;
  const MapFrame frame{500000.0, 4800000.0, 10.0, 400, 400};
  BackgroundLoadOptions o;
  o.file_type = kBackgroundText;
  BackgroundSurvey survey{0, 17, 0, kEm31Mk2, 0};
  for (int i = 0; i < 10; ++i) {
    const std::wstring name = L"C:\\bg\\f" + std::to_wstring(i) + L".txt";
    fs.files[name] = "500001,4800001\n500002,4800002\n";
    const BackgroundLoad l = load_background_file(t, name, o, survey, frame, L"C:\\T\\", fs);
    ASSERT_TRUE(l.added);
    EXPECT_FALSE(l.message.has_value());
    EXPECT_EQ(t.files.back().index, i + 1);
  }
  const BackgroundLoad full = load_background_file(t, L"C:\\bg\\f0.txt", o, survey, frame, L"C:\\T\\", fs);
  ASSERT_TRUE(full.message.has_value());
  EXPECT_EQ(full.message->title, "INFORMATION");
  EXPECT_EQ(full.message->text, "Maximum 10 background files already loaded");
  EXPECT_EQ(check_enter_background(t, true)->text, full.message->text);
  EXPECT_EQ(t.files.size(), 10u);
  // Remove rows 2 and 5 (indices 2 and 5); the next file takes index 2 and
  // leaves the temporary file of index 3 alone.
  std::vector<bool> sel(10, false);
  sel[1] = sel[4] = true;
  EXPECT_EQ(remove_background_files(t, sel, fs), 2);
  EXPECT_FALSE(fs.file_exists(L"C:\\T\\f1.$02"));
  const std::string kept = fs.files.at(L"C:\\T\\f2.$03");
  fs.files[L"C:\\bg\\new.txt"] = "500009,4800009\n";
  ASSERT_TRUE(load_background_file(t, L"C:\\bg\\new.txt", o, survey, frame, L"C:\\T\\", fs).added);
  EXPECT_EQ(t.files.back().index, 2);
  EXPECT_EQ(fs.files.at(L"C:\\T\\f2.$03"), kept);
  EXPECT_EQ(background_remove_rows(t)[8], L"  9. new.txt");
  EXPECT_EQ(background_remove_rows(t).size(), 9u);
  EXPECT_EQ(check_enter_background(t, false)->text, "Valid GPS position must be \r\nreceived to use this option.");
  EXPECT_FALSE(check_enter_background(t, true).has_value());
  clear_background_files(t, fs);
  EXPECT_EQ(check_background_to_remove(t)->text, "No background files to remove");
  EXPECT_EQ(fs.files.size(), 11u);  // only the sources remain
}

TEST(FileTable, LoadFailures) {
  MemoryFileSystem fs;
  BackgroundFileTable t;
  const MapFrame frame{500000.0, 4800000.0, 10.0, 400, 400};
  BackgroundSurvey survey{0, 17, 0, kEm31Mk2, 0};
  BackgroundLoadOptions data;  // data-file type
  BackgroundLoadOptions text;
  text.file_type = kBackgroundText;
  fs.files[L"a.H31"] = "FOREIGN HEADER LINE 1234\nmore\n";
  fs.files[L"b.txt"] = "/ nothing\nB\n";
  fs.files[L"c.txt"] = "-5,4800000\n9e9,9e9\n";
  fs.files[L"d.txt"] = "500001,4800001\n999999999999999999999999,4800002\n";
  struct Case {
    const wchar_t* name;
    const BackgroundLoadOptions& options;
    const char* title;
    const char* text;
    bool added;
  } cases[] = {
      {L"a.H31", data, "FILE ERROR", "Format not supported", false},
      {L"b.txt", text, "FILE ERROR", "Check background file structure.", false},
      {L"c.txt", text, "STOP", "All points in background file are invalid", true},
      {L"d.txt", text, "WARNING", "Number of points in background file: 2\r\nNumber of invalid points: 1\r\n", true},
      {L"missing.txt", text, "FILE ERROR", " Unexpected error B$1\r\n processing file:\r\n missing.txt", false},
  };
  for (const Case& c : cases) {
    const BackgroundLoad l = load_background_file(t, c.name, c.options, survey, frame, L"T", fs);
    ASSERT_TRUE(l.message.has_value());
    EXPECT_EQ(l.message->title, c.title);
    EXPECT_EQ(l.message->text, c.text);
    EXPECT_EQ(l.added, c.added);
  }
  EXPECT_EQ(t.files.size(), 2u);
}

// Files kept from an earlier survey are converted again for a survey of
// another zone (those the zone moves: geodetic text, data files) or map
// unit (all); one whose source is gone is removed and named, never drawn at
// the old survey's coordinates.
TEST(FileTable, ConvertedAgainForAnotherZoneOrUnit) {
  MemoryFileSystem fs;
  BackgroundFileTable t;
  const MapFrame frame{500000.0, 4800000.0, 10.0, 400, 400};
  BackgroundLoadOptions geodetic;
  geodetic.file_type = kBackgroundText;
  geodetic.coordinates = kGeodetic;
  BackgroundLoadOptions utm = geodetic;
  utm.coordinates = kUtmMetres;
  fs.files[L"C:\\bg\\geo.txt"] = "-81.0,43.3\n-81.0,43.31\n";
  fs.files[L"C:\\bg\\utm.txt"] = "500001,4800001\n";
  fs.files[L"C:\\bg\\gone.txt"] = "500002,4800002\n";
  const BackgroundSurvey first{0, 17, 0, kEm31Mk2, 0};
  for (const auto& [name, options] :
       {std::pair{L"C:\\bg\\geo.txt", geodetic}, {L"C:\\bg\\utm.txt", utm}, {L"C:\\bg\\gone.txt", utm}})
    ASSERT_TRUE(load_background_file(t, name, options, first, frame, L"C:\\T\\", fs).added);
  fs.files.erase(L"C:\\bg\\gone.txt");
  const auto point_file = [&](int row) { return fs.files.at(t.files[static_cast<std::size_t>(row)].temporary_name); };
  const auto first_point = [&](int row) { return read_point_file(point_file(row)).at(0); };

  BackgroundReconversion r = reconvert_background_files(t, first, fs);
  EXPECT_EQ(r.converted, 0);
  EXPECT_FALSE(r.message);

  const std::string utm_points = point_file(1);
  const BackgroundSurvey zone_18{0, 18, 0, kEm31Mk2, 0};
  r = reconvert_background_files(t, zone_18, fs);
  EXPECT_EQ(r.converted, 1);  // only the geodetic file moves with the zone
  EXPECT_FALSE(r.message);
  ASSERT_EQ(t.files.size(), 3u);
  EXPECT_NEAR(first_point(0).easting, project_to_utm(43.3, -81.0, 18).easting, 0.0006);
  EXPECT_EQ(point_file(1), utm_points);
  EXPECT_FALSE(background_needs_conversion(t.files[2], zone_18));

  const BackgroundSurvey feet{1, 18, 0, kEm31Mk2, 0};
  r = reconvert_background_files(t, feet, fs);
  EXPECT_EQ(r.converted, 2);
  ASSERT_EQ(r.removed, std::vector<std::wstring>{L"C:\\bg\\gone.txt"});
  ASSERT_TRUE(r.message);
  EXPECT_EQ(r.message->title, "WARNING");
  EXPECT_EQ(r.message->text.substr(0, 34), "Background file removed: gone.txt\r") << r.message->text;
  ASSERT_EQ(t.files.size(), 2u);
  EXPECT_FALSE(fs.file_exists(L"C:\\T\\gone.$03"));
  EXPECT_NEAR(first_point(0).easting, project_to_utm(43.3, -81.0, 18).easting / 0.3048, 0.0006);
  EXPECT_NEAR(first_point(1).easting, 500001 / 0.3048, 0.0006);
  for (const BackgroundFile& f : t.files) EXPECT_FALSE(background_needs_conversion(f, feet));
  // The next file takes the freed index; the kept ones keep theirs.
  EXPECT_EQ(t.files[1].index, 2);
  EXPECT_EQ(lowest_free_background_index(t), 3);
}

TEST(DrawPlan, UsableTilesPenLiftsAndWarnings) {
  // 10 pixels a unit, tiles of 100 pixels: tile columns 3-1996 hold
  // px -99799 ... 99600, rows 3-1996 py -99700 ... 99699.
  const MapFrame f{1000.0, 2000.0, 10.0, 100, 100};
  std::vector<BackgroundPoint> pts = {
      {1000.0, 2000.0, "A", false},          // px 0, py 0
      {1001.0, 2000.0, "", false},           // px 10
      {1000.0 + 9960.0, 2000.0, "", false},  // px 99600: column 1996
      {1000.0 + 9960.1, 2000.0, "", false},  // px 99601: column 1997, unusable
      {1002.0, 2001.0, "", false},           // starts a new line
      {kBreakCoordinate, kBreakCoordinate, "", true},
      {1003.0, 2001.0, "", false},
      {-1.0, 2001.0, "", false},             // negative easting
      {1004.0, 2000.0 - 9960.0, "", false},  // py -99600: row 4
  };
  const BackgroundDrawing lines = plan_background_drawing(pts, background_style(9, 0), false, f);
  EXPECT_EQ(lines.points, 8);
  EXPECT_EQ(lines.unusable, 2);
  ASSERT_EQ(lines.lines.size(), 1u);
  EXPECT_EQ(lines.lines[0], (std::vector<WorldPixel>{{0, 0}, {10, 0}, {99600, 0}}));
  EXPECT_EQ(lines.line_starts, (std::vector<WorldPixel>{{20, 10}, {30, 10}, {40, -99600}}));
  const auto warning = drawing_message(lines);
  ASSERT_TRUE(warning.has_value());
  EXPECT_EQ(warning->title, "WARNING");
  EXPECT_EQ(warning->text, "Number of points in background file: 8\r\nNumber of invalid points: 2\r\n");

  const BackgroundDrawing dots = plan_background_drawing(pts, background_style(5, 0), true, f);
  EXPECT_EQ(dots.symbols.size(), 6u);
  EXPECT_EQ(dots.half_size, 4);
  ASSERT_EQ(dots.labels.size(), 1u);
  EXPECT_EQ(dots.labels[0].at, (WorldPixel{3, 0}));  // large: 3 pixels beyond the centre
  // The survey's own rounding: floor(x + 0.5).
  EXPECT_EQ(world_pixel(f, 999.96, 1999.96), (WorldPixel{0, 0}));
  EXPECT_EQ(world_pixel(f, 999.89, 2000.0), (WorldPixel{-1, 0}));
}

// Two programs running at once never share a point file.
TEST(TemporaryFolder, OneFolderPerRunningProgram) {
  const std::wstring base = L"C:\\ProgramData\\Quelor\\Temp\\";
  EXPECT_EQ(program_temporary_folder(base, "Zelko31", 4242), L"C:\\ProgramData\\Quelor\\Temp\\Zelko31-4242\\");
  EXPECT_EQ(program_temporary_folder(L"D:\\tmp", "Qyn38", 7), L"D:\\tmp\\Qyn38-7\\");
  EXPECT_NE(program_temporary_folder(base, "Zelko31", 1), program_temporary_folder(base, "Qyn31", 1));
  EXPECT_NE(program_temporary_folder(base, "Zelko31", 1), program_temporary_folder(base, "Zelko31", 2));
  const std::wstring a =
      temporary_point_file_name(L"C:\\plans\\site.txt", 1, program_temporary_folder(base, "Zelko31", 1));
  const std::wstring b =
      temporary_point_file_name(L"C:\\plans\\site.txt", 1, program_temporary_folder(base, "Qyn38", 2));
  EXPECT_NE(a, b);
  testing_support::MemoryFileSystem fs;
  EXPECT_TRUE(make_temporary_folder(program_temporary_folder(base, "Zelko31", 9), fs));
  EXPECT_EQ(fs.folders,
            (std::set<std::wstring>{L"C:\\ProgramData", L"C:\\ProgramData\\Quelor", L"C:\\ProgramData\\Quelor\\Temp",
                                    L"C:\\ProgramData\\Quelor\\Temp\\Zelko31-9"}));
}

}  // namespace
}  // namespace quelor
