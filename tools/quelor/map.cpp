// quelor map FILE [options]: re-plots a survey data file as the program's
// whole-map redraw does, into a PNG of the touched tiles with its world file,
// and prints one JSON object.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "background/option_text.h"
#include "background/survey_file.h"
#include "commands.h"
#include "datafile/output_file.h"
#include "json.h"
#include "map_background.h"
#include "map_replot.h"
#include "map/colour_views.h"
#include "map/grid.h"
#include "map/raster_tiles.h"
#include "png_writer.h"
#include "settings/instrument_defaults.h"
#include "settings/settings_text.h"
#include "survey/start_plan.h"
#include "file_input.h"

namespace quelor::tool {

namespace {

struct MapOptionsText {
  std::string file, out, settings;
  std::optional<std::string> tile, map_size, view, position_size, scale, grid, grid_interval, lines_angle;
  std::vector<std::string> backgrounds;  // --background FILE[,options], in order
};

struct BadInput {
  std::string message;
};

double number(const std::string& text, const char* what) {
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(v))
    throw BadInput{std::string("bad ") + what + " '" + text + "'"};
  return v;
}

long whole(const std::string& text, const char* what, long low, long high) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || v < low || v > high)
    throw BadInput{std::string(what) + " out of range: '" + text + "'"};
  return v;
}

MapOptionsText parse_arguments(int argc, char** argv) {
  MapOptionsText o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--", 0) != 0) {
      if (!o.file.empty()) throw BadInput{"more than one FILE"};
      o.file = a;
      continue;
    }
    if (i + 1 >= argc) throw BadInput{"missing value of " + a};
    const std::string v = argv[++i];
    if (a == "--out")
      o.out = v;
    else if (a == "--settings")
      o.settings = v;
    else if (a == "--tile")
      o.tile = v;
    else if (a == "--map-size")
      o.map_size = v;
    else if (a == "--view")
      o.view = v;
    else if (a == "--position-size")
      o.position_size = v;
    else if (a == "--scale")
      o.scale = v;
    else if (a == "--grid")
      o.grid = v;
    else if (a == "--grid-interval")
      o.grid_interval = v;
    else if (a == "--lines-angle")
      o.lines_angle = v;
    else if (a == "--background")
      o.backgrounds.push_back(v);
    else
      throw BadInput{"unknown option " + a};
  }
  if (o.file.empty()) throw BadInput{"usage: quelor map FILE [options]"};
  return o;
}

// The limits of the mapped component from "MIN,MAX".
void set_scale(Settings& s, InstrumentType type, const std::string& text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) throw BadInput{"--scale needs MIN,MAX"};
  const double low = number(text.substr(0, comma), "scale minimum");
  const double high = number(text.substr(comma + 1), "scale maximum");
  if (!(low < high)) throw BadInput{"scale out of range: " + text};
  set_mapped_scale(s, type, low, high);
}

struct Frame {
  int tile = 400;
  bool grid_lines = true;
};

Frame apply_options(const MapOptionsText& o, Settings& s, const Variant& v) {
  Frame f;
  const InstrumentType type = v.instrument_type;
  if (o.tile) f.tile = static_cast<int>(whole(*o.tile, "--tile", 8, 4000));
  if (o.map_size) s.map.map_size = whole(*o.map_size, "--map-size", 1, 100000000);
  if (o.view) s.colour_map_view = static_cast<int>(whole(*o.view, "--view", 0, mapped_view_count(view_setup(s, type))));
  if (o.position_size) s.map.position_size = static_cast<int>(whole(*o.position_size, "--position-size", 0, 5));
  if (o.scale) set_scale(s, type, *o.scale);
  if (o.grid) {
    if (*o.grid == "none")
      f.grid_lines = false;
    else if (*o.grid == "basic")
      s.map.parallel_lines = 0;
    else if (*o.grid == "lines")
      s.map.parallel_lines = 1;
    else
      throw BadInput{"--grid must be none, basic or lines"};
  }
  if (o.grid_interval) {
    s.map.lines_interval = number(*o.grid_interval, "--grid-interval");
    if (!(s.map.lines_interval > 0)) throw BadInput{"--grid-interval out of range: " + *o.grid_interval};
  }
  if (o.lines_angle) {
    s.map.lines_angle = number(*o.lines_angle, "--lines-angle");
    if (std::fabs(s.map.lines_angle) > 360) throw BadInput{"--lines-angle out of range: " + *o.lines_angle};
  }
  if (!view_exists(view_setup(s, type), s.colour_map_view)) s.colour_map_view = 0;
  s.map.position_size = std::clamp(s.map.position_size, 0, 5);
  return f;
}

