#include "grid/pass_spacing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace quelor {

namespace {

constexpr std::size_t kFewestReadings = 20;
constexpr std::size_t kMostReadings = 50000;  // more are taken at even strides
constexpr std::size_t kFewestPasses = 6;
constexpr int kPassLags = 4;                 // passes on, at most
constexpr double kShortestHalfWindow = 1.5;  // map units each side of a reading for its direction
constexpr double kStraight = 0.8;            // straight distance over path distance within the window
constexpr double kAlong = 0.866;             // within 30 degrees of the dominant direction

struct Pass {
  int direction = 0;  // +1 or -1 along the dominant direction
  std::size_t first = 0, last = 0;
  double length = 0.0;  // path distance
};

double median_of(std::vector<double> v) {
  const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
  std::nth_element(v.begin(), middle, v.end());
  return *middle;
}

std::vector<double> path_of(std::span<const GridSample> s) {
  std::vector<double> path(s.size(), 0.0);
  for (std::size_t i = 1; i < s.size(); ++i)
    path[i] = path[i - 1] + std::hypot(s[i].x - s[i - 1].x, s[i].y - s[i - 1].y);
  return path;
}

// The walking direction at each reading, from the readings `half` of path
// before and after it, as an angle; NaN where the walk is not straight there.
std::vector<double> directions(std::span<const GridSample> s, const std::vector<double>& path, double half) {
  std::vector<double> angle(s.size(), NAN);
  std::size_t a = 0, b = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    while (path[i] - path[a] > half) ++a;
    b = std::max(b, i);
    while (b + 1 < s.size() && path[b + 1] - path[i] <= half) ++b;
    const double walked = path[b] - path[a];
    const double dx = s[b].x - s[a].x, dy = s[b].y - s[a].y;
    if (walked >= half && std::hypot(dx, dy) >= kStraight * walked) angle[i] = std::atan2(dy, dx);
  }
  return angle;
}

// The runs of readings walked along `axis` one way or the other; runs of one
// way with only a short stretch between them are one pass.
std::vector<Pass> passes_along(const std::vector<double>& angle, const std::vector<double>& path, double axis,
                               double half) {
  std::vector<Pass> out;
  for (std::size_t i = 0; i < angle.size(); ++i) {
    const double along = std::isfinite(angle[i]) ? std::cos(angle[i] - axis) : 0.0;
    const int direction = along > kAlong ? 1 : along < -kAlong ? -1 : 0;
    if (direction == 0) continue;
    if (!out.empty() && out.back().direction == direction &&
        (out.back().last + 1 == i || path[i] - path[out.back().last] < 2 * half)) {
      out.back().last = i;
    } else {
      out.push_back({direction, i, i, 0.0});
    }
  }
  for (Pass& p : out) p.length = path[p.last] - path[p.first];
  return out;
}

}  // namespace

void add_pass_steps(std::span<const GridSample> readings, std::vector<double>& steps) {
  if (readings.size() < kFewestReadings) return;
  // A pass needs no more than a reading every few tens of centimetres.
  std::vector<GridSample> thinned;
  const std::size_t stride = (readings.size() + kMostReadings - 1) / kMostReadings;
  for (std::size_t i = 0; stride > 1 && i < readings.size(); i += stride) thinned.push_back(readings[i]);
  const std::span<const GridSample> s = stride > 1 ? std::span<const GridSample>(thinned) : readings;
  const std::vector<double> path = path_of(s);
  std::vector<double> step_lengths;
  for (std::size_t i = 1; i < s.size(); ++i)
    if (path[i] > path[i - 1]) step_lengths.push_back(path[i] - path[i - 1]);
  if (step_lengths.empty()) return;
  const double half = std::max(kShortestHalfWindow, 2 * median_of(std::move(step_lengths)));
  const std::vector<double> angle = directions(s, path, half);

  // The dominant direction, either way: the mean of the doubled angles.
  double c2 = 0, s2 = 0;
  std::size_t straight = 0;
  for (double a : angle)
    if (std::isfinite(a)) {
      c2 += std::cos(2 * a);
      s2 += std::sin(2 * a);
      ++straight;
    }
  if (straight == 0 || std::hypot(c2, s2) < 0.5 * static_cast<double>(straight)) return;
  const double axis = std::atan2(s2, c2) / 2;

  std::vector<Pass> passes = passes_along(angle, path, axis, half);
  std::vector<double> lengths;
  for (const Pass& p : passes)
    if (p.length >= 2 * half) lengths.push_back(p.length);
  if (lengths.size() < kFewestPasses) return;
  const double shortest = median_of(std::move(lengths)) / 2;
  std::erase_if(passes, [&](const Pass& p) { return p.length < shortest; });
  if (passes.size() < kFewestPasses) return;

  // Each pass's median offset across the dominant direction.
  const double ux = std::cos(axis), uy = std::sin(axis);
  std::vector<double> offsets;
  for (const Pass& p : passes) {
    std::vector<double> across;
    for (std::size_t i = p.first; i <= p.last; ++i) across.push_back(-uy * s[i].x + ux * s[i].y);
    offsets.push_back(median_of(std::move(across)));
  }
  std::vector<double> next;
  for (std::size_t k = 0; k + 1 < offsets.size(); ++k) next.push_back(offsets[k + 1] - offsets[k]);
  const double progress = median_of(next) < 0 ? -1.0 : 1.0;
  for (int lag = 1; lag <= kPassLags; ++lag)
    for (std::size_t k = 0; k + static_cast<std::size_t>(lag) < offsets.size(); ++k)
      steps.push_back(progress * (offsets[k + static_cast<std::size_t>(lag)] - offsets[k]) / lag);
}

}  // namespace quelor
