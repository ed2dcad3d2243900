#include "grid/reading_distance.h"

#include <cmath>
#include <limits>

namespace quelor {

namespace {

constexpr double kFar = 1e30;

// One dimension of the transform: for the squared distances f over n
// places, d[q] = min_p (q - p)^2 + f[p] with its argmin in `from`.
void lower_envelope(const double* f, int n, double* d, int* from, std::vector<int>& v, std::vector<double>& z) {
  v.assign(static_cast<std::size_t>(n), 0);
  z.assign(static_cast<std::size_t>(n) + 1, 0.0);
  int k = -1;
  for (int q = 0; q < n; ++q) {
    if (f[q] >= kFar) continue;
    double s = 0;
    while (k >= 0) {
      const int p = v[k];
      s = ((f[q] + double(q) * q) - (f[p] + double(p) * p)) / (2.0 * (q - p));
      if (s > z[k]) break;
      --k;
    }
    ++k;
    v[k] = q;
    z[k] = k == 0 ? -std::numeric_limits<double>::infinity() : s;
    z[k + 1] = std::numeric_limits<double>::infinity();
  }
  if (k < 0) {
    for (int q = 0; q < n; ++q) {
      d[q] = kFar;
      from[q] = -1;
    }
    return;
  }
  int j = 0;
  for (int q = 0; q < n; ++q) {
    while (z[j + 1] < q) ++j;
    d[q] = double(q - v[j]) * (q - v[j]) + f[v[j]];
    from[q] = v[j];
  }
}

}  // namespace

NearestReadings nearest_readings(const Grid& g, std::span<const GridSample> samples) {
  const std::size_t cells = static_cast<std::size_t>(g.columns) * g.rows;
  NearestReadings out;
  out.reading.assign(cells, -1);
  out.distance.assign(cells, std::numeric_limits<float>::infinity());
  // The reading nearest each cell's centre among those it holds.
  std::vector<float> own(cells, std::numeric_limits<float>::infinity());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const int c = static_cast<int>(std::floor((samples[i].x - g.west) / g.cell));
    const int r = static_cast<int>(std::floor((g.north - samples[i].y) / g.cell));
    if (c < 0 || c >= g.columns || r < 0 || r >= g.rows) continue;
    const std::size_t k = static_cast<std::size_t>(r) * g.columns + c;
    const float d = static_cast<float>(std::hypot(samples[i].x - g.centre_x(c), samples[i].y - g.centre_y(r)));
    if (d < own[k]) {
      own[k] = d;
      out.reading[k] = static_cast<std::int32_t>(i);
    }
  }
  // Columns, then rows; `row_from` keeps the seed row of each column pass.
  std::vector<double> column_d(cells);
  std::vector<int> row_from(cells);
  std::vector<int> v;
  std::vector<double> z;
  {
    std::vector<double> f(static_cast<std::size_t>(g.rows)), d(static_cast<std::size_t>(g.rows));
    std::vector<int> from(static_cast<std::size_t>(g.rows));
    for (int c = 0; c < g.columns; ++c) {
      for (int r = 0; r < g.rows; ++r) f[r] = out.reading[static_cast<std::size_t>(r) * g.columns + c] >= 0 ? 0.0 : kFar;
      lower_envelope(f.data(), g.rows, d.data(), from.data(), v, z);
      for (int r = 0; r < g.rows; ++r) {
        column_d[static_cast<std::size_t>(r) * g.columns + c] = d[r];
        row_from[static_cast<std::size_t>(r) * g.columns + c] = from[r];
      }
    }
  }
  std::vector<double> d(static_cast<std::size_t>(g.columns));
  std::vector<int> from(static_cast<std::size_t>(g.columns));
  std::vector<std::int32_t> nearest(cells, -1);
  for (int r = 0; r < g.rows; ++r) {
    const std::size_t row = static_cast<std::size_t>(r) * g.columns;
    lower_envelope(&column_d[row], g.columns, d.data(), from.data(), v, z);
    for (int c = 0; c < g.columns; ++c) {
      if (from[c] < 0) continue;
      const int seed_row = row_from[row + static_cast<std::size_t>(from[c])];
      if (seed_row < 0) continue;
      nearest[row + c] = out.reading[static_cast<std::size_t>(seed_row) * g.columns + from[c]];
    }
  }
  for (int r = 0; r < g.rows; ++r)
    for (int c = 0; c < g.columns; ++c) {
      const std::size_t k = static_cast<std::size_t>(r) * g.columns + c;
      out.reading[k] = nearest[k];
      if (nearest[k] >= 0) {
        const GridSample& s = samples[static_cast<std::size_t>(nearest[k])];
        out.distance[k] = static_cast<float>(std::hypot(s.x - g.centre_x(c), s.y - g.centre_y(r)));
      }
    }
  return out;
}

}  // namespace quelor
