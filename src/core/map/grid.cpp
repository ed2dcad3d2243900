#include "map/grid.h"

#include <algorithm>
#include <cmath>

namespace quelor {

namespace {

constexpr double kPi = 3.14159265359;
constexpr int kOverhang = 5;  // lines start and end 5 pixels outside the tile

int to_int(double v) { return static_cast<int>(std::clamp(std::floor(v + 0.5), -1e9, 1e9)); }

int vertical_lines(Canvas& c, double g, WorldCoordinate a, int w, int h) {
  int drawn = 0;
  for (double i = std::ceil(static_cast<double>(a) / g); drawn < kMaximumGridLines; ++i) {
    const double x = i * g - static_cast<double>(a);
    if (x > w - 1 + 0.5) break;
    c.line(to_int(x), -kOverhang, to_int(x), h + kOverhang, kGridGrey, 1);
    ++drawn;
  }
  return drawn;
}

int horizontal_lines(Canvas& c, double g, WorldCoordinate top, int w, int h) {
  // World rows top-h+1 .. top; in-tile y = top - py.
  int drawn = 0;
  for (double i = std::ceil(static_cast<double>(top - h + 1) / g); drawn < kMaximumGridLines; ++i) {
    const double py = i * g;
    if (py > static_cast<double>(top) + 0.5) break;
    const int y = to_int(static_cast<double>(top) - py);
    c.line(-kOverhang, y, w + kOverhang, y, kGridGrey, 1);
    ++drawn;
  }
  return drawn;
}

// Lines py = slope * px + i * g crossing the tile, each clipped to the tile
// grown by the overhang before it is drawn.
int angled_lines(Canvas& c, const GridSpec& s, WorldPixel o, int w, int h) {
  const double x0 = static_cast<double>(o.x) - kOverhang, x1 = static_cast<double>(o.x) + w + kOverhang;
  const double y0 = static_cast<double>(o.y) - h - kOverhang, y1 = static_cast<double>(o.y) + kOverhang;
  const double a = s.slope * x0, b = s.slope * x1;
  const double c_low = y0 - std::max(a, b), c_high = y1 - std::min(a, b);
  int drawn = 0;
  for (double i = std::floor(c_low / s.spacing); i * s.spacing <= c_high && drawn < kMaximumGridLines; ++i) {
    const double intercept = i * s.spacing;
    double from = x0, to = x1;
    if (s.slope != 0.0) {  // keep the part with y0 <= py <= y1
      double u = (y0 - intercept) / s.slope, v = (y1 - intercept) / s.slope;
      if (u > v) std::swap(u, v);
      from = std::max(from, u);
      to = std::min(to, v);
      if (from > to) continue;
    }
    const auto local_x = [&](double px) { return to_int(px - static_cast<double>(o.x)); };
    const auto local_y = [&](double px) { return to_int(static_cast<double>(o.y) - (s.slope * px + intercept)); };
    c.line(local_x(from), local_y(from), local_x(to), local_y(to), kGridGrey, 1);
    ++drawn;
  }
  return drawn;
}

}  // namespace

GridSpec grid_spec(double lines_interval, bool parallel_lines, double lines_angle, double k) {
  GridSpec g;
  const double interval = std::max(kMinimumLinesInterval, std::isfinite(lines_interval) ? lines_interval : 0.0);
  const double angle = std::isfinite(lines_angle) ? lines_angle : 0.0;
  if (!parallel_lines) {
    g.mode = kGridSquare;
    g.spacing = interval * k;
    return g;
  }
  if (std::fmod(angle, 180.0) == 0.0) {
    g.mode = kGridVertical;
    g.spacing = interval * k;
    return g;
  }
  const double theta = angle * kPi / 180.0;
  g.mode = angle > 0 ? kGridAngled : kGridAngledNegative;
  g.spacing = std::fabs(interval / std::sin(theta)) * k;
  g.slope = std::tan(kPi / 2 - theta);
  return g;
}

int draw_grid_tile(Canvas& tile, const GridSpec& grid, int tx, int ty, int w, int h) {
  tile.fill(kWhite);
  if (!(grid.spacing > 0.0) || !std::isfinite(grid.spacing)) return 0;
  const WorldPixel o = tile_origin(tx, ty, w, h);
  switch (grid.mode) {
    case kGridSquare:
      return vertical_lines(tile, grid.spacing, o.x, w, h) + horizontal_lines(tile, grid.spacing, o.y, w, h);
    case kGridVertical: return vertical_lines(tile, grid.spacing, o.x, w, h);
    default: return angled_lines(tile, grid, o, w, h);
  }
}

Canvas* make_tile_pair(TileSurface& tiles, const GridSpec& grid, int tx, int ty) {
  bool made = false;
  if (Canvas* g = tiles.make(kGridLayer, tx, ty, &made); g && made) {
    draw_grid_tile(*g, grid, tx, ty, tiles.tile_width(), tiles.tile_height());
    if (tiles.grid_decoration) tiles.grid_decoration(*g, tx, ty);
  }
  return tiles.make(kDataLayer, tx, ty);
}

}  // namespace quelor
