#include "datafile/append_check.h"

#include <gtest/gtest.h>

#include "datafile/header_records.h"
#include "datafile/record_layout.h"

namespace quelor {
namespace {

// The first four records of a file written by `v` with these settings.
std::string head_of(const Variant& v, const Settings& s, int zone = 32) {
  HeaderFields f = header_fields_from_settings(s, v.instrument_type);
  f.file_name = "250307_000";
  f.reference_zone = zone;
  std::string out;
  const auto block = header_block(v, f, false);
  for (std::size_t i = 0; i < 4 && i < block.size(); ++i) out += block[i];
  return out;
}

AppendSituation fix_in_zone(int zone) {
  AppendSituation s;
  s.have_valid_fix = true;
  s.current_zone = zone;
  s.first_latitude = -41.0;
  s.first_longitude = 179.9;
  s.project = [](double lat, double lon, int z) { return GridPosition{1000.0 * z + lon, 2000.0 + lat}; };
  return s;
}

std::string text_of(const AppendCheckResult& r) { return r.message ? r.message->text : "(passed)"; }

struct MessageCase {
  const char* what;
  Variant v;
  std::function<void(Settings& file, Settings& now)> settings;
  std::function<void(std::string& head)> edit;
  std::string text;
};

TEST(AppendCheck, EachMessageInTurn) {
  const Variant em31{kEm31Mk2, 0}, em38mk2{kEm38Mk2, 0}, mk2{kEm61Mk2, 0}, lx2{kEm61Lx2, 0}, grad{kGrad601, 0},
      em34{kEm34_3, 0};
  const std::vector<MessageCase> cases = {
      {"record 1 code", em31, nullptr, [](std::string& h) { h[3] = '8'; },
       "Invalid File Format.\r\nFile Record # 1 invalid.\r\nThe file will be closed."},
      {"short file", em31, nullptr, [](std::string& h) { h.resize(20); },
       "Invalid File Format.\r\nFile Record # 1 invalid.\r\nThe file will be closed."},
      {"version 1.xx", mk2, nullptr, [](std::string& h) { h[9] = '1'; },
       "Append file option is not avaiable\r\nfor files created with Version 1.xx\r\nThe file will be closed."},
      {"state: file disabled", em31, [](Settings& f, Settings&) { f.instrument_state = 0; }, nullptr,
       "EM31-MK2 State in the file: DISABLED\r\nEM31-MK2 State  Selected: ENABLED\r\nPlease adjust the "
       "configuration. "},
      {"state: file enabled", em34, [](Settings&, Settings& n) { n.instrument_state = 0; }, nullptr,
       "EM38-MK2 State in the file: ENABLED\r\nEM38-MK2 State  Selected: DISABLED\r\nPlease adjust the "
       "configuration. "},
      {"state grad", grad, [](Settings& f, Settings&) { f.instrument_state = 0; }, nullptr,
       "Grad601 State in the file: DISABLED\r\nGrad601 State  Selected: ENABLED\r\nPlease adjust the configuration. "},
      {"sensors lx2", lx2, [](Settings& f, Settings&) { f.number_of_sensors = 0; }, nullptr,
       " Number of sensors in the file: 1\r\n Number of sensors Selected:2\r\n Please adjust the configuration. "},
      {"sensors grad", grad, [](Settings&, Settings& n) { n.number_of_sensors = 0; }, nullptr,
       " Number of sensors in the file: 2\r\n Number of sensors Selected:1\r\n Please adjust the configuration. "},
      {"record 2", em31, nullptr, [](std::string& h) { h[27] = 'h'; },
       "Invalid File Format.\r\nFile Record # 2 invalid.\r\nThe file will be closed."},
      {"record 3", em31, nullptr, [](std::string& h) { h[54] = 'H'; },
       "Invalid File Format.\r\nFile Record # 3 invalid.\r\nThe file will be closed."},
      {"record 4", mk2, nullptr, [](std::string& h) { h.resize(90); },
       "Invalid File Format.\r\nFile Record # 4 invalid.\r\nThe file will be closed."},
      {"component", em31, [](Settings& f, Settings&) { f.component = 1; }, nullptr,
       " Component in the file:  Inphase\r\n Selected   Component:  Both\r\n Please adjust the configuration. "},
      {"dipole", em31, [](Settings&, Settings& n) { n.dipole_mode = 1; }, nullptr,
       " Component in the file:  Vertical\r\n Selected   Component:  Horizontal\r\n Please adjust the configuration. "},
      {"em31 type", em31, [](Settings& f, Settings&) { f.instrument_model = 1; }, nullptr,
       " EM31-MK2 Type in the file:  Short\r\n Selected  EM31-MK2  Type: Standard\r\n Please adjust the "
       "configuration. "},
      {"em38mk2 type", em38mk2, [](Settings&, Settings& n) { n.em38mk2_model = 1; }, nullptr,
       " EM38-MK2 Type in the file:  EM38-MK2\r\n Selected  EM38-MK2  Type: EM38-MK2-1\r\n Please adjust the "
       "configuration. "},
      {"sensor size", mk2, [](Settings& f, Settings&) { f.sensor_size = 4; }, nullptr,
       " Sensor Size in the file:  Hand Held\r\n Selected Sensor Size: 1 x 0.5 m\r\n Please adjust the "
       "configuration. "},
      {"mk2 type", mk2, [](Settings& f, Settings&) { f.em61_model = 3; }, nullptr,
       " EM61-MK2 Type in the file: HP N.C.C.\r\n Selected EM61-MK2 Type: Standard\r\n Please adjust the "
       "configuration. "},
      {"lx2 type", lx2, [](Settings& f, Settings&) { f.em61_model = 1; }, nullptr,
       " EM61-LX2 Type in the file: Standard N.C.C\r\n Selected EM61-LX2 Type: Standard\r\n Please adjust the "
       "configuration. "},
      {"map units", em31, [](Settings& f, Settings&) { f.map_units = 2; }, nullptr,
       "Map units in the file: US Survey Feet\r\nSelect the same units in the program"},
      {"offsets", em31, [](Settings& f, Settings&) { f.gps_y_offset = 0.25; }, nullptr,
       "GPS antenna offsets in the file: X=-0.30 Y=0.25\r\nGPS antenna offsets specified: X=-0.30 Y=0.00\r\n"
       "Please adjust offsets or create the new data file."},
      {"sentence", em31, [](Settings& f, Settings&) { f.gps_sentence = 2; }, nullptr,
       "GPS NMEA Data in the file: POS\r\nSelected in the program: GGA\r\nPlease select POS to append file."},
      {"pseudo GLL marker", grad, nullptr, [](std::string& h) { h[54 + 17] = 'A'; },
       "GPS NMEA Data in the file: Pseudo GLL\r\nSelected in the program: GGA\r\nPlease select Pseudo GLL to append "
       "file."},
      {"gps disabled in file", mk2, [](Settings& f, Settings&) { f.gps_enabled = 0; }, nullptr,
       "GPS state in the file: DISABLED\r\nSelected GPS state: ENABLED\r\nPlease adjust the configuration. "},
      {"gps disabled now", lx2, [](Settings&, Settings& n) { n.gps_enabled = 0; }, nullptr,
       "GPS state in the file: ENABLED\r\nSelected GPS state: DISABLED \r\nPlease adjust the configuration. "},
  };
  for (const MessageCase& c : cases) {
    SCOPED_TRACE(c.what);
    Settings file, now;
    file.gps_x_offset = now.gps_x_offset = c.v.instrument_type >= 0 ? -0.3 : 0.0;
    if (c.settings) c.settings(file, now);
    std::string written = head_of(c.v, file);
    if (c.edit) c.edit(written);
    const AppendCheckResult r = check_append(c.v, written, now, fix_in_zone(32));
    EXPECT_FALSE(r.passed);
    ASSERT_TRUE(r.message.has_value());
    EXPECT_EQ(r.message->title, "WARNING");
    EXPECT_EQ(r.message->text, c.text);
  }
}

TEST(AppendCheck, MatchingFilePasses) {
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kGrad601, kEm61Lx2, kEm61Mk2}) {
    Settings s;
    s.instrument_model = 1;
    s.em34_3_reference = 2;
    s.em38mk2_model = 1;
    const AppendCheckResult r = check_append({type, 0}, head_of({type, 0}, s), s, fix_in_zone(32));
    EXPECT_TRUE(r.passed) << type << text_of(r);
    EXPECT_FALSE(r.adopted_zone.has_value());
  }
}

