#include "report/survey_blocks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quelor {

SurveyBlocks survey_blocks(std::span<const PlanePoint> points, double link, long max_cells) {
  SurveyBlocks out;
  out.block.assign(points.size(), 0);
  if (points.empty()) return out;
  PlanePoint low = points[0], high = points[0];
  for (const PlanePoint& p : points) {
    low = {std::min(low.easting, p.easting), std::min(low.northing, p.northing)};
    high = {std::max(high.easting, p.easting), std::max(high.northing, p.northing)};
  }
  const double w = high.easting - low.easting, h = high.northing - low.northing;
  const double cell = std::max({link, std::sqrt(w * h / static_cast<double>(std::max(1L, max_cells))), 1e-6});
  const long columns = static_cast<long>(w / cell) + 1, rows = static_cast<long>(h / cell) + 1;
  const auto cell_of = [&](const PlanePoint& p) {
    return static_cast<std::size_t>(static_cast<long>((p.northing - low.northing) / cell) * columns +
                                    static_cast<long>((p.easting - low.easting) / cell));
  };
  constexpr std::int32_t kEmpty = -1, kOccupied = -2;
  std::vector<std::int32_t> label(static_cast<std::size_t>(columns * rows), kEmpty);
  for (const PlanePoint& p : points) label[cell_of(p)] = kOccupied;
  std::vector<std::size_t> stack;
  for (const PlanePoint& p : points) {
    const std::size_t start = cell_of(p);
    if (label[start] != kOccupied) continue;
    label[start] = out.count;
    stack.assign(1, start);
    while (!stack.empty()) {
      const long k = static_cast<long>(stack.back());
      stack.pop_back();
      const long c = k % columns, r = k / columns;
      for (long nr = std::max(0L, r - 1); nr <= std::min(rows - 1, r + 1); ++nr)
        for (long nc = std::max(0L, c - 1); nc <= std::min(columns - 1, c + 1); ++nc) {
          const std::size_t n = static_cast<std::size_t>(nr * columns + nc);
          if (label[n] != kOccupied) continue;
          label[n] = out.count;
          stack.push_back(n);
        }
    }
    ++out.count;
  }
  for (std::size_t i = 0; i < points.size(); ++i) out.block[i] = label[cell_of(points[i])];
  return out;
}

}  // namespace quelor
