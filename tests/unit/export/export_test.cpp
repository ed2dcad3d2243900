// The export of a survey data file built by the writer: positions against
// the fixes it was built from, a byte-exact golden file per format, every
// variant's sample survey, truncated and damaged files.
// QUELOR_UPDATE_GOLDEN=1 rewrites the golden files (then read them by eye).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "../datafile/survey_fixture.h"
#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "export/export_formats.h"
#include "export/export_table.h"
#include "gps/checksum.h"
#include "gps/projection.h"

namespace quelor {
namespace {

struct Fix {
  std::uint32_t tick;
  double latitude, longitude;
  int quality = 4;
};

std::string gga(const Fix& f) {
  const double alat = std::fabs(f.latitude), alon = std::fabs(f.longitude);
  char body[128];
  std::snprintf(body, sizeof body, "$GPGGA,101010.00,%02d%09.6f,%c,%03d%09.6f,%c,%d,09,0.9,250.0,M,47.0,M,,",
                static_cast<int>(alat), (alat - std::floor(alat)) * 60.0, f.latitude < 0 ? 'S' : 'N',
                static_cast<int>(alon), (alon - std::floor(alon)) * 60.0, f.longitude < 0 ? 'W' : 'E', f.quality);
  char sum[8];
  std::snprintf(sum, sizeof sum, "*%02X", nmea_checksum(body));
  return std::string(body) + sum;
}

// An EM31-MK2 reading "T" + status + two values: vertical dipole, range 100.
std::string em31_record(int conductivity, int inphase) {
  char buf[32];  // room for any two ints
  std::snprintf(buf, sizeof buf, "T%c%05d%05d", 0x24, conductivity, inphase);
  return buf;
}

const Variant kVariant{kEm31Mk2, kRealTimeMap};

// The fixes of the survey below, in the order they are logged.
const Fix kFixes[] = {
    {10000, 48.1, 11.5},         {11000, 48.10001, 11.50002},    {12000, 48.10002, 11.50004},
    {13000, 48.10003, 11.50006}, {14000, 48.10004, 11.50008, 0},  // quality 0: no fix
    {19000, 48.10005, 11.50010}, {30000, 48.1006, 11.5003},      {31000, 48.10061, 11.50031},
};

std::string build_survey() {
  MemorySink sink;
  const std::wstring path = L"C:\\Data\\251209_000.T31";
  sink.open(path);
  DataFileWriter w(sink, kVariant);
  HeaderFields h = testing_support::sample_header(kVariant);
  h.reference_zone = 32;
  w.write_header(h, false);
  LineBlockFields line = testing_support::sample_line(1);
  line.station_increment = 1.0;
  w.write_line_block(line, LocalTime{2025, 12, 9, 10, 10, 0, 0}, 9000);
  w.write_remark("$STARTED", 'X', 9500);
  auto gps = [&](int i) { w.write_gps_sentence(gga(kFixes[i]), kFixes[i].tick, kGpsForwarded); };
  auto read = [&](std::uint32_t tick, int value) { w.write_reading({em31_record(value, value / 10), tick}); };
  read(9800, 100);  // before the first fix: no position
  gps(0);
  read(10250, 110);
  w.write_gps_sentence("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39", 10300, kGpsAccepted);
  read(10500, 120);
  read(11050, 130);  // arrived while the next sentence (begun at 11000) came in
  gps(1);
  w.write_gps_sentence("NOT NMEA", 11100, kGpsUnparsed);
  read(11500, 140);
  w.write_station(5.0, LocalTime{2025, 12, 9, 10, 10, 2, 0});
  read(11750, 150);
  gps(2);
  read(12500, 160);
  gps(3);
  read(13500, 170);  // the next usable fix is 6 s later: no position
  gps(4);
  gps(5);
  read(19500, 180);  // after the last fix of the line: no position
  w.write_remark("PAUSED", 'X', 19600);
  LineBlockFields second = testing_support::sample_line(2);
  second.start_station = 10.0;
  second.station_increment = -1.0;
  w.write_line_block(second, LocalTime{2025, 12, 9, 10, 11, 0, 0}, 29000);
  w.write_remark("$STARTED", 'X', 29500);
  gps(6);
  read(30250, 190);
  w.write_remark("GPS CONN BRK", 'X', 30400);
  read(30750, 200);  // the remark splits the path
  gps(7);
  return sink.file(path);
}

std::string golden_path(const std::string& name) {
  return std::string(QUELOR_SOURCE_DIR) + "/tests/golden/export/" + name;
}

void expect_golden(const std::string& name, const std::string& bytes) {
  if (std::getenv("QUELOR_UPDATE_GOLDEN")) std::ofstream(golden_path(name), std::ios::binary) << bytes;
  std::ifstream in(golden_path(name), std::ios::binary);
  ASSERT_TRUE(in) << "missing golden file " << name;
  std::ostringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(bytes, golden.str()) << name;
}

ExportTable table_of(const std::string& bytes, ExportOptions o = {}) {
  ExportTableResult r = build_export_table(bytes, o);
  EXPECT_TRUE(r.table) << r.error;
  return r.table ? *r.table : ExportTable{};
}

TEST(Export, PositionsAreInterpolatedBetweenTheFixesAroundEachReading) {
  const ExportTable t = table_of(build_survey());
  ASSERT_EQ(t.rows.size(), 11u);
  EXPECT_EQ(t.zone, 32);
  // Reading -> (fix before, fix after, fraction); -1: no position.
  struct Want {
    int before, after;
    double fraction;
  };
  const Want want[] = {{-1, -1, 0}, {0, 1, 0.25}, {0, 1, 0.5}, {1, 2, 0.05}, {1, 2, 0.5}, {1, 2, 0.75},
                       {2, 3, 0.5}, {-1, -1, 0},  {-1, -1, 0}, {-1, -1, 0},  {-1, -1, 0}};
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    const ExportRow& r = t.rows[i];
    if (want[i].before < 0) {
      EXPECT_FALSE(r.position) << "reading " << i;
      continue;
    }
    ASSERT_TRUE(r.position) << "reading " << i;
    const Fix& a = kFixes[want[i].before];
    const Fix& b = kFixes[want[i].after];
    const GridPoint pa = project_to_utm(a.latitude, a.longitude, 32);
    const GridPoint pb = project_to_utm(b.latitude, b.longitude, 32);
    const double f = want[i].fraction;
    EXPECT_NEAR(r.position->easting, pa.easting + (pb.easting - pa.easting) * f, 1e-6) << i;
    EXPECT_NEAR(r.position->northing, pa.northing + (pb.northing - pa.northing) * f, 1e-6) << i;
    // Within 1e-7 degrees of the fixes' coordinates (GGA keeps 6 minute decimals).
    EXPECT_NEAR(r.position->latitude, a.latitude + (b.latitude - a.latitude) * f, 1e-7) << i;
    EXPECT_NEAR(r.position->longitude, a.longitude + (b.longitude - a.longitude) * f, 1e-7) << i;
    EXPECT_EQ(r.position->quality, 4);
  }
  // Stations: 0 to 4, then 5 from the station record on; the second line
  // starts at 10 and counts down.
  const double stations[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 9};
  for (std::size_t i = 0; i < t.rows.size(); ++i) EXPECT_DOUBLE_EQ(t.rows[i].station, stations[i]) << i;
  EXPECT_EQ(t.rows[0].line, "1");
  EXPECT_EQ(t.rows[10].line, "2");
  // Range 100 vertical dipole: conductivity = V1 x -0.025.
  ASSERT_EQ(t.columns.size(), 2u);
  EXPECT_EQ(t.columns[0].name, "conductivity_vertical_mS_m");
  EXPECT_EQ(t.rows[1].values[0], "-2.75");
  EXPECT_EQ(t.track.size(), 3u);  // the two lines, the second split by the remark
}

TEST(Export, TheZoneOptionProjectsEveryFixIntoThatZone) {
  const ExportTable t = table_of(build_survey(), ExportOptions{33});
  EXPECT_EQ(t.zone, 33);
  const GridPoint p = project_to_utm(kFixes[0].latitude, kFixes[0].longitude, 33);
  ASSERT_TRUE(t.rows[1].position);
  EXPECT_LT(t.rows[1].position->easting, p.easting + 10.0);
  EXPECT_LT(t.rows[1].position->easting, 400000.0);  // west of zone 33's central meridian
}

TEST(Export, EveryFormatMatchesItsGoldenFile) {
  const std::string bytes = build_survey();
  expect_golden("em31.T31", bytes);
  const ExportTable t = table_of(bytes, ExportOptions{kAutomaticZone, 1.0});
  expect_golden("em31.csv", export_text(t, ExportFormat::kCsv));
  expect_golden("em31-emagpy.csv", export_text(t, ExportFormat::kEmagpyCsv));
  expect_golden("em31.xyz", export_text(t, ExportFormat::kXyz));
  expect_golden("em31.geojson", export_text(t, ExportFormat::kGeoJson));
  expect_golden("em31.kml", export_text(t, ExportFormat::kKml));
  expect_golden("em31.gpx", export_text(t, ExportFormat::kGpx));
}

TEST(Export, EmagpyNamesTheCoilConfiguration) {
  const ExportTable t = table_of(build_survey(), ExportOptions{kAutomaticZone, 1.0});
  const std::string csv = export_text(t, ExportFormat::kEmagpyCsv);
  EXPECT_EQ(csv.substr(0, csv.find('\n')),
            "line,station,tick,x,y,zone,latitude,longitude,fix_quality,HCP3.66f9800h1,HCP3.66f9800h1_inph");
  EXPECT_EQ(csv.find('\r'), std::string::npos);
}

TEST(Export, EverySampleSurveyGivesOneRowPerReadingWithDecodedValues) {
  for (const Variant& v : testing_support::kEveryVariant) {
    const ExportTable t = table_of(testing_support::build_sample_survey(v));
    ASSERT_EQ(t.rows.size(), 5u) << product_names(v).program_name;
    ASSERT_FALSE(t.columns.empty()) << product_names(v).program_name;
    for (const ExportRow& r : t.rows) {
      ASSERT_EQ(r.values.size(), t.columns.size());
      ASSERT_EQ(r.numbers.size(), t.columns.size());
      bool any = false;
      for (std::size_t i = 0; i < r.values.size(); ++i) {
        any |= !r.values[i].empty() && !t.columns[i].text;
        // The numbers are the cells before formatting: a number exactly where
        // a numeric cell has text, and the cell its "%.10g".
        EXPECT_EQ(r.numbers[i].has_value(), !r.values[i].empty() && !t.columns[i].text) << t.columns[i].name;
        if (!r.numbers[i]) continue;
        char text[32];
        std::snprintf(text, sizeof text, "%.10g", *r.numbers[i] == 0.0 ? 0.0 : *r.numbers[i]);
        EXPECT_EQ(r.values[i], text) << t.columns[i].name;
      }
      EXPECT_TRUE(any) << product_names(v).program_name << " tick " << r.tick;
    }
    // The first three readings follow the one forwarded fix: the only fix of
    // the line before the pause is at 3602040, the second at 3602815.
    EXPECT_TRUE(t.rows[0].position.has_value()) << product_names(v).program_name;
    EXPECT_FALSE(t.rows[3].position.has_value()) << product_names(v).program_name;
  }
}

// One changed byte in a logged GGA (its checksum no longer matches) and a
// fix far beyond any walk: their positions are not used, and said so.
TEST(Export, PositionsOfUntrustedSentencesAreNotUsed) {
  const std::string bytes = build_survey();
  const ExportTable whole = table_of(bytes);
  std::string changed = bytes;
  const std::size_t second = changed.find("@$GPGGA", changed.find("@$GPGGA") + 1);
  const long record = static_cast<long>(second / 27) + 1;
  changed[second + 18] = changed[second + 18] == '4' ? '5' : '4';  // 4806 -> 5806
  ExportTable t = table_of(changed);
  ASSERT_EQ(t.warnings.size(), 1u);
  EXPECT_EQ(t.warnings[0],
            "record " + std::to_string(record) + ": GPS sentence checksum does not match; its position is not used");
  ASSERT_FALSE(t.track.empty());
  EXPECT_EQ(t.track[0].size(), whole.track[0].size() - 1);
  for (const ExportRow& r : t.rows) {
    if (r.position) {
      EXPECT_LT(r.position->latitude, 48.2);
    }
  }

  // The same fix 1,000 km away, its checksum right: a jump.
  std::string far = bytes;
  const std::string moved = gga({kFixes[1].tick, kFixes[1].latitude + 9.0, kFixes[1].longitude});
  const std::string original = gga(kFixes[1]);
  for (std::size_t piece = 0; piece * 25 < original.size(); ++piece) {
    const std::size_t at = second + piece * 27 + 1;
    far.replace(at, std::min<std::size_t>(25, original.size() - piece * 25), moved.substr(piece * 25, 25));
  }
  t = table_of(far);
  ASSERT_EQ(t.warnings.size(), 1u);
  EXPECT_EQ(t.warnings[0].rfind("record " + std::to_string(record) + ": GPS position jumps 100", 0), 0u)
      << t.warnings[0];
  EXPECT_EQ(t.track[0].size(), whole.track[0].size() - 1);
}

TEST(Export, ATruncatedLastRecordIsSkippedWithAWarning) {
  const std::string bytes = build_survey();
  const ExportTable whole = table_of(bytes);
  const std::size_t last_reading = bytes.rfind("\nT") + 1;
  const std::string cut = bytes.substr(0, last_reading + 17);  // inside the last reading
  const ExportTable t = table_of(cut);
  ASSERT_EQ(t.warnings.size(), 1u);
  EXPECT_NE(t.warnings[0].find("truncated (17 of 27 bytes)"), std::string::npos) << t.warnings[0];
  EXPECT_EQ(t.rows.size(), whole.rows.size() - 1);
  EXPECT_TRUE(whole.warnings.empty());
}

TEST(Export, BadInputIsRefusedAndDamageNeverCrashes) {
  EXPECT_FALSE(build_export_table("", {}).table);
  EXPECT_FALSE(build_export_table("hello\nworld\n", {}).table);
  std::string wrong_length = build_survey();
  wrong_length.erase(5, 1);  // the first record is one byte short
  EXPECT_FALSE(build_export_table(wrong_length, {}).table);

  const std::string bytes = build_survey();
  std::mt19937 rng(16);
  for (int i = 0; i < 400; ++i) {
    std::string damaged = bytes;
    for (int k = 0; k < 8; ++k) damaged[27 + rng() % (damaged.size() - 27)] = static_cast<char>(rng());
    damaged.resize(damaged.size() - rng() % 60);
    const ExportTableResult r = build_export_table(damaged, {});
    ASSERT_TRUE(r.table);
    for (ExportFormat f : {ExportFormat::kCsv, ExportFormat::kXyz, ExportFormat::kGeoJson, ExportFormat::kGpx})
      EXPECT_FALSE(export_text(*r.table, f).empty());
  }
}

}  // namespace
}  // namespace quelor

