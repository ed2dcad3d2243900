// The live painter and the re-plot draw the same map: a lawnmower survey goes
// through the program's own path (Go and Pause, the "T" reading handler, the
// GPS-fix handler, the live map and the data-file writer), paused once, then
// the open file is re-plotted into fresh tiles through its writer and both
// maps are compared pixel by pixel; the re-plot leaves the writer appending
// at the end.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../survey/survey_test_support.h"
#include "background/replot.h"
#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "map/raster_tiles.h"
#include "survey/gps_fix_handler.h"
#include "survey/logging_commands.h"
#include "survey/map_fix.h"
#include "survey/reading_handler.h"
#include "survey/survey_context.h"

namespace quelor {
namespace {

constexpr int W = 100;

struct Survey {
  Settings s;
  MemorySink sink;
  DataFileWriter writer{sink, Variant{kEm31Mk2, kRealTimeMap}};
  SurveyRecord survey;
  FixContext fix_context;
  DecodeContext decode;
  LiveMap live;
  RasterTiles tiles{W, W};
  long groups = 0, logged = 0;
  std::uint32_t tick = 1000;
  double seconds = 30000.0;

  Survey(int view, int position_size) {
    s.colour_map_view = view;
    s.map.position_size = position_size;
    s.map.map_size = 20;
    sink.open(L"survey");
    survey.state = kStateStandBy;
    fix_context = fix_context_from_settings(s, kEm31Mk2);
    decode = decode_context_from_settings(s, kEm31Mk2, false, false);
    live.map = map_state_from_settings(s, W, W + 2);
    writer.write_header(survey_header_fields(s, kEm31Mk2, survey), false);
    writer.write_line_block(current_line_block(survey, s), LocalTime{}, tick);
  }

  void command(CommandOutcome (*run)(SurveyRecord&, const CommandContext&)) {
    CommandContext c;
    c.now = ++tick;
    write_outcome(writer, run(survey, c), LocalTime{}, tick);
  }

  void reading(double e, double n) {
    const int c = static_cast<int>(std::fmod(std::fabs(e * 37 + n * 11), 500.0));
    const std::string text = survey_testing::t_record(0x20, -4 * c, 0);
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    const ReadingOutcome o = handle_t_reading(survey, ReadingContext{}, decode, bytes, ++tick);
    if (!o.logged) return;
    writer.write_reading(o.reading_input());
    ++logged;
  }

  void fix(double e, double n) {
    const FixOutcome o =
        handle_gps_fix(survey, fix_context, survey_testing::gga(48.0 + n / 111200.0, 11.0 + e / 74400.0, ++seconds));
    MapFixContext c = map_fix_context(s, decode, survey);
    c.swath_closings = writer.swath_closings();
    const MapFixResult r = map_fix(live, tiles, survey, c, o, true);
    write_footprint_records(writer, r.paint);
    groups += static_cast<long>(r.paint.groups.size());
  }

  // Lines of 24 m walked east and west, 2 m apart, three readings a fix.
  void walk(double north, int lines) {
    for (int line = 0; line < lines; ++line) {
      const double y = north + 2.0 * line;
      for (int i = 0; i <= 24; ++i) {
        const double x = line % 2 == 0 ? i : 24 - i;
        if (i > 0)
          for (int k = 0; k < 3; ++k) reading(x + k * 0.3, y);
        fix(x, y);
      }
    }
  }
};

class RoundTrip : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(RoundTrip, ReplotDrawsWhatThePainterDrew) {
  const auto [view, size] = GetParam();
  Survey live(view, size);
  live.command(go_command);
  live.walk(0.0, 3);
  live.command(pause_command);
  const long before_pause = live.logged;
  live.reading(1, 1);  // paused: neither written nor mapped
  EXPECT_EQ(live.logged, before_pause);
  live.command(go_command);
  live.walk(9.0, 2);  // a second swath after the pause

  RasterTiles again(W, W);
  MapState map = live.live.map;
  prepare_whole_map(map, again);
  WriterReader reader(live.writer);  // the file stays open for appending
  const std::optional<DecodeContext> decode = file_decode_context(reader, live.s);
  ASSERT_TRUE(decode);
  const std::size_t before = live.sink.file(L"survey").size();
  const ReplotCounts counts = replot_survey(reader, 27, replot_style(*decode, live.s), map, again);
  live.writer.write_remark("PAUSED", 'X', ++live.tick);
  const std::string& file = live.sink.file(L"survey");
  ASSERT_EQ(file.size(), before + 27);
  EXPECT_EQ(file.substr(before, 7), "XPAUSED");  // appended at the end, not where the re-plot read
  EXPECT_EQ(counts.swaths, 2);
  EXPECT_EQ(live.groups, 3 * 25 + 2 * 25);  // at each swath's second fix two bars, none at its first
  if (view > 0) {
    EXPECT_EQ(counts.readings, live.logged);
  }

  // Every data tile the painter drew holds the same pixels after the re-plot
  // (a tile the re-plot did not need is white in both).
  long differing = 0, coloured = 0;
  const Raster white(W, W);
  live.tiles.for_each(kDataLayer, [&](int tx, int ty, Canvas&) {
    const Raster& painted = *live.tiles.raster(kDataLayer, tx, ty);
    const Raster* replotted = again.raster(kDataLayer, tx, ty);
    for (std::size_t i = 0; i < painted.rgb.size(); ++i) {
      differing += painted.rgb[i] != (replotted ? replotted->rgb[i] : white.rgb[i]);
      coloured += painted.rgb[i] != 255;
    }
  });
  EXPECT_EQ(differing, 0);
  EXPECT_GT(coloured, view > 0 ? 24 * 5 * 5 * 5 : 100);
  EXPECT_LE(again.tile_count(kDataLayer), live.tiles.tile_count(kDataLayer));
}

INSTANTIATE_TEST_SUITE_P(Views, RoundTrip,
                         ::testing::Values(std::pair{1, 4}, std::pair{0, 0}, std::pair{0, 3}, std::pair{0, 5}));

}  // namespace
}  // namespace quelor
