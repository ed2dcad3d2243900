#include "grid/reading_distance.h"

#include <cmath>
#include <limits>

namespace quelor {

namespace {

constexpr int kSeedReach = 2;  // cells each way

struct Propagation {
  const Grid& g;
  std::span<const GridSample> samples;
  std::vector<std::int32_t>& reading;
  std::vector<double> squared;  // per cell, to its candidate

  double distance_to(std::int32_t i, int c, int r) const {
    const GridSample& s = samples[static_cast<std::size_t>(i)];
    const double dx = s.x - g.centre_x(c), dy = s.y - g.centre_y(r);
    return dx * dx + dy * dy;
  }

  void try_from(int c, int r, int nc, int nr) {
    if (nc < 0 || nc >= g.columns || nr < 0 || nr >= g.rows) return;
    const std::int32_t candidate = reading[static_cast<std::size_t>(nr) * g.columns + nc];
    if (candidate < 0) return;
    const std::size_t k = static_cast<std::size_t>(r) * g.columns + c;
    if (reading[k] == candidate) return;
    const double d = distance_to(candidate, c, r);
    if (d < squared[k]) {
      squared[k] = d;
      reading[k] = candidate;
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

NearestReadings nearest_readings(const Grid& g, std::span<const GridSample> samples) {
  const std::size_t cells = static_cast<std::size_t>(g.columns) * g.rows;
  NearestReadings out;
  out.reading.assign(cells, -1);
  Propagation p{g, samples, out.reading, std::vector<double>(cells, std::numeric_limits<double>::infinity())};
  // Every reading is tried on the cells around its own, so that a reading
  // is not lost behind another in the same cell.
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const int c = static_cast<int>(std::floor((samples[i].x - g.west) / g.cell));
    const int r = static_cast<int>(std::floor((g.north - samples[i].y) / g.cell));
    for (int nr = std::max(0, r - kSeedReach); nr <= std::min(g.rows - 1, r + kSeedReach); ++nr)
      for (int nc = std::max(0, c - kSeedReach); nc <= std::min(g.columns - 1, c + kSeedReach); ++nc) {
        const std::size_t k = static_cast<std::size_t>(nr) * g.columns + nc;
        const double d = p.distance_to(static_cast<std::int32_t>(i), nc, nr);
        if (d < p.squared[k]) {
          p.squared[k] = d;
          out.reading[k] = static_cast<std::int32_t>(i);
        }
      }
  }
  for (int pass = 0; pass < 2; ++pass) {
    p.forward();
    p.backward();
  }
  out.distance.resize(cells);
  for (std::size_t k = 0; k < cells; ++k) out.distance[k] = static_cast<float>(std::sqrt(p.squared[k]));
  return out;
}

}  // namespace quelor