TEST(AppendCheck, Em38Mk2TypeZeroIsWrittenAsTwo) {
  Settings s;
  s.em38mk2_model = 0;
  const std::string head = head_of({kEm38Mk2, 0}, s);
  ASSERT_EQ(head[19], '2');
  EXPECT_TRUE(check_append({kEm38Mk2, 0}, head, s, fix_in_zone(32)).passed);
}

TEST(AppendCheck, StateMessageComesBeforeEverythingElse) {
  Settings file, now;
  file.instrument_state = 0;
  file.component = 1;
  file.gps_enabled = 0;
  const AppendCheckResult r = check_append({kEm31Mk2, 0}, head_of({kEm31Mk2, 0}, file), now, fix_in_zone(32));
  EXPECT_EQ(r.message->text.substr(0, 36), "EM31-MK2 State in the file: DISABLED");
}

TEST(AppendCheck, NoValidFix) {
  Settings s;
  AppendSituation none;
  const AppendCheckResult r = check_append({kEm31Mk2, 0}, head_of({kEm31Mk2, 0}, s), s, none);
  EXPECT_EQ(text_of(r),
            "Valid GPS position must be\r\nreceived to append file.\r\nCheck settings and GPS performance.");
}

TEST(AppendCheck, OffsetTolerance) {
  struct Case {
    double file, now;
    bool passes;
  };
  const Case cases[] = {{-0.3, -0.304, true}, {-0.3, -0.296, true}, {-0.3, -0.31, false}, {0.29, 0.30, false},
                        {1.234, 1.238, true}, {0.0, 0.01, false},   {0.0, -0.009, true}};
  for (const Case& c : cases) {
    Settings file, now;
    file.gps_x_offset = c.file;
    now.gps_x_offset = c.now;
    const AppendCheckResult r = check_append({kEm38, 0}, head_of({kEm38, 0}, file), now, fix_in_zone(32));
    EXPECT_EQ(r.passed, c.passes) << c.file << " vs " << c.now << ": " << text_of(r);
  }
  // With the instrument disabled the offsets are not compared.
  Settings file, now;
  file.instrument_state = now.instrument_state = 0;
  file.gps_x_offset = 5;
  EXPECT_TRUE(check_append({kEm38, 0}, head_of({kEm38, 0}, file), now, fix_in_zone(32)).passed);
}

