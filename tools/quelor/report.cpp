// quelor report FILE...|FOLDER --out report.html: the end-of-day page of a survey or
// of a day's files, self-contained (images inline, no network): verdict,
// inputs, the re-plotted coverage map and the gridded map, coverage and its
// gaps, the line table, the speed histogram, GPS quality and every remark.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "datafile/output_file.h"
#include "display/speed_bar.h"
#include "export/export_table.h"
#include "file_input.h"
#include "grid/grid.h"
#include "grid/survey_mosaic.h"
#include "grid/survey_samples.h"
#include "gps/units.h"
#include "gps/warning.h"
#include "html_text.h"
#include "json.h"
#include "map/colour_class.h"
#include "map_replot.h"
#include "png_writer.h"
#include "progress.h"
#include "survey_files.h"
#include "report/coverage.h"
#include "report/line_flags.h"
#include "report/line_table.h"
#include "report/remarks.h"
#include "report/speed_histogram.h"
#include "report/survey_file_reading.h"
#include "report/survey_time.h"
#include "report/value_range.h"
#include "report/verdict.h"
#include "report_page.h"
#include "settings/instrument_defaults.h"
#include "survey/gps_fix_handler.h"

namespace quelor::tool {

namespace {

constexpr int kMapPixels = 900;  // the longer side of each map
constexpr int kReplotTile = 200;
constexpr int kSpeedBins = 20;
constexpr int kGpsBuckets = 600;

struct BadInput {
  std::string message;
};

struct Options {
  std::vector<std::string> files;
  std::string out, settings, channel;
  std::optional<std::pair<double, double>> scale;
  int zone = kAutomaticZone;
};

double number(const std::string& text, const char* what) {
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(v))
    throw BadInput{std::string("bad ") + what + " '" + text + "'"};
  return v;
}

Options parse_arguments(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--", 0) != 0) {
      o.files.push_back(a);
      continue;
    }
    if (i + 1 >= argc) throw BadInput{"missing value of " + a};
    const std::string v = argv[++i];
    if (a == "--out") {
      o.out = v;
    } else if (a == "--settings") {
      o.settings = v;
    } else if (a == "--channel") {
      o.channel = v;
    } else if (a == "--scale") {
      const std::size_t comma = v.find(',');
      if (comma == std::string::npos) throw BadInput{"--scale needs MIN,MAX"};
      o.scale = std::pair{number(v.substr(0, comma), "scale minimum"), number(v.substr(comma + 1), "scale maximum")};
      if (!(o.scale->first < o.scale->second)) throw BadInput{"scale out of range: " + v};
    } else if (a == "--zone") {
      if (v != "auto") {
        const double z = number(v, "zone");
        if (z != std::floor(z) || z < 1 || z > 60) throw BadInput{"bad zone '" + v + "' (auto or 1-60)"};
        o.zone = static_cast<int>(z);
      }
    } else {
      throw BadInput{"unknown option " + a};
    }
  }
  if (o.files.empty() || o.out.empty())
    throw BadInput{"usage: quelor report FILE...|FOLDER --out report.html [options]"};
  if (const std::string why = expand_data_folders(o.files); !why.empty()) throw BadInput{why};
  return o;
}

