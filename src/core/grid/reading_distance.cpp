#include "grid/reading_distance.h"

#include <cmath>
#include <limits>

namespace quelor {

namespace {

constexpr int kSeedReach = 2;  // cells each way

struct Propagation {
  const Grid& g;
  NearestReadings& n;

  void try_from(int c, int r, int nc, int nr) {
    if (nc < 0 || nc >= g.columns || nr < 0 || nr >= g.rows) return;
    const std::size_t from = static_cast<std::size_t>(nr) * g.columns + nc;
    if (!n.has(from)) return;
    const std::size_t k = static_cast<std::size_t>(r) * g.columns + c;
    if (n.x[k] == n.x[from] && n.y[k] == n.y[from]) return;
    const double dx = n.x[from] - g.centre_x(c), dy = n.y[from] - g.centre_y(r);
    const double d = dx * dx + dy * dy;
    if (d < n.squared[k]) {
      n.squared[k] = d;
      n.x[k] = n.x[from];
      n.y[k] = n.y[from];
      n.value[k] = n.value[from];
    }
  }

  void forward() {
    for (int r = 0; r < g.rows; ++r) {
      for (int c = 0; c < g.columns; ++c) {
        try_from(c, r, c - 1, r);
        try_from(c, r, c - 1, r - 1);
        try_from(c, r, c, r - 1);
        try_from(c, r, c + 1, r - 1);
      }
      for (int c = g.columns - 1; c >= 0; --c) try_from(c, r, c + 1, r);
    }
  }

  void backward() {
    for (int r = g.rows - 1; r >= 0; --r) {
      for (int c = g.columns - 1; c >= 0; --c) {
        try_from(c, r, c + 1, r);
        try_from(c, r, c + 1, r + 1);
        try_from(c, r, c, r + 1);
        try_from(c, r, c - 1, r + 1);
      }
      for (int c = 0; c < g.columns; ++c) try_from(c, r, c - 1, r);
    }
  }
};

}  // namespace

NearestReadings start_nearest(const Grid& g) {
  const std::size_t cells = static_cast<std::size_t>(g.columns) * g.rows;
  NearestReadings n;
  n.x.assign(cells, NAN);
  n.y.assign(cells, NAN);
  n.value.assign(cells, NAN);
  n.squared.assign(cells, std::numeric_limits<double>::infinity());
  n.holds.assign(cells, 0);
  return n;
}

// Every reading is tried on the cells around its own, so that a reading is
// not lost behind another in the same cell.
void seed_nearest(NearestReadings& n, const Grid& g, std::span<const GridSample> samples) {
  for (const GridSample& s : samples) {
    const int c = static_cast<int>(std::floor((s.x - g.west) / g.cell));
    const int r = static_cast<int>(std::floor((g.north - s.y) / g.cell));
    if (c >= 0 && c < g.columns && r >= 0 && r < g.rows) n.holds[static_cast<std::size_t>(r) * g.columns + c] = 1;
    for (int nr = std::max(0, r - kSeedReach); nr <= std::min(g.rows - 1, r + kSeedReach); ++nr)
      for (int nc = std::max(0, c - kSeedReach); nc <= std::min(g.columns - 1, c + kSeedReach); ++nc) {
        const std::size_t k = static_cast<std::size_t>(nr) * g.columns + nc;
        const double dx = s.x - g.centre_x(nc), dy = s.y - g.centre_y(nr);
        const double d = dx * dx + dy * dy;
        if (d < n.squared[k]) {
          n.squared[k] = d;
          n.x[k] = s.x;
          n.y[k] = s.y;
          n.value[k] = static_cast<float>(s.value);
        }
      }
  }
}

void propagate_nearest(NearestReadings& n, const Grid& g) {
  Propagation p{g, n};
  for (int pass = 0; pass < 2; ++pass) {
    p.forward();
    p.backward();
  }
  n.distance.resize(n.squared.size());
  for (std::size_t k = 0; k < n.squared.size(); ++k) n.distance[k] = static_cast<float>(std::sqrt(n.squared[k]));
  std::vector<double>().swap(n.squared);
}

NearestReadings nearest_readings(const Grid& g, std::span<const GridSample> samples) {
  NearestReadings n = start_nearest(g);
  seed_nearest(n, g, samples);
  propagate_nearest(n, g);
  return n;
}

}  // namespace quelor
