#include "grid/min_curvature.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quelor {

namespace {

constexpr int kPad = 2;  // ghost nodes beyond each edge
constexpr double kOverRelaxation = 1.4;
constexpr int kMaxLevels = 12;
constexpr int kCoarsestNodes = 4;  // fewest nodes across at the coarsest spacing
// A sweep that changes a value by this many times the readings' range has
// run away; so has a surface still unsettled after the last sweep beyond
// the range by its width.
constexpr double kRunaway = 10;

constexpr double kStableShare = 0.9;  // of a tied cell's own weight

constexpr std::int32_t kFree = -1;
constexpr std::int32_t kHeld = -2;  // not solved: keeps its refined value

// A cell's readings: their mean and the means of their offsets from the
// centre (cell units, east and north) and of the offsets' products.
struct Constraint {
  std::size_t node = 0;
  double mean = 0, dx = 0, dy = 0, dxx = 0, dxy = 0, dyy = 0;
};

struct Level {
  int columns = 0, rows = 0;
  double west = 0, north = 0, cell = 0;
  int stride = 0;
  std::vector<double> z;           // padded by kPad nodes
  std::vector<std::int32_t> role;  // per cell: constraint index, kFree or kHeld
  std::vector<Constraint> constraints;

  std::size_t node(int c, int r) const { return static_cast<std::size_t>(r + kPad) * stride + (c + kPad); }
};

Level make_level(const Grid& g, int factor) {
  Level l;
  l.columns = (g.columns + factor - 1) / factor;
  l.rows = (g.rows + factor - 1) / factor;
  l.west = g.west;
  l.north = g.north;
  l.cell = g.cell * factor;
  l.stride = l.columns + 2 * kPad;
  l.z.assign(static_cast<std::size_t>(l.rows + 2 * kPad) * l.stride, 0.0);
  l.role.assign(static_cast<std::size_t>(l.columns) * l.rows, kFree);
  return l;
}

// The update of a tied cell weighs its neighbours by its moments; where
// their weights add up to more than the cell's own (readings crowded in a
// corner), two such cells side by side can drive each other without end, so
// those keep the first-order terms only (whose weights add up to at most 1).
Constraint stable(Constraint t) {
  const double second = std::fabs(t.dx) + std::fabs(t.dy) + t.dxx + t.dyy + std::fabs(t.dxy);
  if (second < kStableShare * (1 - t.dxx - t.dyy)) return t;
  t.dxx = t.dxy = t.dyy = 0;
  return t;
}

// How a cell is tied to its readings. At an edge the node beyond it
// continues the surface straight through the cell, so a difference across
// the edge ties the cell to its own last value as well as to its inner
// neighbour; with readings near the inner corner of an edge cell, the cell
// and its neighbours can drive each other without end (or nearly so). A
// spacing whose sweeps run away is solved again with the edge cells
// tied `kAlongEdges`: only the first-order offset along their edge counts,
// across it their readings count as lying on the cell's centre line (a
// plane is then no longer exact there). As a last resort (`kMeanOnly`)
// every tied cell takes its readings' mean.
enum class Tie { kMoments, kAlongEdges, kMeanOnly };

Constraint tied(const Constraint& moments, const Level& l, int c, int r, Tie tie) {
  if (tie == Tie::kMeanOnly) return {moments.node, moments.mean};
  Constraint t = stable(moments);
  const bool across = c == 0 || c == l.columns - 1, down = r == 0 || r == l.rows - 1;
  if (tie == Tie::kMoments || (!across && !down)) return t;
  t.dxx = t.dyy = t.dxy = 0;
  if (across) t.dx = 0;
  if (down) t.dy = 0;
  return t;
}

// The finest spacing's cells hold the readings' own sums.
void bind_finest(Level& l, const CurvatureReadings& readings, Tie tie) {
  l.constraints.clear();
  l.constraints.reserve(readings.sums.size());
  for (int r = 0; r < l.rows; ++r)
    for (int c = 0; c < l.columns; ++c) {
      const std::size_t k = static_cast<std::size_t>(r) * l.columns + c;
      const std::int32_t held = readings.cell[k];
      if (held < 0) continue;
      const CellReadingSums& t = readings.sums[static_cast<std::size_t>(held)];
      l.role[k] = static_cast<std::int32_t>(l.constraints.size());
      l.constraints.push_back(
          tied({l.node(c, r), t.v / t.n, t.x / t.n, t.y / t.n, t.xx / t.n, t.xy / t.n, t.yy / t.n}, l, c, r, tie));
    }
}

// A coarser spacing's sums, from the finest cells' within each of its
// cells: the offsets moved to the coarser centre and scaled to its cell.
struct WideSums {
  double n = 0, x = 0, y = 0, xx = 0, xy = 0, yy = 0, v = 0;
};

void bind_coarser(Level& l, const CurvatureReadings& readings, int fine_columns, int factor, Tie tie) {
  constexpr std::int32_t kHolds = -3;
  const auto coarse_cell = [&](std::size_t k) {
    const int c = static_cast<int>(k % static_cast<std::size_t>(fine_columns));
    const int r = static_cast<int>(k / static_cast<std::size_t>(fine_columns));
    return std::pair{c, r};
  };
  for (std::size_t k = 0; k < readings.cell.size(); ++k)
    if (readings.cell[k] >= 0) {
      const auto [c, r] = coarse_cell(k);
      l.role[static_cast<std::size_t>(r / factor) * l.columns + c / factor] = kHolds;
    }
  std::int32_t count = 0;
  for (std::int32_t& role : l.role)
    if (role == kHolds) role = count++;
  std::vector<WideSums> sums(static_cast<std::size_t>(count));
  const double f = factor;
  for (std::size_t k = 0; k < readings.cell.size(); ++k) {
    if (readings.cell[k] < 0) continue;
    const auto [c, r] = coarse_cell(k);
    const CellReadingSums& t = readings.sums[static_cast<std::size_t>(readings.cell[k])];
    const int coarse_c = c / factor, coarse_r = r / factor;
    const double a = (c + 0.5) / f - (coarse_c + 0.5), b = (coarse_r + 0.5) - (r + 0.5) / f;
    const double x = t.x / f, y = t.y / f, n = t.n;
    WideSums& w = sums[static_cast<std::size_t>(l.role[static_cast<std::size_t>(coarse_r) * l.columns + coarse_c])];
    w.n += n;
    w.v += t.v;
    w.x += n * a + x;
    w.y += n * b + y;
    w.xx += n * a * a + 2 * a * x + t.xx / (f * f);
    w.xy += n * a * b + a * y + b * x + t.xy / (f * f);
    w.yy += n * b * b + 2 * b * y + t.yy / (f * f);
  }
  l.constraints.clear();
  l.constraints.reserve(sums.size());
  for (int r = 0; r < l.rows; ++r)
    for (int c = 0; c < l.columns; ++c) {
      const std::int32_t role = l.role[static_cast<std::size_t>(r) * l.columns + c];
      if (role < 0) continue;
      const WideSums& w = sums[static_cast<std::size_t>(role)];
      l.constraints.push_back(
          tied({l.node(c, r), w.v / w.n, w.x / w.n, w.y / w.n, w.xx / w.n, w.xy / w.n, w.yy / w.n}, l, c, r, tie));
    }
}

// Zero curvature across every edge: ghost nodes continue the edge linearly.
void extend_edges(Level& l) {
  const int s = l.stride;
  for (int r = 0; r < l.rows; ++r) {
    double* row = &l.z[l.node(0, r)];
    row[-1] = 2 * row[0] - row[1];
    row[-2] = 2 * row[-1] - row[0];
    const int e = l.columns - 1;
    row[e + 1] = 2 * row[e] - row[e - 1];
    row[e + 2] = 2 * row[e + 1] - row[e];
  }
  double* top = &l.z[static_cast<std::size_t>(kPad) * s];
  double* bottom = &l.z[static_cast<std::size_t>(kPad + l.rows - 1) * s];
  for (int c = 0; c < s; ++c) {
    top[c - s] = 2 * top[c] - top[c + s];
    top[c - 2 * s] = 2 * top[c - s] - top[c];
    bottom[c + s] = 2 * bottom[c] - bottom[c - s];
    bottom[c + 2 * s] = 2 * bottom[c + s] - bottom[c];
  }
}

// The readings' best-fitting plane, as value = a + b (x - x0) + c (y - y0).
struct Plane {
  double x0 = 0, y0 = 0, a = 0, b = 0, c = 0;
  double at(double x, double y) const { return a + b * (x - x0) + c * (y - y0); }
};

// Ridged by a tenth of a cell: readings on one line leave the slope across
// it undetermined (and only their wander would set it), so it stays flat.
Plane fit_plane(const CurvatureReadings& readings, double cell) {
  Plane p;
  const double n = static_cast<double>(readings.count);
  p.x0 = readings.x0 + readings.sx / n;
  p.y0 = readings.y0 + readings.sy / n;
  p.a = readings.sv / n;
  double xx = readings.sxx - readings.sx * readings.sx / n;
  const double xy = readings.sxy - readings.sx * readings.sy / n;
  double yy = readings.syy - readings.sy * readings.sy / n;
  const double xv = readings.sxv - readings.sx * readings.sv / n;
  const double yv = readings.syv - readings.sy * readings.sv / n;
  const double ridge = n * (0.1 * cell) * (0.1 * cell);
  xx += ridge;
  yy += ridge;
  const double det = xx * yy - xy * xy;
  if (std::fabs(det) > 1e-12 * std::max(1.0, xx * yy)) {
    p.b = (xv * yy - yv * xy) / det;
    p.c = (yv * xx - xv * xy) / det;
  }
  return p;
}

struct Stencil {
  double inverse_centre, axial, diagonal, far;  // of (1 - T) del^4 - T del^2
};

Stencil stencil(double tension) {
  const double b = 1 - tension;
  return {1 / (20 * b + 4 * tension), -8 * b - tension, 2 * b, b};
}

// One sweep; returns the largest change.
double sweep(Level& l, const Stencil& k) {
  const int s = l.stride;
  double largest = 0;
  for (int r = 0; r < l.rows; ++r) {
    const std::int32_t* role = &l.role[static_cast<std::size_t>(r) * l.columns];
    double* z = &l.z[l.node(0, r)];
    for (int c = 0; c < l.columns; ++c) {
      double* p = z + c;
      double next;
      if (role[c] >= 0) {
        const Constraint& t = l.constraints[static_cast<std::size_t>(role[c])];
        const double gx = (p[1] - p[-1]) / 2, gy = (p[-s] - p[s]) / 2;
        const double gxy = (p[-s + 1] - p[-s - 1] - p[s + 1] + p[s - 1]) / 4;
        next = (t.mean - t.dx * gx - t.dy * gy - 0.5 * t.dxx * (p[1] + p[-1]) - 0.5 * t.dyy * (p[-s] + p[s]) -
                t.dxy * gxy) /
               (1 - t.dxx - t.dyy);
      } else if (role[c] == kFree) {
        const double axial = p[1] + p[-1] + p[s] + p[-s];
        const double diagonal = p[s + 1] + p[s - 1] + p[-s + 1] + p[-s - 1];
        const double far = p[2] + p[-2] + p[2 * s] + p[-2 * s];
        const double solved = -(k.axial * axial + k.diagonal * diagonal + k.far * far) * k.inverse_centre;
        next = *p + kOverRelaxation * (solved - *p);
      } else {
        continue;
      }
      largest = std::max(largest, std::fabs(next - *p));
      *p = next;
    }
  }
  extend_edges(l);
  return largest;
}

// The finer level's first values: bilinear in the coarser one (ghosts included).
void refine_from(Level& fine, const Level& coarse) {
  for (int r = 0; r < fine.rows; ++r) {
    const double v = ((fine.north - coarse.north) + (r + 0.5) * fine.cell) / coarse.cell - 0.5;
    const int r0 = static_cast<int>(std::floor(v));
    const double fv = v - r0;
    for (int c = 0; c < fine.columns; ++c) {
      const double u = ((fine.west - coarse.west) + (c + 0.5) * fine.cell) / coarse.cell - 0.5;
      const int c0 = static_cast<int>(std::floor(u));
      const double fu = u - c0;
      const double* q = &coarse.z[coarse.node(c0, r0)];
      const double top = q[0] + fu * (q[1] - q[0]);
      const double bottom = q[coarse.stride] + fu * (q[coarse.stride + 1] - q[coarse.stride]);
      fine.z[fine.node(c, r)] = top + fv * (bottom - top);
    }
  }
  extend_edges(fine);
}

// The readings' range and how far a solved surface may stray from it.
struct Bounds {
  double low = 0, high = 0;
  double span = 0;     // high - low, at least a little
  double runaway = 0;  // the largest change a sweep may make
};

bool within(const Level& l, const Bounds& b) {
  for (int r = 0; r < l.rows; ++r)
    for (int c = 0; c < l.columns; ++c) {
      const double z = l.z[l.node(c, r)];
      if (!(z > b.low - b.span && z < b.high + b.span)) return false;
    }
  return true;
}

// True when the spacing is solved: settled, or still moving within bounds
// (readings that disagree where several days cross can keep the sweeps
// moving); false when the sweeps ran away.
bool solve(Level& l, const Stencil& k, int max_sweeps, double tolerance, const Bounds& bounds) {
  for (int i = 0; i < max_sweeps; ++i) {
    const double change = sweep(l, k);
    if (change <= tolerance) return true;
    if (!(change < bounds.runaway)) return false;
  }
  return within(l, bounds);
}

void hold_inactive(Level& l, const std::vector<std::uint8_t>& active) {
  for (std::size_t i = 0; i < l.role.size(); ++i)
    if (!active[i] && l.role[i] == kFree) l.role[i] = kHeld;
}

}  // namespace

