#include "grid/line_spacing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace quelor {

namespace {

constexpr std::size_t kQueries = 4000;
constexpr double kOtherPass = 3.0;  // path distance over straight distance

// Readings bucketed on a square lattice, as a sorted list of (bucket, index).
struct Buckets {
  double x0 = 0, y0 = 0, size = 1;
  int columns = 1, rows = 1;
  std::vector<std::uint32_t> start;  // per bucket, into `order`
  std::vector<std::uint32_t> order;  // reading indices by bucket
};

Buckets make_buckets(std::span<const GridSample> s, double size) {
  Buckets b;
  double x1 = s[0].x, y1 = s[0].y;
  b.x0 = s[0].x;
  b.y0 = s[0].y;
  for (const GridSample& p : s) {
    b.x0 = std::min(b.x0, p.x);
    b.y0 = std::min(b.y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
  }
  // At most about four buckets per reading.
  const double area = std::max((x1 - b.x0) * (y1 - b.y0), 1e-12);
  b.size = std::max(size, std::sqrt(area / (4.0 * static_cast<double>(s.size()))));
  b.columns = static_cast<int>((x1 - b.x0) / b.size) + 1;
  b.rows = static_cast<int>((y1 - b.y0) / b.size) + 1;
  std::vector<std::uint32_t> bucket_of(s.size());
  b.start.assign(static_cast<std::size_t>(b.columns) * b.rows + 1, 0);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const int c = static_cast<int>((s[i].x - b.x0) / b.size), r = static_cast<int>((s[i].y - b.y0) / b.size);
    bucket_of[i] = static_cast<std::uint32_t>(r * b.columns + c);
    ++b.start[bucket_of[i] + 1];
  }
  for (std::size_t k = 1; k < b.start.size(); ++k) b.start[k] += b.start[k - 1];
  b.order.resize(s.size());
  std::vector<std::uint32_t> next(b.start.begin(), b.start.end() - 1);
  for (std::size_t i = 0; i < s.size(); ++i) b.order[next[bucket_of[i]]++] = static_cast<std::uint32_t>(i);
  return b;
}

// Nearest reading of another pass within `limit`, or infinity.
double other_pass_distance(std::span<const GridSample> s, const std::vector<double>& path, const Buckets& b,
                           std::size_t i, double limit) {
  const int c0 = static_cast<int>((s[i].x - b.x0) / b.size), r0 = static_cast<int>((s[i].y - b.y0) / b.size);
  const int max_ring = static_cast<int>(limit / b.size) + 1;
  double best = std::numeric_limits<double>::infinity();
  for (int ring = 0; ring <= max_ring; ++ring) {
    if ((ring - 1) * b.size > best) break;
    for (int r = r0 - ring; r <= r0 + ring; ++r) {
      if (r < 0 || r >= b.rows) continue;
      const bool edge_row = r == r0 - ring || r == r0 + ring;
      for (int c = c0 - ring; c <= c0 + ring; c += edge_row ? 1 : 2 * ring) {
        if (c >= 0 && c < b.columns) {
          const std::size_t k = static_cast<std::size_t>(r) * b.columns + c;
          for (std::uint32_t n = b.start[k]; n < b.start[k + 1]; ++n) {
            const std::uint32_t j = b.order[n];
            const double d = std::hypot(s[j].x - s[i].x, s[j].y - s[i].y);
            if (d > 0 && d < best && std::fabs(path[j] - path[i]) > kOtherPass * d) best = d;
          }
        }
        if (ring == 0) break;
      }
    }
  }
  return best <= limit ? best : std::numeric_limits<double>::infinity();
}

// The other-pass distances of every `stride`th reading of one file.
void other_pass_distances(std::span<const GridSample> s, std::size_t stride, std::vector<double>& found) {
  if (s.size() < 3) return;
  std::vector<double> path(s.size(), 0.0);
  std::vector<double> steps;
  steps.reserve(s.size());
  for (std::size_t i = 1; i < s.size(); ++i) {
    const double step = std::hypot(s[i].x - s[i - 1].x, s[i].y - s[i - 1].y);
    path[i] = path[i - 1] + step;
    if (step > 0) steps.push_back(step);
  }
  if (steps.empty()) return;
  std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2), steps.end());
  const double step = steps[steps.size() / 2];
  const Buckets b = make_buckets(s, 4 * step);
  const double limit = std::max(b.columns, b.rows) * b.size / 2;
  for (std::size_t i = 0; i < s.size(); i += stride) {
    const double d = other_pass_distance(s, path, b, i, limit);
    if (std::isfinite(d)) found.push_back(d);
  }
}

}  // namespace

double median_line_spacing(std::span<const GridSample> s, std::span<const std::size_t> part_ends) {
  if (s.size() < 3) return 0.0;
  const std::size_t stride = std::max<std::size_t>(1, s.size() / kQueries);
  std::vector<double> found;
  std::size_t begin = 0;
  for (std::size_t end : part_ends) {
    end = std::clamp(end, begin, s.size());
    other_pass_distances(s.subspan(begin, end - begin), stride, found);
    begin = end;
  }
  other_pass_distances(s.subspan(begin), stride, found);
  // A single line: a few readings near its ends may find the line itself.
  if (found.size() < (s.size() / stride) / 4) return 0.0;
  std::nth_element(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(found.size() / 2), found.end());
  return found[found.size() / 2];
}

double automatic_cell(double line_spacing) {
  // In twentieths, so that the cell is an exact multiple of 0.05 (a quarter
  // of 0.7 rounds up to 0.2, not down through 0.17499...).
  const double twentieths = std::round(line_spacing / 4 * 20 + 1e-9);
  return std::max(0.1, twentieths / 20);
}

}  // namespace quelor