TEST(AppendCheck, Zones) {
  Settings s;
  // File in zone 60, survey in zone 1: accepted and mapped in zone 60.
  AppendCheckResult r = check_append({kEm31Mk2, 0}, head_of({kEm31Mk2, 0}, s, 60), s, fix_in_zone(1));
  ASSERT_TRUE(r.passed) << text_of(r);
  EXPECT_EQ(r.adopted_zone, 60);
  ASSERT_TRUE(r.origin.has_value());
  EXPECT_DOUBLE_EQ(r.origin->easting, 60000.0 + 179.9);
  // Feet: the origin is in map units.
  Settings feet;
  feet.map_units = 1;
  r = check_append({kEm31Mk2, 0}, head_of({kEm31Mk2, 0}, feet, 31), feet, fix_in_zone(32));
  ASSERT_TRUE(r.passed);
  EXPECT_DOUBLE_EQ(r.origin->northing, (2000.0 - 41.0) / 0.3048);
  // Zone 58 against 60 is refused.
  r = check_append({kEm31Mk2, 0}, head_of({kEm31Mk2, 0}, s, 58), s, fix_in_zone(60));
  EXPECT_EQ(text_of(r),
            "Distance between gps current position and position\r\nin the file is greater than 6 degrees longitude.\r\n"
            "Therefore the program cannot append this file.");
  // Grid sentences skip the zone test.
  for (int sentence : {3, 4, 7}) {
    Settings grid;
    grid.gps_sentence = sentence;
    r = check_append({kEm61Mk2, 0}, head_of({kEm61Mk2, 0}, grid, 10), grid, fix_in_zone(40));
    EXPECT_TRUE(r.passed) << sentence;
    EXPECT_FALSE(r.adopted_zone.has_value());
  }
  EXPECT_TRUE(zones_compatible(1, 60));
  EXPECT_TRUE(zones_compatible(33, 32));
  EXPECT_FALSE(zones_compatible(58, 60));
  EXPECT_FALSE(zones_compatible(2, 60));
}

TEST(AppendCheck, Em38_4AndCs21WithoutChecks) {
  Settings s;
  EXPECT_TRUE(check_append({kEm38_4, 0}, "", s, {}).passed);
  EXPECT_TRUE(check_append({kCs21, 0}, "garbage", s, {}).passed);
}

TEST(AppendCheck, RandomHeadsNeverCrash) {
  Settings s;
  std::string head = head_of({kEm61Lx2, 0}, s);
  for (std::size_t i = 0; i < head.size(); ++i) {
    for (char c : {'\0', '9', 'A', '\xFF', ' '}) {
      std::string h = head;
      h[i] = c;
      for (InstrumentType type : {kEm31Mk2, kEm34_3, kEm61Lx2, kEm61Mk2, kGrad601})
        check_append({type, 0}, h, s, fix_in_zone(3));
    }
  }
}

}  // namespace
}  // namespace quelor

#include "gps/projection.h"

namespace quelor {
namespace {

// With the survey's projection: a file in zone 60 continued from a first fix
// just east of the antimeridian (zone 1) is mapped in zone 60.
TEST(AppendCheckWithProjection, ZoneSixtyAgainstOne) {
  Settings s;
  AppendSituation situation;
  situation.have_valid_fix = true;
  situation.first_latitude = -17.5;
  situation.first_longitude = -179.99;
  situation.current_zone = project_to_utm(situation.first_latitude, situation.first_longitude, 0).zone;
  ASSERT_EQ(situation.current_zone, 1);
  situation.project = [](double lat, double lon, int zone) {
    const GridPoint p = project_to_utm(lat, lon, zone);
    return GridPosition{p.easting, p.northing};
  };
  const AppendCheckResult r = check_append({kEm31Mk2, 0}, head_of({kEm31Mk2, 0}, s, 60), s, situation);
  ASSERT_TRUE(r.passed);
  EXPECT_EQ(r.adopted_zone, 60);
  // East of zone 60's central meridian (177 E) by 3.01 degrees: beyond 500 km.
  EXPECT_GT(r.origin->easting, 800000.0);
  EXPECT_LT(r.origin->northing, 10000000.0);
  EXPECT_GT(r.origin->northing, 8000000.0);
}

}  // namespace
}  // namespace quelor