namespace quelor {
namespace {

bool is_utf8(const std::string& s) { return utf8_text(s) == s; }

TEST(ExportText, BytesThatAreNotUtf8AreReplaced) {
  const struct {
    std::string in, out;
  } kCases[] = {
      {"Line 7", "Line 7"},
      {"Zo\xC3\xA9", "Zo\xC3\xA9"},  // é, well formed
      {"Zo\xE9", "Zo\xEF\xBF\xBD"},  // Latin-1 é
      {"\x80"
       "a",
       "\xEF\xBF\xBD"
       "a"},                                                                     // stray continuation byte
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                                  // overlong '/'
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},                  // a surrogate
      {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // beyond U+10FFFF
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                                  // four bytes, well formed
      {"ab\xE2\x82", "ab\xEF\xBF\xBD\xEF\xBF\xBD"},                              // cut short
  };
  for (const auto& c : kCases) EXPECT_EQ(utf8_text(c.in), c.out) << c.in;
}

// A damaged file: its line name holds bytes the writer never writes.
TEST(ExportText, EveryFormatIsUtf8WhenTheFileHoldsOtherBytes) {
  const Variant v{kEm61Lx2, kNavigation};
  MemorySink sink;
  sink.open(L"x.L61");
  DataFileWriter w(sink, v);
  w.write_header(testing_support::sample_header(v), false);
  LineBlockFields line = testing_support::sample_line(1);
  line.line_name = "Zone";
  w.write_line_block(line, LocalTime{2025, 3, 7, 9, 15, 0, 0}, 1000);
  w.write_reading({testing_support::sample_record(kEm61Lx2, 0), 1500});
  std::string bytes = sink.file(L"x.L61");
  const std::size_t name = bytes.find("Zone");
  ASSERT_NE(name, std::string::npos);
  bytes.replace(name + 2, 2, "\xE9\xFF");
  const ExportTable t = table_of(bytes);
  ASSERT_EQ(t.rows.size(), 1u);
  for (ExportFormat f : {ExportFormat::kCsv, ExportFormat::kEmagpyCsv, ExportFormat::kXyz, ExportFormat::kGeoJson,
                         ExportFormat::kKml, ExportFormat::kGpx}) {
    const std::string text = export_text(t, f);
    EXPECT_TRUE(is_utf8(text)) << static_cast<int>(f);
  }
  const std::string csv = export_text(t, ExportFormat::kCsv);
  EXPECT_NE(csv.find("\nZo\xEF\xBF\xBD\xEF\xBF\xBD,"), std::string::npos) << csv;
}

TEST(ExportText, TheEmagpyFormKeepsOnlyCoilConfigurations) {
  const ExportTable t =
      table_of(testing_support::build_sample_survey({kEm38_4, kNavigation}), ExportOptions{kAutomaticZone, 0.5});
  const std::string plain = export_text(t, ExportFormat::kCsv);
  const std::string emagpy = export_text(t, ExportFormat::kEmagpyCsv);
  EXPECT_NE(plain.substr(0, plain.find('\n')).find(",aux1,aux2,aux3,aux4"), std::string::npos);
  const std::string header = emagpy.substr(0, emagpy.find('\n'));
  EXPECT_EQ(header,
            "line,station,tick,x,y,zone,latitude,longitude,fix_quality,"
            "HCP1f14500h0.5,HCP1f14500h0.5_inph,HCP0.88f14500h0.5,HCP0.88f14500h0.5_inph,"
            "HCP0.5f14500h0.5,HCP0.5f14500h0.5_inph,HCP0.75f14500h0.5,HCP0.75f14500h0.5_inph");
  // Each row is the plain form's row without its four last cells.
  std::istringstream rows(emagpy.substr(header.size() + 1)), plain_rows(plain.substr(plain.find('\n') + 1));
  std::string row, plain_row;
  int count = 0;
  while (std::getline(rows, row) && std::getline(plain_rows, plain_row)) {
    EXPECT_EQ(std::count(row.begin(), row.end(), ','), 16) << row;
    EXPECT_EQ(plain_row.rfind(row + ",", 0), 0u) << row << " / " << plain_row;
    ++count;
  }
  EXPECT_EQ(count, 5);
}

}  // namespace
}  // namespace quelor

