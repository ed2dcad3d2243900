// A joined-line background of 3,000 zig-zag points (69 kB of text, every
// segment 4 km long) converted, planned and drawn into the 49 grid tiles of
// a 7 x 7 map at 40 pixels a metre, as `quelor map --background` does. The
// target is well under a second: each segment costs a tile's size in the
// tiles it reaches, not its length.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "background/draw_plan.h"
#include "background/load_options.h"
#include "background/point_file.h"
#include "background/text_conversion.h"
#include "background/tile_drawing.h"
#include "map/grid.h"
#include "map/raster_tiles.h"

namespace {

using namespace quelor;

constexpr double kEasting = 500000.0, kNorthing = 5300000.0;

std::string zigzag_text() {
  std::string text;
  char line[64];
  for (int i = 0; i < 3000; ++i) {
    std::snprintf(line, sizeof line, "%.3f %.3f\n", kEasting - 2000.0 + (i % 2 ? 4000.0 : 0.0),
                  kNorthing - 30.0 + i * 0.05);
    text += line;
  }
  return text;
}

void BM_ZigzagBackground(benchmark::State& state) {
  const std::string text = zigzag_text();
  BackgroundLoadOptions o;
  o.file_type = kBackgroundText;
  o.coordinates = kUtmMetres;
  o.delimiter = 0;
  o.easting_column = 0;
  o.northing_column = 1;
  o.display_type = 9;  // joined by a thin line
  const MapFrame frame{kEasting, kNorthing, 40.0, 400, 400};
  for (auto _ : state) {
    const TextFileConversion c = convert_text_file(text, {o, 0, 32});
    const BackgroundDrawing d =
        plan_background_drawing(read_point_file(c.records), background_style(9, 0), false, frame);
    RasterTiles tiles(400, 400);
    for (int tx = 997; tx < 1004; ++tx)
      for (int ty = 997; ty < 1004; ++ty) make_tile_pair(tiles, GridSpec{}, tx, ty);
    draw_background_grid(tiles, d, kBackgroundColour);
    benchmark::DoNotOptimize(tiles.touched());
  }
  state.SetLabel(std::to_string(text.size()) + " bytes");
}
BENCHMARK(BM_ZigzagBackground)->Unit(benchmark::kMillisecond);

}  // namespace
