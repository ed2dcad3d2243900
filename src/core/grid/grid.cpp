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
Grid frame_of(std::span<const GridSample> samples, double cell) {
  double x0 = samples[0].x, x1 = x0, y0 = samples[0].y, y1 = y0;
  for (const GridSample& s : samples) {
    x0 = std::min(x0, s.x);
    x1 = std::max(x1, s.x);
    y0 = std::min(y0, s.y);
    y1 = std::max(y1, s.y);
  }
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

void blank_cells(GridResult& out, std::span<const GridSample> samples, const NearestReadings& nearest, bool fill) {
  out.grid.kinds = cell_kinds(out.grid, samples, nearest, {out.blank, out.reach, fill});
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
std::string all_blank_reason(std::span<const GridSample> samples, double cell, double blank) {
  const auto [x0, x1] = std::minmax_element(samples.begin(), samples.end(),
                                            [](const GridSample& a, const GridSample& b) { return a.x < b.x; });
  const auto [y0, y1] = std::minmax_element(samples.begin(), samples.end(),
                                            [](const GridSample& a, const GridSample& b) { return a.y < b.y; });
  const double width = x1->x - x0->x, height = y1->y - y0->y;
  if (cell > std::max(width, height))
    return "no cell left: the cell of " + number_text(cell) + " is larger than the survey (" + number_text(width) +
           " x " + number_text(height) + "); choose a smaller cell";
  return "no cell left: every cell centre is farther than the blanking distance of " + number_text(blank) +
         " from the readings; choose a larger blanking distance or a smaller cell";
}

void summarise(GridResult& out, std::span<const GridSample> samples) {
  const Grid& g = out.grid;
  for (float v : g.values)
    if (!std::isnan(v)) {
      out.minimum = std::isnan(out.minimum) ? v : std::min(out.minimum, double(v));
      out.maximum = std::isnan(out.maximum) ? v : std::max(out.maximum, double(v));
    }
  double sum = 0;
  std::size_t n = 0;
  for (const GridSample& s : samples) {
    const int c = static_cast<int>(std::floor((s.x - g.west) / g.cell));
    const int r = static_cast<int>(std::floor((g.north - s.y) / g.cell));
    if (c < 0 || c >= g.columns || r < 0 || r >= g.rows || std::isnan(g.at(c, r))) continue;
    const double d = g.at(c, r) - s.value;
    sum += d * d;
    ++n;
    out.misfit_max = std::max(out.misfit_max, std::fabs(d));
  }
  out.misfit_rms = n ? std::sqrt(sum / n) : 0.0;
}

}  // namespace

GridResult grid_points(std::span<const GridSample> samples, const GridOptions& options,
                       std::span<const std::size_t> part_ends) {
  GridResult out;
  if (samples.empty()) {
    out.error = "no positioned readings";
    return out;
  }
  const auto tell = [&](const std::string& what) {
    if (options.progress) options.progress(what);
  };
  tell("line spacing");
  out.line_spacing = median_line_spacing(samples, part_ends);
  const double spacing = out.line_spacing > 0 ? out.line_spacing : kSingleLineSpacing;
  const double cell = options.cell > 0 ? options.cell : automatic_cell(spacing);
  out.blank = options.blank > 0 ? options.blank : kBlankSpacings * spacing;
  out.reach = options.reach > 0 ? options.reach : std::min(kReachSpacings * spacing, out.blank / 2);
  out.grid = frame_of(samples, cell);
  if (out.grid.columns == 0) {
    out.error = "the readings span more than " + std::to_string(static_cast<long long>(kMaxCells)) + " cells of " +
                std::to_string(cell) + ": choose a larger cell";
    return out;
  }
  tell("distances to the readings");
  const NearestReadings nearest = nearest_readings(out.grid, samples);
  if (options.method == GridMethod::kNearest) {
    out.grid.values.assign(nearest.reading.size(), NAN);
    for (std::size_t k = 0; k < nearest.reading.size(); ++k)
      if (nearest.reading[k] >= 0) out.grid.values[k] = static_cast<float>(samples[nearest.reading[k]].value);
  } else {
    MinimumCurvatureOptions mc;
    mc.tension = options.tension;
    mc.on_spacing = [&](double level_cell) { tell("minimum curvature at cells of " + number_text(level_cell)); };
    // Cells a little beyond the blanking distance are solved too, so that
    // the kept cells at its edge see a solved neighbourhood.
    const double reach = out.blank + 2 * cell;
    mc.active.resize(nearest.distance.size());
    for (std::size_t k = 0; k < mc.active.size(); ++k) mc.active[k] = nearest.distance[k] <= reach;
    minimum_curvature(out.grid, samples, mc);
  }
  tell("blanking");
  blank_cells(out, samples, nearest, options.fill);
  if (out.blanked == out.grid.values.size()) {
    out.error = all_blank_reason(samples, cell, out.blank);
    return out;
  }
  summarise(out, samples);
  return out;
}

}  // namespace quelor
