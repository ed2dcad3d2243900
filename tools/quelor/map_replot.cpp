#include "map_replot.h"

#include <optional>

#include "file_input.h"
#include "map/colour_views.h"
#include "map/map_geometry.h"
#include "settings/settings_text.h"
#include "survey/start_plan.h"

namespace quelor::tool {

std::string load_settings_file(const std::string& path, Settings& s, const Variant& v) {
  const auto text = read_file_bytes(path);
  if (!text) return "cannot read " + path;
  const std::size_t first = text->find('\n');
  if (text->rfind("Ver", 0) != 0 || first == std::string::npos) return "not a settings file: " + path;
  read_settings_text(std::string_view(*text).substr(first + 1), s, v);
  return {};
}

void set_mapped_scale(Settings& s, InstrumentType type, double minimum, double maximum) {
  auto& scale = colour_map_uses_scale_2(type, s.colour_map_view) ? s.profile_scale_2 : s.profile_scale_1;
  scale = {minimum, maximum};
}

std::pair<double, double> mapped_scale(const Settings& s, InstrumentType type) {
  const auto& scale = colour_map_uses_scale_2(type, s.colour_map_view) ? s.profile_scale_2 : s.profile_scale_1;
  return {scale[0], scale[1]};
}

namespace {

// The file's bytes: `held` keeps them when they are read again.
std::optional<std::string_view> replot_bytes(const ReplotInput& file, std::string& held, std::string& error) {
  if (!file.bytes.empty() || file.path.empty()) return file.bytes;
  std::string().swap(held);  // the file before goes first
  auto bytes = read_file_bytes(file.path);
  if (!bytes) {
    error = "cannot read " + file.path + " again";
    return std::nullopt;
  }
  // A file still being logged has grown: the part read before is drawn.
  if (bytes->size() < file.size) {
    error = file.path + " is shorter than when it was read";
    return std::nullopt;
  }
  bytes->resize(file.size);
  held = std::move(*bytes);
  return held;
}

}  // namespace

MapReplot replot_data_files(std::span<const ReplotInput> files, const Settings& s, const ReplotFrame& f) {
  MapReplot r;
  if (files.empty()) {
    r.error = "no file";
    return r;
  }
  const SurveyFileInfo& info = files[0].info;
  std::string held;
  const std::optional<std::string_view> first = replot_bytes(files[0], held, r.error);
  if (!first) return r;
  const auto origin = first_gps_position(*first, info, s.rts_units);
  if (!origin) {
    r.error = "no GPS position";
    return r;
  }
  r.origin = *origin;
  const double k = pixels_per_unit(f.tile, static_cast<double>(s.map.map_size));
  r.pixels_per_unit = k;
  GridSpec grid = grid_spec(s.map.lines_interval, s.map.parallel_lines != 0, s.map.lines_angle, k);
  if (!f.grid_lines) grid.spacing = 0.0;
  MapState map =
      make_map_state(f.tile, f.tile, s.map.map_size, grid, cursor_band_width(s.map.cursor_band_index, f.tile + 2));
  r.grid = map.grid;
  map.frame.origin_easting = origin->easting;
  map.frame.origin_northing = origin->northing;
  r.tiles = std::make_unique<RasterTiles>(f.tile, f.tile);
  map_position(map, *r.tiles, origin->easting, origin->northing);  // the first position's four tiles
  // Background files go into the grid layer before the survey is re-plotted.
  r.backgrounds =
      std::make_unique<MapBackgrounds>(load_map_backgrounds(f.backgrounds, info.variant, s, origin->zone, map.frame));
  if (!r.backgrounds->error.empty()) {
    r.error = r.backgrounds->error;
    return r;
  }
  install_map_backgrounds(*r.backgrounds, *r.tiles);

  for (const ReplotInput& file : files) {
    // The first file's bytes are still held; each other's are read in its turn.
    const std::optional<std::string_view> bytes = &file == files.data() ? first : replot_bytes(file, held, r.error);
    if (!bytes) return r;
    const std::optional<DecodeContext> decode = decode_context_from_file(*bytes, s);
    if (!decode) {
      r.error = "no header";
      return r;
    }
    const ReplotStyle style = replot_style(*decode, s);
    BytesReader reader(*bytes);
    const ReplotCounts c = replot_survey(reader, file.info.record_length, style, map, *r.tiles);
    r.counts.swaths += c.swaths;
    r.counts.bars += c.bars;
    r.counts.readings += c.readings;
    r.counts.records += c.records;
    r.counts.outside += c.outside;
  }

  r.range = r.tiles->touched();
  r.width = (r.range.max_column - r.range.min_column + 1) * f.tile;
  r.height = (r.range.max_row - r.range.min_row + 1) * f.tile;
  const WorldPixel top_left = tile_origin(r.range.min_column, r.range.max_row, f.tile, f.tile);
  r.west = origin->easting + static_cast<double>(top_left.x) / k;
  r.north = origin->northing + static_cast<double>(top_left.y) / k;
  return r;
}

void make_row_tiles(const MapReplot& r, int ty) {
  for (int tx = r.range.min_column; tx <= r.range.max_column; ++tx) make_tile_pair(*r.tiles, r.grid, tx, ty);
}

}  // namespace quelor::tool