void add_plane_readings(CurvatureReadings& r, std::span<const GridSample> samples) {
  if (samples.empty()) return;
  if (r.count == 0) {
    r.x0 = samples[0].x;
    r.y0 = samples[0].y;
    r.low = r.high = samples[0].value;
  }
  for (const GridSample& s : samples) {
    const double x = s.x - r.x0, y = s.y - r.y0, v = s.value;
    r.low = std::min(r.low, v);
    r.high = std::max(r.high, v);
    r.sx += x;
    r.sy += y;
    r.sv += v;
    r.sxx += x * x;
    r.sxy += x * y;
    r.syy += y * y;
    r.sxv += x * v;
    r.syv += y * v;
  }
  r.count += samples.size();
}

void add_cell_readings(CurvatureReadings& r, const Grid& grid, std::span<const GridSample> samples) {
  const std::size_t cells = static_cast<std::size_t>(grid.columns) * grid.rows;
  if (r.cell.size() != cells) r.cell.assign(cells, -1);
  const double inverse = 1.0 / grid.cell;
  for (const GridSample& s : samples) {
    const double u = (s.x - grid.west) * inverse, w = (grid.north - s.y) * inverse;
    const int c = std::clamp(static_cast<int>(u), 0, grid.columns - 1);
    const int row = std::clamp(static_cast<int>(w), 0, grid.rows - 1);
    std::int32_t& held = r.cell[static_cast<std::size_t>(row) * grid.columns + c];
    if (held < 0) {
      held = static_cast<std::int32_t>(r.sums.size());
      r.sums.push_back(CellReadingSums{});
    }
    const float dx = static_cast<float>(u - (c + 0.5)), dy = static_cast<float>((row + 0.5) - w);
    CellReadingSums& t = r.sums[static_cast<std::size_t>(held)];
    t.n += 1;
    t.v += s.value;
    t.x += dx;
    t.y += dy;
    t.xx += dx * dx;
    t.xy += dx * dy;
    t.yy += dy * dy;
  }
}

