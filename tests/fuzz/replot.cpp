// The re-plot of a survey from its data file, as the whole-map redraw and
// `quelor map` run it: the file's identification, its first GPS position as
// the map origin, then every record drawn into small tiles.
#include <cmath>
#include <optional>

#include "background/replot.h"
#include "background/survey_file.h"
#include "data_file_seeds.h"
#include "map/grid.h"
#include "map/map_geometry.h"
#include "map/map_view.h"
#include "map/palette.h"
#include "map/raster_tiles.h"
#include "settings/instrument_defaults.h"

namespace quelor::fuzz {
std::vector<std::string> seeds() { return data_file_seeds(true); }

void fuzz_one(const FuzzInput& in) {
  const auto info = read_survey_file_info(in.rest);
  if (!info) return;
  expect(info->record_length > 0, "a known file has a record length");
  Settings s = initial_settings(info->variant);
  s.map_units = info->map_units;
  const auto origin = first_gps_position(in.rest, *info, in.selector % 3);
  if (!origin) return;
  expect(std::isfinite(origin->easting) && std::isfinite(origin->northing), "finite origin");
  constexpr int kTile = 16;  // small tiles: the drawing, not the pixels, is under test
  const long map_size = 1 + in.selector % 50;
  const double k = pixels_per_unit(kTile, static_cast<double>(map_size));
  const GridSpec grid = grid_spec(s.map.lines_interval, (in.selector & 0x40) != 0, s.map.lines_angle, k);
  MapState map = make_map_state(kTile, kTile, map_size, grid, cursor_band_width(s.map.cursor_band_index, kTile + 2));
  map.frame.origin_easting = origin->easting;
  map.frame.origin_northing = origin->northing;
  RasterTiles tiles(kTile, kTile);
  map_position(map, tiles, origin->easting, origin->northing);
  s.colour_map_view = (in.selector >> 3) % 2;
  s.map.position_size = (in.selector >> 4) % 6;
  const std::optional<DecodeContext> decode = decode_context_from_file(in.rest, s);
  if (!decode) return;
  const ReplotStyle style = replot_style(*decode, s);
  BytesReader reader(in.rest);
  const ReplotCounts counts = replot_survey(reader, info->record_length, style, map, tiles);
  expect(counts.records >= 0 && counts.bars <= counts.records, "bars within the records");
  // The whole-map redraw's preparation on what was drawn.
  prepare_whole_map(map, tiles);
}

}  // namespace quelor::fuzz
