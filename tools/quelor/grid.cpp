// quelor grid FILE...|FOLDER [--channel NAME|--all] [--cell M] [--blank M] [--fill] [--method mincurv|nearest]
// [--zone auto|N] [--tension T] [--no-predictor] [--png [PATH.png]] [--kmz [PATH.kmz]] [--scale MIN,MAX]
// [--contours INTERVAL] --out PATH.tif:
// one channel of one or more survey data files (a folder: the data files in
// it) interpolated on a regular grid as one survey, as a GeoTIFF (the
// values, then the cells' kinds: measured, interpolated, blank); the picture
// with transparent nodata, its world file and .prj, a KMZ for Google Earth,
// contour lines as GeoJSON beside the GeoTIFF; one JSON line on
// standard output describes the grid.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "commands.h"
#include "datafile/output_file.h"
#include "background/survey_file.h"
#include "file_input.h"
#include "gps/projection.h"
#include "grid/channel_unit.h"
#include "grid/contours.h"
#include "grid/geotiff.h"
#include "grid/grid.h"
#include "grid/grid_image.h"
#include "grid/kmz.h"
#include "grid/prj_text.h"
#include "grid/survey_mosaic.h"
#include "grid/survey_samples.h"
#include "json.h"
#include "map/palette.h"
#include "png_writer.h"
#include "progress.h"
#include "survey_files.h"

namespace quelor::tool {

namespace {

const char kUsage[] =
    "usage: quelor grid FILE...|FOLDER [--channel NAME|--all] [--cell M] [--blank M] [--fill] [--method "
    "mincurv|nearest]\n"
    "                   [--zone auto|N] [--tension T] [--no-predictor] [--png [PATH.png]] [--kmz [PATH.kmz]]\n"
    "                   [--scale MIN,MAX] [--contours INTERVAL]\n"
    "                   --out PATH.tif\n";

struct Options {
  std::vector<std::string> files;
  std::string out, png;
  std::optional<std::pair<double, double>> scale;  // of the picture
  std::string channel;
  GridOptions grid;
  int zone = kAutomaticZone;
  bool predictor = true;
  bool want_png = false;
  bool all = false;  // every numeric channel, one band each
  std::string kmz;
  bool want_kmz = false;
  double contour_interval = 0.0;  // 0: no contours
  std::string contours;
};

bool parse_number(const char* text, double& v) {
  char* end = nullptr;
  errno = 0;
  v = std::strtod(text, &end);
  return errno == 0 && end != text && *end == 0;
}

bool ends_with(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::string with_extension(const std::string& path, const char* extension) {
  const std::size_t slash = path.find_last_of("/\\"), dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return path.substr(0, dot) + extension;
  return path + extension;
}

// An error text, empty when the arguments are good.
std::string parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--no-predictor") {
      o.predictor = false;
    } else if (arg == "--kmz") {
      o.want_kmz = true;
      if (i + 1 < argc && ends_with(argv[i + 1], ".kmz")) o.kmz = argv[++i];
    } else if (arg == "--all") {
      o.all = true;
    } else if (arg == "--fill") {
      o.grid.fill = true;
    } else if (arg == "--png") {
      o.want_png = true;
      if (i + 1 < argc && ends_with(argv[i + 1], ".png")) o.png = argv[++i];
    } else if (arg == "--contours") {
      double v = 0;
      if (i + 1 >= argc || !parse_number(argv[i + 1], v) || !(v > 0) || !std::isfinite(v))
        return std::string("--contours needs a positive interval");
      o.contour_interval = v;
      ++i;
    } else if (arg == "--scale") {
      if (i + 1 >= argc) return "--scale needs MIN,MAX";
      const std::string value = argv[++i];
      const std::size_t comma = value.find(',');
      double low = 0, high = 0;
      if (comma == std::string::npos || !parse_number(value.substr(0, comma).c_str(), low) ||
          !parse_number(value.substr(comma + 1).c_str(), high) || !(low < high) || !std::isfinite(high - low))
        return "bad scale '" + value + "' (MIN,MAX with MIN below MAX)";
      o.scale = std::pair{low, high};
    } else if (arg == "--channel" || arg == "--cell" || arg == "--blank" || arg == "--method" || arg == "--zone" ||
               arg == "--out" || arg == "--tension") {
      if (i + 1 >= argc) return std::string(arg) + " needs a value";
      const char* value = argv[++i];
      double v = 0;
      if (arg == "--channel") o.channel = value;
      if (arg == "--out") o.out = value;
      if (arg == "--method") {
        if (std::string_view(value) == "mincurv")
          o.grid.method = GridMethod::kMinimumCurvature;
        else if (std::string_view(value) == "nearest")
          o.grid.method = GridMethod::kNearest;
        else
          return std::string("bad method '") + value + "' (mincurv or nearest)";
      }
      if ((arg == "--cell" || arg == "--blank") && (!parse_number(value, v) || !(v > 0) || v > 1e6))
        return std::string("bad ") + std::string(arg.substr(2)) + " '" + value + "'";
      if (arg == "--cell") o.grid.cell = v;
      if (arg == "--blank") o.grid.blank = v;
      if (arg == "--tension") {
        if (!parse_number(value, v) || v < 0 || v > 1) return std::string("bad tension '") + value + "' (0-1)";
        o.grid.tension = v;
      }
      if (arg == "--zone" && std::string_view(value) != "auto") {
        if (!parse_number(value, v) || v != static_cast<int>(v) || v < 1 || v > 60)
          return std::string("bad zone '") + value + "' (auto or 1-60)";
        o.zone = static_cast<int>(v);
      }
    } else if (!arg.empty() && arg[0] == '-') {
      return std::string("unknown option '") + argv[i] + "'";
    } else {
      o.files.push_back(argv[i]);
    }
  }
  if (o.files.empty()) return "no data file";
  if (o.all && !o.channel.empty()) return "--all and --channel exclude each other";
  if (o.out.empty()) return "no --out";
  if (o.want_png && o.png.empty()) o.png = with_extension(o.out, ".png");
  if (o.want_kmz && o.kmz.empty()) o.kmz = with_extension(o.out, ".kmz");
  if (o.contour_interval > 0) o.contours = with_extension(o.out, ".geojson");
  return {};
}