void minimum_curvature(Grid& grid, const CurvatureReadings& readings, const MinimumCurvatureOptions& options) {
  grid.values.assign(static_cast<std::size_t>(grid.columns) * grid.rows, NAN);
  if (readings.count == 0 || readings.sums.empty() || grid.columns < 2 || grid.rows < 2) return;
  const double low = readings.low, high = readings.high;
  const double tolerance = options.tolerance * std::max(high - low, 1e-12);
  const Stencil k = stencil(std::clamp(options.tension, 0.0, 1.0));

  int levels = 1;
  while (levels < kMaxLevels && (grid.columns + (1 << levels) - 1) >> levels >= kCoarsestNodes &&
         (grid.rows + (1 << levels) - 1) >> levels >= kCoarsestNodes)
    ++levels;

  const Plane plane = fit_plane(readings, grid.cell);
  const double span = std::max(high - low, 1e-9 * (std::fabs(high) + std::fabs(low)) + 1e-12);
  const Bounds bounds{low, high, span, kRunaway * span};
  Level coarse;
  for (int level = levels - 1; level >= 0; --level) {
    Level l = make_level(grid, 1 << level);
    if (options.on_spacing) options.on_spacing(l.cell);
    for (Tie tie : {Tie::kMoments, Tie::kAlongEdges, Tie::kMeanOnly}) {
      if (level == levels - 1) {
        for (int r = 0; r < l.rows; ++r)
          for (int c = 0; c < l.columns; ++c)
            l.z[l.node(c, r)] = plane.at(l.west + (c + 0.5) * l.cell, l.north - (r + 0.5) * l.cell);
        extend_edges(l);
      } else {
        refine_from(l, coarse);
      }
      if (level == 0)
        bind_finest(l, readings, tie);
      else
        bind_coarser(l, readings, grid.columns, 1 << level, tie);
      if (level == 0 && !options.active.empty()) hold_inactive(l, options.active);
      if (solve(l, k, options.max_sweeps, tolerance, bounds) || tie == Tie::kMeanOnly) break;
    }
    coarse = std::move(l);
  }
  for (int r = 0; r < grid.rows; ++r)
    for (int c = 0; c < grid.columns; ++c)
      grid.values[static_cast<std::size_t>(r) * grid.columns + c] = static_cast<float>(coarse.z[coarse.node(c, r)]);
}

}  // namespace quelor
