#include "grid/cell_kinds.h"

#include <algorithm>
#include <cmath>

namespace quelor {

namespace {

void bin_asking_cells(CellKinds& k, const Grid& g) {
  const double widest = k.radius.empty() ? 0.0 : *std::max_element(k.radius.begin(), k.radius.end());
  k.west = g.west;
  k.north = g.north;
  k.bin = std::max(widest, g.cell);
  k.columns = std::max(1, static_cast<int>(std::ceil(g.columns * g.cell / k.bin)));
  k.rows = std::max(1, static_cast<int>(std::ceil(g.rows * g.cell / k.bin)));
  const std::size_t count = static_cast<std::size_t>(k.columns) * k.rows;
  k.first.assign(count + 1, 0);
  std::vector<std::uint32_t> bin(k.asking.size());
  for (std::size_t i = 0; i < k.asking.size(); ++i) {
    const int c = static_cast<int>(k.asking[i] % static_cast<std::uint32_t>(g.columns));
    const int r = static_cast<int>(k.asking[i] / static_cast<std::uint32_t>(g.columns));
    bin[i] = static_cast<std::uint32_t>(k.row_of(g.centre_y(r)) * k.columns + k.column_of(g.centre_x(c)));
    ++k.first[bin[i] + 1];
  }
  for (std::size_t b = 0; b < count; ++b) k.first[b + 1] += k.first[b];
  std::vector<std::uint32_t> next(k.first.begin(), k.first.end() - 1);
  k.order.resize(k.asking.size());
  for (std::size_t i = 0; i < k.asking.size(); ++i) k.order[next[bin[i]]++] = static_cast<std::uint32_t>(i);
}

}  // namespace

CellKinds start_cell_kinds(const Grid& g, const NearestReadings& nearest, const CellRule& rule) {
  const std::size_t cells = nearest.distance.size();
  CellKinds out;
  out.kinds.assign(cells, kCellBlank);
  for (std::size_t k = 0; k < cells; ++k)
    if (nearest.holds[k] && nearest.distance[k] <= rule.blank)
      out.kinds[k] = kCellMeasured;  // a blanking distance shorter than the cell blanks it
  for (std::size_t k = 0; k < cells; ++k) {
    const double d = nearest.distance[k];
    if (out.kinds[k] != kCellBlank || !nearest.has(k) || !(d <= rule.blank)) continue;
    if (rule.fill || d <= rule.reach) {
      out.kinds[k] = kCellInterpolated;
      continue;
    }
    if (2 * d > rule.blank) continue;  // the far side is at least as far
    out.asking.push_back(static_cast<std::uint32_t>(k));
    out.radius.push_back(rule.blank - d);
  }
  bin_asking_cells(out, g);
  return out;
}

// An asking cell becomes interpolated when a reading lies within its radius
// on the side away from its nearest reading.
void find_readings_beyond(CellKinds& k, const Grid& g, const NearestReadings& nearest,
                          std::span<const GridSample> samples) {
  if (k.asking.empty()) return;
  for (const GridSample& s : samples) {
    const int bc = k.column_of(s.x), br = k.row_of(s.y);
    for (int r = std::max(0, br - 1); r <= std::min(k.rows - 1, br + 1); ++r)
      for (int c = std::max(0, bc - 1); c <= std::min(k.columns - 1, bc + 1); ++c) {
        const std::size_t b = static_cast<std::size_t>(r) * k.columns + c;
        for (std::uint32_t n = k.first[b]; n < k.first[b + 1]; ++n) {
          const std::uint32_t i = k.order[n];
          const std::size_t cell = k.asking[i];
          if (k.kinds[cell] != kCellBlank) continue;
          const int cc = static_cast<int>(cell % static_cast<std::size_t>(g.columns));
          const int cr = static_cast<int>(cell / static_cast<std::size_t>(g.columns));
          const double x = g.centre_x(cc), y = g.centre_y(cr);
          const double radius = k.radius[i];
          const double dx = s.x - x, dy = s.y - y;
          const double ux = nearest.x[cell] - x, uy = nearest.y[cell] - y;
          if (dx * ux + dy * uy < 0 && dx * dx + dy * dy <= radius * radius) k.kinds[cell] = kCellInterpolated;
        }
      }
  }
}

}  // namespace quelor
