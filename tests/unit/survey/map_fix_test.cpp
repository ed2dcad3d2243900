#include "survey/map_fix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "datafile/memory_sink.h"
#include "map/raster_tiles.h"
#include "survey/logging_commands.h"
#include "survey/reading_handler.h"
#include "survey_test_support.h"
#include "variant/variant.h"

namespace quelor {
namespace {

using survey_testing::gga;

// Walks north from 48N 11E and checks that the corner records of the file
// match the logged fixes (sensor bar across the antenna, 1 m swath).
TEST(MapFix, CornerRecordsFollowTheLoggedFixes) {
  Settings settings;
  settings.colour_map_view = 1;
  SurveyRecord survey;
  survey.state = kStateMonitoring;
  const FixContext fc = fix_context_from_settings(settings, kEm31Mk2);
  LiveMap live;
  live.map = map_state_from_settings(settings, 398, 400);
  RasterTiles tiles(398, 398);
  MemorySink sink;
  sink.open(L"f");
  DataFileWriter writer(sink, Variant{kEm31Mk2, kRealTimeMap});
  const MapFixContext mc =
      map_fix_context(settings, decode_context_from_settings(settings, kEm31Mk2, false, false), survey);
  std::vector<FixOutcome> logged;
  for (int i = 0; i < 8; ++i) {
    if (i == 2) survey.state = kStateLogging;
    const FixOutcome o = handle_gps_fix(survey, fc, gga(48.0 + i * 1e-5, 11.0, 30000.0 + i));
    const MapFixResult r = map_fix(live, tiles, survey, mc, o, true);
    EXPECT_TRUE(r.positioned);
    if (survey.state == kStateLogging) logged.push_back(o);
    EXPECT_EQ(r.paint.start_record, i == 2);
    write_footprint_records(writer, r.paint);
  }
  EXPECT_DOUBLE_EQ(live.map.frame.origin_easting, survey.reference_easting);
  const std::string& file = sink.file(L"f");
  ASSERT_EQ(file.size() % 27, 0u);
  std::vector<std::array<double, 4>> groups;
  std::string letters;
  for (std::size_t at = 0; at < file.size(); at += 27) {
    const std::string r = file.substr(at, 27);
    letters += r[1];
    if (r[1] >= 'a' && r[1] <= 'd') {
      if (r[1] == 'a') groups.push_back({});
      groups.back()[static_cast<std::size_t>(r[1] - 'a')] = std::atof(r.substr(2).c_str());
    }
  }
  EXPECT_EQ(letters.substr(0, 9), "0abcdabcd");
  ASSERT_EQ(groups.size(), logged.size());  // the first fix of the swath gives two bars at the second
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const FixOutcome& o = logged[i];
    EXPECT_NEAR((groups[i][0] + groups[i][2]) / 2, o.easting, 0.01) << i;
    EXPECT_NEAR((groups[i][1] + groups[i][3]) / 2, o.northing, 0.01) << i;
    EXPECT_NEAR(groups[i][2] - groups[i][0], 1.0, 0.01) << i;  // walking north the right end lies east
  }
}

TEST(MapFix, ReviewSkipsPaintingButKeepsTheRecords) {
  Settings settings;
  settings.colour_map_view = 0;
  SurveyRecord survey;
  survey.state = kStateLogging;
  const FixContext fc = fix_context_from_settings(settings, kEm31Mk2);
  LiveMap live;
  live.map = map_state_from_settings(settings, 100, 102);
  RasterTiles tiles(100, 100);
  const MapFixContext mc =
      map_fix_context(settings, decode_context_from_settings(settings, kEm31Mk2, false, false), survey);
  int groups = 0, marks = 0;
  for (int i = 0; i < 4; ++i) {
    const MapFixResult r =
        map_fix(live, tiles, survey, mc, handle_gps_fix(survey, fc, gga(48.0 + i * 1e-5, 11.0, 100.0 + i)), false);
    groups += static_cast<int>(r.paint.groups.size());
    marks += r.paint.marks;
  }
  EXPECT_EQ(groups, 4);
  EXPECT_EQ(marks, 0);
}

// EM34-3 in Manual mode: a fix draws and records the footprint of a coil
// spacing only when a station of that spacing was confirmed since the
// previous fix; each spacing starts with the two bars of its first segment.
TEST(MapFix, Em34ManualFootprintsOfTheSpacingsRead) {
  Settings settings;
  settings.colour_map_view = 1;
  settings.survey_mode = kModeManual;
  SurveyRecord survey;
  survey.state = kStateStandBy;
  survey.survey_mode = kModeManual;
  survey.manual_gps_y_offsets = {5.0, 10.0, 20.0};
  const FixContext fc = fix_context_from_settings(settings, kEm34_3);
  const DecodeContext decode = decode_context_from_settings(settings, kEm34_3, true, false);
  LiveMap live;
  live.map = map_state_from_settings(settings, 398, 400);
  RasterTiles tiles(398, 398);
  Em34StationGroup group;
  ReadingContext rc;
  rc.station_group = &group;
  std::uint32_t tick = 100;
  go_command(survey, CommandContext{.instrument_type = kEm34_3, .now = tick});
  auto station = [&](std::uint8_t spacing_bits) {  // a press of the trigger, then its release
    for (std::uint8_t status : {static_cast<std::uint8_t>(0x40 | spacing_bits), spacing_bits}) {
      const std::string r = survey_testing::t_record(status, -400, 0);
      const ReadingOutcome o = handle_t_reading(
          survey, rc, decode, std::span(reinterpret_cast<const std::uint8_t*>(r.data()), r.size()), ++tick);
      if (o.group_full) map_confirmed_station(survey, decode, confirm_station_group(survey, group));
    }
  };
  auto kinds_recorded = [&](int i) {
    const FixOutcome o = handle_gps_fix(survey, fc, gga(48.0 + i * 1e-5, 11.0, 30000.0 + i));
    const MapFixResult r = map_fix(live, tiles, survey, map_fix_context(settings, decode, survey), o, true);
    std::string kinds;
    for (const auto& g : r.paint.groups) kinds += static_cast<char>('0' + g.first);
    return kinds;
  };
  EXPECT_EQ(kinds_recorded(0), "");
  station(0x00);  // vertical, 20 m
  EXPECT_EQ(kinds_recorded(1), "11");
  EXPECT_EQ(kinds_recorded(2), "");  // no station since the previous fix
  station(0x18);                     // vertical, 40 m
  station(0x00);
  EXPECT_EQ(kinds_recorded(3), "122");
}

}  // namespace
}  // namespace quelor
