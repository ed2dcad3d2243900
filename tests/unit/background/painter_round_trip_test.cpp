// The live painter and the re-plot draw the same map: a lawnmower survey is
// painted fix by fix while its records go through the data-file writer, then
// the file is re-plotted into fresh tiles and both maps are compared pixel by
// pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "background/replot.h"
#include "datafile/memory_sink.h"
#include "datafile/writer.h"
#include "map/colour_class.h"
#include "map/map_painter.h"
#include "map/raster_tiles.h"
#include "map/segment_buffer.h"

namespace quelor {
namespace {

constexpr int W = 100;

struct Survey {
  MemorySink sink;
  DataFileWriter writer{sink, Variant{kEm31Mk2, kRealTimeMap}};
  MapState map = make_map_state(W, W, 20, grid_spec(2.0, false, 0, 5.0), 15);
  RasterTiles tiles{W, W};
  PainterState painter;
  SegmentBuffer segment;
  FixPaint paint;
  long groups = 0;
  std::uint32_t tick = 1000;

  Survey(int view, int position_size) {
    sink.open(L"survey");
    paint.colour_map_view = view;
    paint.position_size = position_size;
    paint.geometry[0] = {0.0, 0.5, 0.5, false};
  }

  void go() {
    writer.write_remark("$STARTED", 'X', tick);
    painter_reset(painter);
    segment_reset(segment);
  }

  void reading(double e, double n) {
    const int c = static_cast<int>(std::fmod(std::fabs(e * 37 + n * 11), 500.0));
    char text[24];  // room for any int: the compiler cannot bound c
    std::snprintf(text, sizeof text, "T %+05d+0000", -4 * c);
    writer.write_reading(ReadingInput{text, ++tick, 0});
    segment_push(segment, colour_class(c, 0, 500));
  }

  void fix(double e, double n) {
    map_position(map, tiles, e, n);
    if (!segment.filling)
      segment_start(segment);
    else
      segment_swap(segment);
    paint.antenna = {e, n};
    paint.rows[0] = segment_closed_row(segment);
    const FixPaintResult r = paint_fix(painter, map, tiles, paint);
    if (r.start_record) writer.write_swath_start();
    for (const auto& [kind, corners] : r.groups) {
      writer.write_swath_group(kind, corners);
      ++groups;
    }
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
  live.go();
  live.walk(0.0, 3);
  live.writer.write_remark("PAUSED", 'X', ++live.tick);
  live.reading(1, 1);  // paused: not mapped
  live.go();
  live.walk(9.0, 2);  // a second swath after the pause

  RasterTiles again(W, W);
  MapState map = live.map;
  prepare_whole_map(map, again);
  ReplotStyle style;
  style.decode.instrument_type = kEm31Mk2;
  style.decode.mapped_view = view;
  style.position_size = size;
  WriterReader reader(live.writer);  // the file stays open for appending
  const std::size_t before = live.sink.file(L"survey").size();
  const ReplotCounts counts = replot_survey(reader, 27, style, map, again);
  live.writer.write_remark("PAUSED", 'X', ++live.tick);
  const std::string& file = live.sink.file(L"survey");
  ASSERT_EQ(file.size(), before + 27);
  EXPECT_EQ(file.substr(before, 7), "XPAUSED");  // appended at the end, not where the re-plot read
  EXPECT_EQ(counts.swaths, 2);
  EXPECT_EQ(live.groups, 2 * 1 + 3 * 24 + 2 * 24 + 1 * 3);  // two bars at each swath's first segment
  if (view > 0) {
    EXPECT_EQ(counts.readings, 3 * (3 * 24 + 2 * 24));
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
  EXPECT_EQ(again.tile_count(kDataLayer) <= live.tiles.tile_count(kDataLayer), true);
}

INSTANTIATE_TEST_SUITE_P(Views, RoundTrip,
                         ::testing::Values(std::pair{1, 4}, std::pair{0, 0}, std::pair{0, 3}, std::pair{0, 5}));

}  // namespace
}  // namespace quelor