std::string with_extension(const std::string& path, const char* extension) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return path.substr(0, dot) + extension;
  return path + extension;
}

std::string world_file_text(double k, double easting, double northing) {
  char text[160];
  std::snprintf(text, sizeof text, "%.10f\n0\n0\n%.10f\n%.6f\n%.6f\n", 1.0 / k, -1.0 / k, easting, northing);
  return text;
}

// The data file, the settings file and the background files.
std::vector<std::string> inputs_of(const MapOptionsText& o, int navigation_mode) {
  std::vector<std::string> in{o.file};
  if (!o.settings.empty()) in.push_back(o.settings);
  for (const std::string& b : o.backgrounds)
    if (const auto parse = parse_background_request(b, navigation_mode); parse.request)
      in.push_back(parse.request->file);
  return in;
}

void stage(OutputBatch& batch, const std::string& target, const OutputWriter& write) {
  if (std::string why = batch.stage(target, write); !why.empty()) throw BadInput{why};
}

std::string pair(long long a, long long b) { return "[" + std::to_string(a) + "," + std::to_string(b) + "]"; }

int run(const MapOptionsText& o) {
  const auto bytes = read_file_bytes(o.file);
  if (!bytes) throw BadInput{"cannot read " + o.file};
  const auto info = read_survey_file_info(*bytes);
  if (!info) throw BadInput{"unknown format: " + o.file};
  const std::string png = o.out.empty() ? with_extension(o.file, ".png") : o.out;
  const std::string world = with_extension(png, ".pgw");
  const std::vector<std::string> inputs = inputs_of(o, info->variant.navigation_mode);
  if (const std::string why = outputs_refusal({png, world}, inputs); !why.empty()) throw BadInput{why};
  Settings s = initial_settings(info->variant);
  if (!o.settings.empty()) {
    const std::string error = load_settings_file(o.settings, s, info->variant);
    if (!error.empty()) throw BadInput{error};
  }
  s.map_units = info->map_units;
  const Frame f = apply_options(o, s, info->variant);
  const ReplotInput input{*bytes, *info, {}, bytes->size()};
  const MapReplot r = replot_data_files({&input, 1}, s, {f.tile, f.grid_lines, o.backgrounds});
  if (!r.error.empty()) throw BadInput{r.error == "no GPS position" ? "no GPS position in " + o.file : r.error};

  // Written a tile row at a time: memory stays that of the tiles and one band.
  const TileRange range = r.range;
  // Tiles of the rectangle that no strip touched get their grid and backgrounds too.
  const auto band_of = [&](int band) {
    const int ty = range.max_row - band;
    make_row_tiles(r, ty);
    return compose_band(*r.tiles, range, ty);
  };
  if (r.width <= 0 || r.height <= 0) throw BadInput{"empty image"};
  OutputBatch batch(inputs);
  stage(batch, png, [&](const OutputSink& sink) { return write_png_bands(sink, r.width, r.height, f.tile, band_of); });
  const std::string world_text = world_file_text(r.pixels_per_unit, r.west, r.north);
  stage(batch, world, [&](const OutputSink& sink) { return sink(world_text.data(), world_text.size()); });
  if (const std::string why = batch.commit(); !why.empty()) throw BadInput{why};
  const bool full = !range_usable(range) || r.counts.outside > 0;

  JsonObject j;
  j.raw("variant", pair(info->variant.instrument_type, info->variant.navigation_mode))
      .raw("origin", "[" + json_number(r.origin.easting) + "," + json_number(r.origin.northing) + "]")
      .num("pixels_per_unit", r.pixels_per_unit)
      .integer("tile", f.tile)
      .raw("columns", pair(range.min_column, range.max_column))
      .raw("rows", pair(range.min_row, range.max_row))
      .integer("width", r.width)
      .integer("height", r.height)
      .integer("swaths", r.counts.swaths)
      .integer("bars", r.counts.bars)
      .integer("readings", r.counts.readings)
      .integer("map_full", full ? 1 : 0)
      .raw("backgrounds", map_backgrounds_json(*r.backgrounds))
      .str("png", png);
  std::printf("%s\n", j.text().c_str());
  return 0;
}

}  // namespace

int run_map(int argc, char** argv) {
  try {
    return run(parse_arguments(argc, argv));
  } catch (const BadInput& e) {
    std::fprintf(stderr, "quelor map: %s\n", e.message.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quelor map: %s\n", e.what());
  }
  return 2;
}

}  // namespace quelor::tool
