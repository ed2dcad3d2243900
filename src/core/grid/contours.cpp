#include "grid/contours.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace quelor {

namespace {

// A side between two cell centres: (row * columns + column) * 2, plus 1 for
// the side going down from that centre (else the one going right).
using Side = std::int64_t;

struct Segment {
  Side a, b;
};

struct Corner {
  int c, r;
};

class LevelTracer {
 public:
  LevelTracer(const Grid& g, double level) : g_(g), level_(level) {}

  ContourLevel trace() {
    for (int r = 0; r + 1 < g_.rows; ++r)
      for (int c = 0; c + 1 < g_.columns; ++c) square(c, r);
    ContourLevel out;
    out.level = level_;
    join(out);
    return out;
  }

 private:
  Side side(int c, int r, bool down) const { return (static_cast<Side>(r) * g_.columns + c) * 2 + (down ? 1 : 0); }
  bool above(Corner k) const { return g_.at(k.c, k.r) >= level_; }

  // The crossing on the side from `p` to `q`, kept under its side's key.
  Side crossing(Corner p, Corner q) {
    const Side s = side(std::min(p.c, q.c), std::min(p.r, q.r), p.c == q.c);
    if (!points_.count(s)) {
      const double vp = g_.at(p.c, p.r), vq = g_.at(q.c, q.r);
      const double t = (level_ - vp) / (vq - vp);
      points_[s] = {g_.centre_x(p.c) + t * (g_.centre_x(q.c) - g_.centre_x(p.c)),
                    g_.centre_y(p.r) + t * (g_.centre_y(q.r) - g_.centre_y(p.r))};
    }
    return s;
  }

  void square(int c, int r) {
    // Clockwise from the north-west corner; side i runs from corner i to i + 1.
    const Corner k[4] = {{c, r}, {c + 1, r}, {c + 1, r + 1}, {c, r + 1}};
    double sum = 0;
    for (const Corner& q : k) {
      const float v = g_.at(q.c, q.r);
      if (std::isnan(v)) return;
      sum += v;
    }
    Side cut[4];
    int n = 0;
    for (int i = 0; i < 4; ++i)
      if (above(k[i]) != above(k[(i + 1) % 4])) cut[n++] = crossing(k[i], k[(i + 1) % 4]);
    if (n == 2) {
      add({cut[0], cut[1]});
    } else if (n == 4) {
      // A saddle: the centre's side decides which corners the lines cut off.
      const bool centre_above = sum / 4 >= level_;
      if (centre_above == above(k[0])) {
        add({cut[0], cut[1]});  // corner 1 cut off
        add({cut[2], cut[3]});  // corner 3
      } else {
        add({cut[3], cut[0]});  // corner 0
        add({cut[1], cut[2]});  // corner 2
      }
    }
  }

  void add(Segment s) {
    at_[s.a].push_back(segments_.size());
    at_[s.b].push_back(segments_.size());
    segments_.push_back(s);
  }

  // The segment at `s` other than `from`, or -1.
  long next_at(Side s, std::size_t from) const {
    for (std::size_t i : at_.at(s))
      if (i != from && !used_[i]) return static_cast<long>(i);
    return -1;
  }

  // From segment `first`, going out through `end`, as far as the line goes.
  void extend(std::vector<Side>& chain, std::size_t first, Side end) {
    std::size_t current = first;
    for (;;) {
      const long next = next_at(end, current);
      if (next < 0) return;
      current = static_cast<std::size_t>(next);
      used_[current] = true;
      end = segments_[current].a == end ? segments_[current].b : segments_[current].a;
      chain.push_back(end);
    }
  }

  void join(ContourLevel& out) {
    used_.assign(segments_.size(), false);
    for (std::size_t i = 0; i < segments_.size(); ++i) {
      if (used_[i]) continue;
      used_[i] = true;
      std::vector<Side> forward{segments_[i].b}, backward{segments_[i].a};
      extend(forward, i, segments_[i].b);
      extend(backward, i, segments_[i].a);
      std::vector<ContourPoint> line;
      for (auto it = backward.rbegin(); it != backward.rend(); ++it) line.push_back(points_.at(*it));
      for (Side s : forward) line.push_back(points_.at(s));
      out.lines.push_back(std::move(line));
    }
  }

  const Grid& g_;
  double level_;
  std::unordered_map<Side, ContourPoint> points_;
  std::unordered_map<Side, std::vector<std::size_t>> at_;
  std::vector<Segment> segments_;
  std::vector<bool> used_;
};

}  // namespace

ContourLevels contour_levels(double low, double high, double interval) {
  ContourLevels out;
  if (!(interval > 0) || !std::isfinite(interval)) {
    out.error = "the contour interval must be a number above 0";
    return out;
  }
  if (!(low <= high)) return out;
  const double first = std::ceil(low / interval), last = std::floor(high / interval);
  if (!std::isfinite(first) || !std::isfinite(last) || last - first + 1 > kMaxContourLevels) {
    out.error = "a contour interval of " + std::to_string(interval) + " gives more than " +
                std::to_string(kMaxContourLevels) + " levels: choose a larger interval";
    return out;
  }
  for (double k = first; k <= last; ++k) out.levels.push_back(k * interval);
  return out;
}

std::vector<ContourLevel> contour_lines(const Grid& grid, const std::vector<double>& levels) {
  std::vector<ContourLevel> out;
  for (double level : levels) {
    ContourLevel traced = LevelTracer(grid, level).trace();
    if (!traced.lines.empty()) out.push_back(std::move(traced));
  }
  return out;
}

}  // namespace quelor