namespace quelor {
namespace {

// An EM38-4 survey: one header per session (the later ones continue the
// file), each in its in-phase units, then two readings.
std::string em38_4_sessions(std::initializer_list<int> units) {
  const Variant v{kEm38_4, kNavigation};
  MemorySink sink;
  sink.open(L"x.T38");
  DataFileWriter w(sink, v);
  std::uint32_t tick = 1000;
  bool continuing = false;
  for (int u : units) {
    HeaderFields h = testing_support::sample_header(v);
    h.reading_units = u;
    w.write_header(h, continuing);
    w.write_line_block(testing_support::sample_line(1), LocalTime{2025, 3, 7, 9, 15, 0, 0}, tick += 100);
    for (int n = 0; n < 2; ++n) w.write_reading({testing_support::sample_record(kEm38_4, n), tick += 250});
    continuing = true;
  }
  return sink.file(L"x.T38");
}

TEST(ExportTable, Em38_4InphaseColumnsAreNamedInTheHeadersUnits) {
  const struct {
    int units;
    const char* suffix;
  } kCases[] = {{0, "_ppt"}, {1, "_mS_m"}};
  std::vector<std::string> inphase_cells[2];
  for (const auto& c : kCases) {
    const ExportTable t = table_of(em38_4_sessions({c.units}));
    EXPECT_TRUE(t.warnings.empty());
    int inphase = 0;
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
      const std::string& name = t.columns[i].name;
      if (name.rfind("inphase_", 0) != 0) continue;
      ++inphase;
      EXPECT_EQ(name.substr(name.size() - std::string(c.suffix).size()), c.suffix) << name;
      for (const ExportRow& r : t.rows) inphase_cells[c.units].push_back(r.values[i]);
    }
    EXPECT_EQ(inphase, 4);
    const std::string csv = export_text(t, ExportFormat::kCsv);
    EXPECT_NE(csv.substr(0, csv.find('\n')).find(",inphase_100cm" + std::string(c.suffix) + ","), std::string::npos)
        << csv;
  }
  // The raw in-phase is another number than the factored one.
  ASSERT_EQ(inphase_cells[0].size(), inphase_cells[1].size());
  EXPECT_NE(inphase_cells[0], inphase_cells[1]);
}

TEST(ExportTable, AContinuedSurveyInOtherInphaseUnitsIsSaid) {
  const struct {
    std::initializer_list<int> units;
    std::size_t warnings;
  } kCases[] = {{{0, 0}, 0}, {{1, 1}, 0}, {{0, 1}, 1}, {{1, 0, 1}, 1}};
  for (const auto& c : kCases) {
    const ExportTable t = table_of(em38_4_sessions(c.units));
    EXPECT_EQ(t.rows.size(), 2 * c.units.size());
    std::size_t said = 0;
    for (const std::string& w : t.warnings) said += w.find("in-phase units") != std::string::npos;
    EXPECT_EQ(said, c.warnings);
    const std::string suffix = *c.units.begin() == 1 ? "_mS_m" : "_ppt";
    for (const ValueColumn& col : t.columns) {
      if (col.name.rfind("inphase_", 0) != 0) continue;
      EXPECT_EQ(col.name.substr(col.name.size() - suffix.size()), suffix);
    }
  }
}

}  // namespace
}  // namespace quelor
