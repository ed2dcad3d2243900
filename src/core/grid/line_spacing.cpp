#include "grid/line_spacing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "grid/pass_spacing.h"

namespace quelor {

namespace {

constexpr std::size_t kQueries = 4000;
constexpr double kOtherPass = 3.0;  // path distance over straight distance
constexpr double kOtherSide = 3.0;  // the farther side counts within this many times the nearer
// Distances found whose middle half spans more than this share of their
// median: the lines wander across each other.
constexpr double kWanderingSides = 0.5;
constexpr std::size_t kFewestPassSteps = 20;
// The passes' spacing is taken only where the nearest distances fall this
// far short of it; closer, both tell the lines alike.
constexpr double kPassesOverNearest = 1.2;

// The value `quarters` quarters up `v` (reordered): the element at
// size x quarters / 4, the median at half the size.
double quartile(std::vector<double>& v, std::size_t quarters) {
  const auto at = v.begin() + static_cast<std::ptrdiff_t>(std::min(v.size() * quarters / 4, v.size() - 1));
  std::nth_element(v.begin(), at, v.end());
  return *at;
}

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
// The nearest readings of other passes on either side of the walk at
// reading i (infinity where none lies within `limit`, or within three times
// the nearer side's distance).
struct SideDistances {
  double left = std::numeric_limits<double>::infinity(), right = std::numeric_limits<double>::infinity();
  double nearer() const { return std::min(left, right); }
};

SideDistances other_pass_distances_at(std::span<const GridSample> s, const std::vector<double>& path, const Buckets& b,
                                      std::size_t i, double limit) {
  const int c0 = static_cast<int>((s[i].x - b.x0) / b.size), r0 = static_cast<int>((s[i].y - b.y0) / b.size);
  const int max_ring = static_cast<int>(limit / b.size) + 1;
  const GridSample& before = s[i > 0 ? i - 1 : i];
  const GridSample& after = s[i + 1 < s.size() ? i + 1 : i];
  const double ux = after.x - before.x, uy = after.y - before.y;
  SideDistances best;
  for (int ring = 0; ring <= max_ring; ++ring) {
    const double reached = (ring - 1) * b.size;
    if (reached > std::max(best.left, best.right) || reached > kOtherSide * best.nearer()) break;
    for (int r = r0 - ring; r <= r0 + ring; ++r) {
      if (r < 0 || r >= b.rows) continue;
      const bool edge_row = r == r0 - ring || r == r0 + ring;
      for (int c = c0 - ring; c <= c0 + ring; c += edge_row ? 1 : 2 * ring) {
        if (c >= 0 && c < b.columns) {
          const std::size_t k = static_cast<std::size_t>(r) * b.columns + c;
          for (std::uint32_t n = b.start[k]; n < b.start[k + 1]; ++n) {
            const std::uint32_t j = b.order[n];
            const double dx = s[j].x - s[i].x, dy = s[j].y - s[i].y;
            const double d = std::hypot(dx, dy);
            if (!(d > 0) || std::fabs(path[j] - path[i]) <= kOtherPass * d) continue;
            double& side = ux * dy - uy * dx > 0 ? best.left : best.right;
            side = std::min(side, d);
          }
        }
        if (ring == 0) break;
      }
    }
  }
  if (!(best.left <= limit)) best.left = std::numeric_limits<double>::infinity();
  if (!(best.right <= limit)) best.right = std::numeric_limits<double>::infinity();
  if (best.left > kOtherSide * best.right) best.left = std::numeric_limits<double>::infinity();
  if (best.right > kOtherSide * best.left) best.right = std::numeric_limits<double>::infinity();
  return best;
}

// The other-pass distances of every `stride`th reading of one file.
void other_pass_distances(std::span<const GridSample> s, std::size_t stride, std::size_t& found,
                          std::vector<double>& sides) {
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
    const SideDistances d = other_pass_distances_at(s, path, b, i, limit);
    if (!std::isfinite(d.nearer())) continue;
    ++found;
    for (double side : {d.left, d.right})
      if (std::isfinite(side)) sides.push_back(side);
  }
}

}  // namespace

void tally_line_spacing(LineSpacingTally& t, std::span<const GridSample> part) {
  if (part.size() < 3) return;
  const std::size_t stride = std::max<std::size_t>(1, part.size() / kQueries);
  t.queries += part.size() / stride;
  other_pass_distances(part, stride, t.found, t.sides);
  add_pass_steps(part, t.pass_steps);
}

double median_line_spacing(LineSpacingTally& t) {
  // A single line: a few readings near its ends may find the line itself.
  if (t.sides.empty() || t.found < t.queries / 4) return 0.0;
  const double spread = quartile(t.sides, 3) - quartile(t.sides, 1);
  const double nearest = quartile(t.sides, 2);
  if (spread > kWanderingSides * nearest && t.pass_steps.size() >= kFewestPassSteps) {
    const double passes = quartile(t.pass_steps, 2);
    if (passes > kPassesOverNearest * nearest) return passes;
  }
  return nearest;
}

double median_line_spacing(std::span<const GridSample> s, std::span<const std::size_t> part_ends) {
  LineSpacingTally t;
  std::size_t begin = 0;
  for (std::size_t end : part_ends) {
    end = std::clamp(end, begin, s.size());
    tally_line_spacing(t, s.subspan(begin, end - begin));
    begin = end;
  }
  tally_line_spacing(t, s.subspan(begin));
  return median_line_spacing(t);
}

double automatic_cell(double line_spacing) {
  // In twentieths, so that the cell is an exact multiple of 0.05 (a quarter
  // of 0.7 rounds up to 0.2, not down through 0.17499...).
  const double twentieths = std::round(line_spacing / 4 * 20 + 1e-9);
  return std::max(0.1, twentieths / 20);
}

}  // namespace quelor