std::string base_name(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct ReadFiles {
  std::vector<InputFile> files;
  std::vector<std::string> kept;  // per file: the bytes of an input that cannot be read again (a pipe), else none
  std::vector<ReplotInput> replot;
  // The gridded channel of each file; its readings are kept for one file,
  // and read again a file at a time for several.
  std::vector<SurveySamplesResult> samples;
  std::vector<std::size_t> fingerprints;  // of each file's bytes, to know it again
  GridSurvey grid;
  ValueSample values;  // the gridded channel's readings, for the colour scale
  SurveyData survey;
};

ReadFiles read_files(const Options& o, Progress& progress) {
  ReadFiles r;
  for (const std::string& path : o.files) {
    progress.step("reading " + base_name(path));
    InputFile f;
    f.path = path;
    f.name = base_name(path);
    // The bytes go once walked: the coverage map reads a regular file again.
    auto bytes = read_file_bytes(path);
    if (!bytes) throw BadInput{"cannot read " + path};
    f.size = bytes->size();
    const auto info = read_survey_file_info(*bytes);
    if (!info) throw BadInput{"unknown format: " + path};
    f.info = *info;
    ExportOptions options;
    options.zone = o.zone;
    const long readings_before = reading_count(r.survey);
    const ExportTableResult table = add_survey_file(r.survey, f.name, *bytes, options);
    if (!table.table) throw BadInput{path + ": " + table.error};
    f.readings = reading_count(r.survey) - readings_before;
    f.format_version = bytes->substr(9, 3);
    f.warnings = table.table->warnings;
    if (const std::size_t lf = bytes->find('\n'); lf != std::string::npos && bytes->size() % (lf + 1) != 0)
      r.survey.truncated_files.push_back(f.name);
    r.fingerprints.push_back(bytes_fingerprint(*bytes));
    r.samples.push_back(survey_samples(*bytes, o.channel, o.zone));
    std::error_code ec;
    r.kept.push_back(std::filesystem::is_regular_file(path, ec) ? std::string() : std::move(*bytes));
    bytes.reset();
    if (r.samples.back().survey) {
      std::vector<GridSample>& own = r.samples.back().survey->samples;
      survey_file(r.grid, own);
      if (o.channel.empty())
        for (const GridSample& g : own) offer_value(r.values, g.value);
      if (o.files.size() > 1) std::vector<GridSample>().swap(own);
    }
    r.files.push_back(std::move(f));
  }
  if (std::any_of(r.files.begin(), r.files.end(), [&](const InputFile& f) {
        return f.info.variant.instrument_type != r.files[0].info.variant.instrument_type;
      }))
    throw BadInput{"the files are of different instruments"};
  std::vector<std::string> names;
  std::vector<const SurveySamples*> surveys;
  for (std::size_t i = 0; i < r.files.size(); ++i)
    if (r.samples[i].survey) {
      names.push_back(r.files[i].name);
      surveys.push_back(&*r.samples[i].survey);
    }
  if (const std::string why = mixed_surveys(names, surveys); !why.empty()) throw BadInput{why};
  for (std::size_t i = 0; i < r.files.size(); ++i)
    r.replot.push_back({r.kept[i], r.files[i].info, r.files[i].path, r.files[i].size});
  return r;
}

struct Extent {
  PlanePoint low, high;  // metres
  bool empty = true;
};

Extent survey_extent(const SurveyData& s, const Coverage& c) {
  Extent e;
  const auto add = [&](PlanePoint p) {
    if (e.empty) e.low = e.high = p;
    e.low = {std::min(e.low.easting, p.easting), std::min(e.low.northing, p.northing)};
    e.high = {std::max(e.high.easting, p.easting), std::max(e.high.northing, p.northing)};
    e.empty = false;
  };
  for (const PlanePoint& p : c.hull) add(p);
  for (const SwathQuad& q : s.swaths)
    for (const PlanePoint& p : q) add(p);
  if (e.empty)
    for (const SurveyFix& f : s.fixes) add(f.position);
  return e;
}

// The re-plot at a scale that fits the survey on the page, cropped to the
// survey with a margin, the wide gaps hatched in.
MapOnPage coverage_map(const ReadFiles& in, Settings s, const Coverage& coverage) {
  MapOnPage m;
  m.title = "Coverage map (re-plot)";
  const Extent e = survey_extent(in.survey, coverage);
  if (e.empty) {
    m.message = "no position in the files";
    return m;
  }
  const double mpu = metres_per_unit(in.files[0].info.map_units);
  const double span = std::max({e.high.easting - e.low.easting, e.high.northing - e.low.northing, 1.0}) / mpu;
  const double margin = std::max(span * 0.04, coverage.swath_width / mpu);
  s.map.map_size = std::max(1L, static_cast<long>(std::ceil(kReplotTile * (span + 2 * margin) / kMapPixels)));
  const MapReplot r = replot_data_files(in.replot, s, {kReplotTile, true, {}});
  if (!r.error.empty()) {
    m.message = r.error;
    return m;
  }
  for (int ty = r.range.min_row; ty <= r.range.max_row; ++ty) make_row_tiles(r, ty);
  const Raster whole = compose_range(*r.tiles, r.range);
  MapFrameOnPage full{r.west, r.north, r.pixels_per_unit, mpu};
  const int x0 =
      std::clamp(static_cast<int>(std::floor(full.x(e.low.easting) - margin * r.pixels_per_unit)), 0, whole.width - 1);
  const int x1 =
      std::clamp(static_cast<int>(std::ceil(full.x(e.high.easting) + margin * r.pixels_per_unit)), x0 + 1, whole.width);
  const int y0 = std::clamp(static_cast<int>(std::floor(full.y(e.high.northing) - margin * r.pixels_per_unit)), 0,
                            whole.height - 1);
  const int y1 = std::clamp(static_cast<int>(std::ceil(full.y(e.low.northing) + margin * r.pixels_per_unit)), y0 + 1,
                            whole.height);
  m.image = Raster(x1 - x0, y1 - y0);
  raster_copy(m.image, whole, -x0, -y0);
  m.frame = {r.west + x0 / r.pixels_per_unit, r.north - y0 / r.pixels_per_unit, r.pixels_per_unit, mpu};
  hatch_gaps(m.image, m.frame, coverage);
  m.map_full = !range_usable(r.range) || r.counts.outside > 0;
  int segment_of_last = -1;
  for (const SurveyFix& f : in.survey.fixes) {
    if (m.tracks.empty() || f.segment != segment_of_last) m.tracks.emplace_back();
    m.tracks.back().push_back(f.position);
    segment_of_last = f.segment;
  }
  m.note = html_format("%ld swaths, %ld bars, %ld readings drawn; the walked track in black", r.counts.swaths,
                       r.counts.bars, r.counts.readings);
  const InstrumentType type = in.files[0].info.variant.instrument_type;
  if (s.colour_map_view > 0) {
    const auto [low, high] = mapped_scale(s, type);
    m.scale = std::pair{low, high};
    m.scale_title = "colour map view " + std::to_string(s.colour_map_view);
  }
  return m;
}

// The gridded channel in the program's palette; cells without data white.
// The grid's survey is used up; several files are read again.
MapOnPage grid_map(ReadFiles& in, const Options& o, const Coverage& coverage, Progress& progress) {
  MapOnPage m;
  m.title = "Gridded map";
  for (std::size_t i = 0; i < in.files.size(); ++i)
    if (!in.samples[i].survey) {
      m.message = in.files[i].name + ": " + in.samples[i].error;
      return m;
    }
  const std::string channel = in.samples.back().survey->channel;
  const int map_units = in.samples.back().survey->map_units;
  progress.step("gridding " + channel);
  GridOptions options;
  options.progress = [&](const std::string& what) { progress.detail(what); };
  const GridResult g = grid_survey(std::move(in.grid), options, [&](const GridFileVisitor& visit) {
    if (in.files.size() == 1) {
      visit(in.samples[0].survey->samples);
      return true;
    }
    std::vector<std::string> paths;
    for (const InputFile& f : in.files) paths.push_back(f.path);
    return read_files_again(paths, in.kept, in.fingerprints, o.channel, o.zone, visit);
  });
  if (!g.error.empty()) {
    m.message = g.error;
    return m;
  }
  const Grid& grid = g.grid;
  const double ppc = std::min(8.0, static_cast<double>(kMapPixels) / std::max(grid.columns, grid.rows));
  const int w = std::max(1, static_cast<int>(std::lround(grid.columns * ppc)));
  const int h = std::max(1, static_cast<int>(std::lround(grid.rows * ppc)));
  // The grid's own range unless a scale is given: a small target keeps its colours.
  const double top = g.maximum > g.minimum ? g.maximum : g.minimum + 1.0;
  const auto [low, high] = o.scale ? *o.scale : std::pair{g.minimum, top};
  m.image = Raster(w, h);
  for (int y = 0; y < h; ++y) {
    const int row = std::min(grid.rows - 1, static_cast<int>(y / ppc));
    for (int x = 0; x < w; ++x) {
      const float v = grid.at(std::min(grid.columns - 1, static_cast<int>(x / ppc)), row);
      if (std::isfinite(v)) m.image.set(x, y, palette_colour(colour_class(v, low, high)));
    }
  }
  m.frame = {grid.west, grid.north, ppc / grid.cell, metres_per_unit(map_units)};
  hatch_gaps(m.image, m.frame, coverage);
  m.scale = std::pair{low, high};
  m.scale_title = channel;
  m.note = html_format(
      "%s, %d x %d cells of %.2f %s, blank across gaps wider than %.2f and beyond %.2f of one side's "
      "readings (%.0f%% blank), misfit RMS %.3g",
      channel.c_str(), grid.columns, grid.rows, grid.cell, unit_symbol(map_units), g.blank, g.reach,
      100.0 * static_cast<double>(g.blanked) / std::max<double>(1.0, grid.values.size()), g.misfit_rms);
  return m;
}

// What the page was made with: the colour scale, the speed bar and the GPS warning mask.
std::string settings_summary(const Settings& s, InstrumentType type, bool scale_given) {
  const auto [low, high] = mapped_scale(s, type);
  const GpsWarningLimits gps = warning_limits(s.gps_warning_mask);
  std::string t = html_format("colour scale %g to %g%s; speed bar maximum %g %s; ", low, high,
                              scale_given ? "" : " (2nd to 98th percentile of the readings)", s.speed_scale_maximum,
                              speed_unit_text(s.speed_bar_units));
  if (!gps.enabled) return t + "GPS warning off";
  return t + html_format("GPS warning below fix quality %d, %d satellites or above HDOP %g",
                         gps.minimum_quality_index + 1, gps.minimum_satellites, gps.maximum_dilution);
}

// The data files and the settings file.
std::vector<std::string> inputs_of(const Options& o) {
  std::vector<std::string> in = o.files;
  if (!o.settings.empty()) in.push_back(o.settings);
  return in;
}

int run(const Options& o) {
  if (const std::string why = output_refusal(o.out, inputs_of(o)); !why.empty()) throw BadInput{why};
  Progress progress("quelor report", static_cast<int>(o.files.size()) + 4);
  ReadFiles in = read_files(o, progress);
  const Variant variant = in.files[0].info.variant;
  Settings s = initial_settings(variant);
  if (!o.settings.empty()) {
    const std::string error = load_settings_file(o.settings, s, variant);
    if (!error.empty()) throw BadInput{error};
  }
  s.map_units = in.files[0].info.map_units;
  if (o.scale) {
    set_mapped_scale(s, variant.instrument_type, o.scale->first, o.scale->second);
  } else if (o.channel.empty()) {
    // The data's own range: the program's default scale can leave the map one colour.
    if (const auto range = percentile_range(std::move(in.values.values)))
      set_mapped_scale(s, variant.instrument_type, range->first, range->second);
  }

  progress.step("line table and coverage");
  ReportContent c;
  c.time = survey_time_span(in.survey);
  c.settings_summary = settings_summary(s, variant.instrument_type, o.scale.has_value() || !o.channel.empty());
  c.lines = line_table(in.survey);
  c.coverage = survey_coverage(in.survey);
  const double to_bar_units =
      speed_view({.speed = 1.0, .map_units = kUnitMetres, .speed_bar_units = s.speed_bar_units}).value;
  LineLimits limits;
  limits.max_speed = to_bar_units > 0 ? s.speed_scale_maximum / to_bar_units : 0.0;
  limits.gps = warning_limits(s.gps_warning_mask);
  c.flags = line_flags(in.survey, c.lines, limits);
  c.verdict = survey_verdict(in.survey, c.lines, c.coverage, c.flags);
  c.speed = speed_histogram(in.survey, s.speed_scale_maximum, kSpeedBins, to_bar_units);
  c.speed_unit = speed_unit_text(s.speed_bar_units);
  c.gps = gps_quality_series(in.survey, kGpsBuckets);
  // The readings' positions have told the coverage and the gaps' lines: they go before the maps.
  std::vector<PlanePoint>().swap(in.survey.positions);
  in.survey.position_lines.clear();
  progress.step("re-plotting the coverage map");
  c.coverage_map = coverage_map(in, s, c.coverage);
  c.grid_map = grid_map(in, o, c.coverage, progress);
  progress.step("writing " + o.out);
  const std::string page = report_page(in.files, in.survey, c);
  if (const std::string why = write_output_file(o.out, inputs_of(o), page); !why.empty()) throw BadInput{why};
  progress.done();

  long readings = 0;
  for (const InputFile& f : in.files) readings += f.readings;
  JsonObject j;
  j.str("out", o.out)
      .integer("files", static_cast<long long>(in.files.size()))
      .integer("readings", readings)
      .integer("lines", static_cast<long long>(c.lines.size()))
      .num("covered_share", c.coverage.known ? c.coverage.covered_share : NAN)
      .integer("gaps", static_cast<long long>(c.coverage.gaps.size()))
      .integer("blocks", static_cast<long long>(c.coverage.blocks.size()))
      .integer("flagged_lines",
               static_cast<long long>(std::count_if(
                   c.flags.begin(), c.flags.end(),
                   [](const LineFlags& f) { return f.fast || f.sparse || f.poor_gps || !f.outages.empty(); })))
      .boolean("coverage_map", !c.coverage_map.image.rgb.empty())
      .boolean("grid_map", !c.grid_map.image.rgb.empty())
      .boolean("complete", c.verdict.complete)
      .str("verdict", c.verdict.text)
      .integer("bytes", static_cast<long long>(page.size()));
  std::printf("%s\n", j.text().c_str());
  return 0;
}

}  // namespace

int run_report(int argc, char** argv) {
  try {
    return run(parse_arguments(argc, argv));
  } catch (const BadInput& e) {
    std::fprintf(stderr, "quelor report: %s\n", e.message.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quelor report: %s\n", e.what());
  }
  return 2;
}

}  // namespace quelor::tool
