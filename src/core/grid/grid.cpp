#include "grid/grid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "grid/cell_kinds.h"
#include "grid/line_spacing.h"
#include "grid/min_curvature.h"
#include "grid/reading_distance.h"

namespace quelor {

namespace {

constexpr double kMaxCells = 2.0e7;         // about 1.4 GB while solving
constexpr int kFewestCells = 3;             // across, so that edges have neighbours
constexpr double kBlankSpacings = 1.5;      // blanking distance in line spacings
constexpr double kSingleLineSpacing = 1.0;  // map units, when the readings show one line
constexpr double kReachSpacings = 0.5;      // a cell this near a reading (in line spacings) is kept

// The frame: the readings' extent out to whole cells of the cell size.
Grid frame_of(const GridSurvey& survey, double cell) {
  const double x0 = survey.west, x1 = survey.east, y0 = survey.south, y1 = survey.north;
  Grid g;
  g.cell = cell;
  g.west = std::floor(x0 / cell) * cell;
  g.north = std::ceil(y1 / cell) * cell;
  if (g.north == y1) g.north += cell;  // the northernmost reading inside its cell
  const double columns = std::floor((x1 - g.west) / cell) + 1;
  const double rows = std::floor((g.north - y0) / cell) + 1;
  if (columns * rows > kMaxCells) return g;
  g.columns = std::max(kFewestCells, static_cast<int>(columns));
  g.rows = std::max(kFewestCells, static_cast<int>(rows));
  return g;
}

void blank_cells(GridResult& out) {
  for (std::size_t k = 0; k < out.grid.values.size(); ++k) {
    if (out.grid.kinds[k] == kCellBlank) {
      out.grid.values[k] = NAN;
      ++out.blanked;
    }
    out.measured += out.grid.kinds[k] == kCellMeasured;
  }
}

std::string number_text(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// Why no cell kept a value: the cell is larger than the survey, or the
// blanking distance too short for the cell.
std::string all_blank_reason(const GridSurvey& survey, double cell, double blank) {
  const double width = survey.east - survey.west, height = survey.north - survey.south;
  if (cell > std::max(width, height))
    return "no cell left: the cell of " + number_text(cell) + " is larger than the survey (" + number_text(width) +
           " x " + number_text(height) + "); choose a smaller cell";
  return "no cell left: every cell centre is farther than the blanking distance of " + number_text(blank) +
         " from the readings; choose a larger blanking distance or a smaller cell";
}

// The misfit at each reading whose cell keeps its value (a cell holding a
// reading is measured or blank before the readings beyond are looked for).
struct Misfit {
  double sum = 0, largest = 0;
  std::size_t count = 0;
};

void add_misfit(Misfit& m, const Grid& g, const std::vector<std::uint8_t>& kinds, std::span<const GridSample> samples) {
  for (const GridSample& s : samples) {
    const int c = static_cast<int>(std::floor((s.x - g.west) / g.cell));
    const int r = static_cast<int>(std::floor((g.north - s.y) / g.cell));
    if (c < 0 || c >= g.columns || r < 0 || r >= g.rows) continue;
    const std::size_t k = static_cast<std::size_t>(r) * g.columns + c;
    if (kinds[k] == kCellBlank || std::isnan(g.values[k])) continue;
    const double d = g.values[k] - s.value;
    m.sum += d * d;
    ++m.count;
    m.largest = std::max(m.largest, std::fabs(d));
  }
}

void summarise(GridResult& out, const Misfit& m) {
  for (float v : out.grid.values)
    if (!std::isnan(v)) {
      out.minimum = std::isnan(out.minimum) ? v : std::min(out.minimum, double(v));
      out.maximum = std::isnan(out.maximum) ? v : std::max(out.maximum, double(v));
    }
  out.misfit_rms = m.count ? std::sqrt(m.sum / m.count) : 0.0;
  out.misfit_max = m.largest;
}

constexpr const char* kFileChanged = "a data file changed while it was gridded";

}  // namespace

void survey_file(GridSurvey& survey, std::span<const GridSample> file_readings) {
  if (file_readings.empty()) return;
  if (survey.count == 0) {
    survey.west = survey.east = file_readings[0].x;
    survey.south = survey.north = file_readings[0].y;
  }
  for (const GridSample& s : file_readings) {
    survey.west = std::min(survey.west, s.x);
    survey.east = std::max(survey.east, s.x);
    survey.south = std::min(survey.south, s.y);
    survey.north = std::max(survey.north, s.y);
  }
  survey.count += file_readings.size();
  tally_line_spacing(survey.spacing, file_readings);
  add_plane_readings(survey.curvature, file_readings);
}

GridResult grid_survey(GridSurvey survey, const GridOptions& options, const GridFiles& files) {
  GridResult out;
  if (survey.count == 0) {
    out.error = "no positioned readings";
    return out;
  }
  const auto tell = [&](const std::string& what) {
    if (options.progress) options.progress(what);
  };
  tell("line spacing");
  out.line_spacing = median_line_spacing(survey.spacing);
  std::vector<double>().swap(survey.spacing.sides);
  const double spacing = out.line_spacing > 0 ? out.line_spacing : kSingleLineSpacing;
  const double cell = options.cell > 0 ? options.cell : automatic_cell(spacing);
  out.blank = options.blank > 0 ? options.blank : kBlankSpacings * spacing;
  out.reach = options.reach > 0 ? options.reach : std::min(kReachSpacings * spacing, out.blank / 2);
  out.grid = frame_of(survey, cell);
  if (out.grid.columns == 0) {
    out.error = "the readings span more than " + std::to_string(static_cast<long long>(kMaxCells)) + " cells of " +
                std::to_string(cell) + ": choose a larger cell";
    return out;
  }
  tell("distances to the readings");
  const bool curvature = options.method != GridMethod::kNearest;
  NearestReadings nearest = start_nearest(out.grid);
  std::size_t handed = 0;
  const bool same = files([&](std::span<const GridSample> part) {
    handed += part.size();
    seed_nearest(nearest, out.grid, part);
    if (curvature) add_cell_readings(survey.curvature, out.grid, part);
  });
  if (!same || handed != survey.count) {
    out.error = kFileChanged;
    return out;
  }
  propagate_nearest(nearest, out.grid);
  if (!curvature) {
    out.grid.values.assign(nearest.value.begin(), nearest.value.end());
  } else {
    MinimumCurvatureOptions mc;
    mc.tension = options.tension;
    mc.on_spacing = [&](double level_cell) { tell("minimum curvature at cells of " + number_text(level_cell)); };
    // Cells a little beyond the blanking distance are solved too, so that
    // the kept cells at its edge see a solved neighbourhood.
    const double reach = out.blank + 2 * cell;
    mc.active.resize(nearest.distance.size());
    for (std::size_t k = 0; k < mc.active.size(); ++k) mc.active[k] = nearest.distance[k] <= reach;
    minimum_curvature(out.grid, survey.curvature, mc);
    survey.curvature = {};
  }
  tell("blanking");
  CellKinds kinds = start_cell_kinds(out.grid, nearest, {out.blank, out.reach, options.fill});
  Misfit misfit;
  handed = 0;
  const bool still_same = files([&](std::span<const GridSample> part) {
    handed += part.size();
    add_misfit(misfit, out.grid, kinds.kinds, part);
    find_readings_beyond(kinds, out.grid, nearest, part);
  });
  if (!still_same || handed != survey.count) {
    out.error = kFileChanged;
    return out;
  }
  out.grid.kinds = std::move(kinds.kinds);
  blank_cells(out);
  if (out.blanked == out.grid.values.size()) {
    out.error = all_blank_reason(survey, cell, out.blank);
    return out;
  }
  summarise(out, misfit);
  return out;
}

GridResult grid_points(std::span<const GridSample> samples, const GridOptions& options,
                       std::span<const std::size_t> part_ends) {
  std::vector<std::span<const GridSample>> files;
  std::size_t begin = 0;
  for (std::size_t end : part_ends) {
    end = std::clamp(end, begin, samples.size());
    files.push_back(samples.subspan(begin, end - begin));
    begin = end;
  }
  files.push_back(samples.subspan(begin));
  GridSurvey survey;
  for (std::span<const GridSample> file : files) survey_file(survey, file);
  return grid_survey(std::move(survey), options, [&](const GridFileVisitor& visit) {
    for (std::span<const GridSample> file : files) visit(file);
    return true;
  });
}

}  // namespace quelor
