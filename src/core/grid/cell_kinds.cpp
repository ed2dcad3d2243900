#include "grid/cell_kinds.h"

#include <algorithm>
#include <cmath>

namespace quelor {

namespace {

// The readings sorted into square bins of a coarse frame, for the search of
// a reading on the far side of a cell.
struct Bins {
  double west = 0, north = 0, size = 1;
  int columns = 0, rows = 0;
  std::vector<std::uint32_t> first;  // per bin, into `order`; one more at the end
  std::vector<std::int32_t> order;   // reading indices, bin by bin

  int column_of(double x) const { return std::clamp(static_cast<int>(std::floor((x - west) / size)), 0, columns - 1); }
  int row_of(double y) const { return std::clamp(static_cast<int>(std::floor((north - y) / size)), 0, rows - 1); }
};

Bins bins_of(const Grid& g, std::span<const GridSample> samples, double size) {
  Bins b;
  b.west = g.west;
  b.north = g.north;
  b.size = std::max(size, g.cell);
  b.columns = std::max(1, static_cast<int>(std::ceil(g.columns * g.cell / b.size)));
  b.rows = std::max(1, static_cast<int>(std::ceil(g.rows * g.cell / b.size)));
  const std::size_t count = static_cast<std::size_t>(b.columns) * b.rows;
  b.first.assign(count + 1, 0);
  std::vector<std::uint32_t> bin(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    bin[i] = static_cast<std::uint32_t>(b.row_of(samples[i].y) * b.columns + b.column_of(samples[i].x));
    ++b.first[bin[i] + 1];
  }
  for (std::size_t k = 0; k < count; ++k) b.first[k + 1] += b.first[k];
  std::vector<std::uint32_t> next(b.first.begin(), b.first.end() - 1);
  b.order.resize(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) b.order[next[bin[i]]++] = static_cast<std::int32_t>(i);
  return b;
}

// Whether a reading other than on the side of (ux, uy) lies within `radius`
// of (x, y).
bool reading_beyond(const Bins& b, std::span<const GridSample> samples, double x, double y, double ux, double uy,
                    double radius) {
  const int c0 = b.column_of(x - radius), c1 = b.column_of(x + radius);
  const int r0 = b.row_of(y + radius), r1 = b.row_of(y - radius);
  const double limit = radius * radius;
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) {
      const std::size_t k = static_cast<std::size_t>(r) * b.columns + c;
      for (std::uint32_t i = b.first[k]; i < b.first[k + 1]; ++i) {
        const GridSample& s = samples[static_cast<std::size_t>(b.order[i])];
        const double dx = s.x - x, dy = s.y - y;
        if (dx * ux + dy * uy < 0 && dx * dx + dy * dy <= limit) return true;
      }
    }
  return false;
}

}  // namespace

std::vector<std::uint8_t> cell_kinds(const Grid& g, std::span<const GridSample> samples, const NearestReadings& nearest,
                                     const CellRule& rule) {
  const std::size_t cells = nearest.distance.size();
  std::vector<std::uint8_t> kinds(cells, kCellBlank);
  const Bins bins = rule.fill ? Bins{} : bins_of(g, samples, rule.blank / 2);
  for (const GridSample& s : samples) {
    const int c = static_cast<int>(std::floor((s.x - g.west) / g.cell));
    const int r = static_cast<int>(std::floor((g.north - s.y) / g.cell));
    if (c < 0 || c >= g.columns || r < 0 || r >= g.rows) continue;
    const std::size_t k = static_cast<std::size_t>(r) * g.columns + c;
    if (nearest.distance[k] <= rule.blank)
      kinds[k] = kCellMeasured;  // a blanking distance shorter than the cell blanks it
  }
  for (std::size_t k = 0; k < cells; ++k) {
    const double d = nearest.distance[k];
    if (kinds[k] != kCellBlank || nearest.reading[k] < 0 || !(d <= rule.blank)) continue;
    if (rule.fill || d <= rule.reach) {
      kinds[k] = kCellInterpolated;
      continue;
    }
    if (2 * d > rule.blank) continue;  // the far side is at least as far
    const int c = static_cast<int>(k % static_cast<std::size_t>(g.columns));
    const int r = static_cast<int>(k / static_cast<std::size_t>(g.columns));
    const double x = g.centre_x(c), y = g.centre_y(r);
    const GridSample& a = samples[static_cast<std::size_t>(nearest.reading[k])];
    if (reading_beyond(bins, samples, x, y, a.x - x, a.y - y, rule.blank - d)) kinds[k] = kCellInterpolated;
  }
  return kinds;
}

}  // namespace quelor