// The GeoTIFF, and with --png the picture, its world file and its .prj.
std::vector<std::string> outputs_of(const Options& o) {
  std::vector<std::string> out{o.out};
  if (!o.png.empty()) out.insert(out.end(), {o.png, with_extension(o.png, ".pgw"), with_extension(o.png, ".prj")});
  if (!o.kmz.empty()) out.push_back(o.kmz);
  if (!o.contours.empty()) out.push_back(o.contours);
  return out;
}

// All outputs complete, or none: each goes through a temporary file.
std::string write_outputs(const Options& o, const GridResult& r, const GeoTiffOptions& tiff) {
  OutputBatch batch(o.files);
  if (std::string why = batch.stage(o.out, geotiff_bytes(r.grid, tiff)); !why.empty()) return why;
  // The grid's own range, as the report's gridded map, unless a scale is given; no data see-through.
  const double high = r.maximum > r.minimum ? r.maximum : r.minimum + 1.0;
  const auto [low, top] = o.scale ? *o.scale : std::pair{r.minimum, high};
  const Raster picture = o.png.empty() && o.kmz.empty() ? Raster() : grid_raster(r.grid, low, top);
  if (!o.contours.empty()) {
    const std::vector<ContourLevel> levels = grid_contours(r.grid, o.contour_interval);
    if (levels.empty())
      return "no contour at an interval of " + json_number(o.contour_interval) +
             " (none in the grid's range, or more than " + std::to_string(kMostContourLevels) + " levels)";
    const int epsg = tiff.map_units == 0 ? utm_epsg(tiff.zone, tiff.south) : 0;
    if (std::string why = batch.stage(o.contours, contours_geojson(levels, epsg)); !why.empty()) return why;
  }
  if (!o.kmz.empty()) {
    std::string png;
    write_png(
        [&](const void* data, std::size_t size) {
          png.append(static_cast<const char*>(data), size);
          return true;
        },
        picture, kWhite);
    const std::string kmz = grid_kmz(r.grid, tiff.zone, tiff.south, tiff.map_units, tiff.description, png);
    if (kmz.empty()) return "no KMZ: the grid has no UTM zone";
    if (std::string why = batch.stage(o.kmz, kmz); !why.empty()) return why;
  }
  if (!o.png.empty()) {
    if (std::string why = batch.stage(o.png, [&](const OutputSink& sink) { return write_png(sink, picture, kWhite); });
        !why.empty())
      return why;
    if (std::string why = batch.stage(with_extension(o.png, ".pgw"), world_file_text(r.grid)); !why.empty()) return why;
    if (const std::string prj = utm_prj_text(tiff.zone, tiff.south, tiff.map_units); !prj.empty())
      if (std::string why = batch.stage(with_extension(o.png, ".prj"), prj); !why.empty()) return why;
  }
  return batch.commit();
}

// With --all: every other numeric channel on the first one's cells and
// blanking, one band each.
std::string more_bands(const Options& o, const SurveyFiles& read, const GridResult& r, std::vector<GeoTiffBand>& out,
                       Progress& progress) {
  const SurveySamples& first = *read.mosaic.survey;
  GridOptions options = o.grid;
  options.cell = r.grid.cell;
  options.blank = r.blank;
  options.reach = r.reach;
  for (const std::string& channel : first.channels) {
    if (channel == first.channel) continue;
    progress.detail(channel);
    options.progress = [&](const std::string& what) { progress.detail(channel + ": " + what); };
    SurveyFiles files = read_survey_files(o.files, channel, o.zone, {}, read.kept);
    if (!files.mosaic.survey) return files.mosaic.error;
    GridResult g = grid_survey(std::move(files.grid), options, survey_grid_files(files));
    if (!g.error.empty()) return channel + ": " + g.error;
    if (g.grid.columns != r.grid.columns || g.grid.rows != r.grid.rows || g.grid.west != r.grid.west ||
        g.grid.north != r.grid.north)
      return channel + " covers other cells than " + first.channel + ": grid it alone with --channel";
    out.push_back({std::move(g.grid.values), channel, channel_unit(channel)});
  }
  return {};
}

int bad(const std::string& message) {
  std::fprintf(stderr, "quelor grid: %s\n", message.c_str());
  return 2;
}

const char* unit_name(int map_units) {
  static const char* const kNames[] = {"m", "ft", "us-ft"};
  return map_units >= 0 && map_units <= 2 ? kNames[map_units] : "m";
}

// [west, south, east, north]
std::string extent_text(const Grid& g) {
  std::string out(1, '[');
  for (double v : {g.west, g.north - g.rows * g.cell, g.west + g.columns * g.cell, g.north}) {
    if (out.size() > 1) out += ',';
    out += json_number(v);
  }
  return out + ']';
}

std::string summary(const Options& o, const SurveySamples& s, std::size_t positioned, const GridResult& r) {
  const Grid& g = r.grid;
  const double cells = static_cast<double>(g.values.size());
  JsonObject json;
  json.str("file", o.files[0])
      .integer("files", static_cast<long long>(o.files.size()))
      .str("out", o.out)
      .str("channel", s.channel)
      .str("method", o.grid.method == GridMethod::kNearest ? "nearest" : "mincurv")
      .integer("readings", static_cast<long long>(s.readings))
      .integer("positioned", static_cast<long long>(positioned))
      .integer("columns", g.columns)
      .integer("rows", g.rows)
      .num("cell", g.cell)
      .str("units", unit_name(s.map_units))
      .raw("extent", extent_text(g))
      .integer("zone", s.zone)
      .boolean("south", s.south)
      .integer("epsg", s.map_units == 0 ? utm_epsg(s.zone, s.south) : 0)
      .num("min", r.minimum)
      .num("max", r.maximum)
      .num("line_spacing", r.line_spacing)
      .num("blank", r.blank)
      .num("reach", r.reach)
      .boolean("fill", o.grid.fill)
      .num("blanked", cells > 0 ? static_cast<double>(r.blanked) / cells : 0.0)
      .integer("measured_cells", static_cast<long long>(r.measured))
      .integer("interpolated_cells", static_cast<long long>(g.values.size() - r.blanked - r.measured))
      .integer("blank_cells", static_cast<long long>(r.blanked))
      .num("misfit_rms", r.misfit_rms)
      .num("misfit_max", r.misfit_max)
      .str("nodata", kGeoTiffNoDataText);
  if (!o.png.empty()) json.str("png", o.png);
  if (!o.kmz.empty()) json.str("kmz", o.kmz);
  if (!o.contours.empty()) json.str("contours", o.contours);
  return json.text();
}

}  // namespace

int run_grid(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  Options o;
  if (const std::string error = parse(argc, argv, o); !error.empty()) return bad(error);
  if (const std::string error = expand_data_folders(o.files); !error.empty()) return bad(error);
  if (const std::string why = outputs_refusal(outputs_of(o), o.files); !why.empty()) return bad(why);
  // A bar on a terminal, in a log one line a step: once the work has run over a second.
  Progress progress("quelor grid", static_cast<int>(o.files.size()) + (o.all ? 3 : 2));
  SurveyFiles files =
      read_survey_files(o.files, o.channel, o.zone, [&](const std::string& file) { progress.step("reading " + file); });
  if (!files.mosaic.survey) return bad(files.mosaic.error);
  const std::string name = o.files.size() == 1 ? o.files[0] : std::to_string(o.files.size()) + " files";
  const SurveySamples& s = *files.mosaic.survey;
  const std::size_t positioned = files.grid.count;
  for (const std::string& w : s.warnings) std::fprintf(stderr, "quelor grid: warning: %s\n", w.c_str());
  progress.step("gridding " + std::to_string(positioned) + " readings");
  GridOptions options = o.grid;
  options.progress = [&](const std::string& what) { progress.detail(what); };
  const GridResult r = grid_survey(std::move(files.grid), options, survey_grid_files(files));
  if (!r.error.empty()) return bad(name + ": " + r.error);
  GeoTiffOptions tiff;
  tiff.zone = s.zone;
  tiff.south = s.south;
  tiff.map_units = s.map_units;
  tiff.predictor = o.predictor;
  tiff.description = s.channel;
  tiff.unit = channel_unit(s.channel);
  if (o.all) {
    progress.step("gridding the other channels");
    if (const std::string why = more_bands(o, files, r, tiff.more_bands, progress); !why.empty()) return bad(why);
  }
  progress.step("writing " + o.out);
  if (const std::string why = write_outputs(o, r, tiff); !why.empty()) return bad(why);
  progress.done();
  std::string line = summary(o, s, positioned, r);
  if (o.all) {
    std::string names = "[" + json_string(s.channel);
    for (const GeoTiffBand& b : tiff.more_bands) names += "," + json_string(b.description);
    line.insert(line.size() - 1, ",\"bands\":" + names + "]");
  }
  std::printf("%s\n", line.c_str());
  return 0;
}

}  // namespace quelor::tool
