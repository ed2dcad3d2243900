#include "grid/contours.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quelor {

namespace {

struct Corner {
  double x, y, v;
};

// Where the level crosses the edge from a to b.
std::array<double, 2> crossing(const Corner& a, const Corner& b, double level) {
  const double t = (level - a.v) / (b.v - a.v);
  return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// The square's corners in order around it: top left, top right, bottom right, bottom left.
void march(const std::array<Corner, 4>& q, double level, std::vector<std::array<double, 4>>& out) {
  int index = 0;
  for (int i = 0; i < 4; ++i) index |= (q[static_cast<std::size_t>(i)].v >= level) << i;
  if (index == 0 || index == 15) return;
  // Edge k joins corner k and corner k + 1.
  const auto edge = [&](int k) {
    return crossing(q[static_cast<std::size_t>(k)], q[static_cast<std::size_t>((k + 1) % 4)], level);
  };
  const auto add = [&](int e0, int e1) {
    const auto a = edge(e0), b = edge(e1);
    out.push_back({a[0], a[1], b[0], b[1]});
  };
  std::vector<int> crossed;
  for (int k = 0; k < 4; ++k)
    if (((index >> k) & 1) != ((index >> ((k + 1) % 4)) & 1)) crossed.push_back(k);
  if (crossed.size() == 2) {
    add(crossed[0], crossed[1]);
    return;
  }
  // A saddle: the centre's side decides which corners the lines cut off.
  const double centre = (q[0].v + q[1].v + q[2].v + q[3].v) / 4;
  const bool high_centre = centre >= level;
  const bool corner0_high = index & 1;
  if (corner0_high == high_centre) {
    add(0, 1);  // corners 1 and 3 cut off
    add(2, 3);
  } else {
    add(3, 0);  // corners 0 and 2 cut off
    add(1, 2);
  }
}

}  // namespace

std::vector<ContourLevel> grid_contours(const Grid& g, double interval) {
  std::vector<ContourLevel> out;
  if (!(interval > 0) || !std::isfinite(interval)) return out;
  double low = INFINITY, high = -INFINITY;
  for (float v : g.values)
    if (!std::isnan(v)) {
      low = std::min(low, double(v));
      high = std::max(high, double(v));
    }
  if (!(high >= low)) return out;
  const double first = std::ceil(low / interval), last = std::floor(high / interval);
  if (last - first + 1 > kMostContourLevels) return out;
  for (double k = first; k <= last; ++k) out.push_back({k * interval, {}});
  for (int r = 0; r + 1 < g.rows; ++r)
    for (int c = 0; c + 1 < g.columns; ++c) {
      const std::array<Corner, 4> q = {Corner{g.centre_x(c), g.centre_y(r), g.at(c, r)},
                                       Corner{g.centre_x(c + 1), g.centre_y(r), g.at(c + 1, r)},
                                       Corner{g.centre_x(c + 1), g.centre_y(r + 1), g.at(c + 1, r + 1)},
                                       Corner{g.centre_x(c), g.centre_y(r + 1), g.at(c, r + 1)}};
      if (std::any_of(q.begin(), q.end(), [](const Corner& k) { return std::isnan(k.v); })) continue;
      const auto [lo, hi] = std::minmax({q[0].v, q[1].v, q[2].v, q[3].v});
      for (ContourLevel& level : out)
        if (level.value > lo && level.value <= hi) march(q, level.value, level.segments);
    }
  std::erase_if(out, [](const ContourLevel& l) { return l.segments.empty(); });
  return out;
}

std::string contours_geojson(const std::vector<ContourLevel>& levels, int epsg) {
  std::string out = "{\"type\":\"FeatureCollection\",";
  if (epsg)
    out +=
        "\"crs\":{\"type\":\"name\",\"properties\":{\"name\":\"urn:ogc:def:crs:EPSG::" + std::to_string(epsg) + "\"}},";
  out += "\"features\":[";
  char number[96];
  for (std::size_t i = 0; i < levels.size(); ++i) {
    std::snprintf(number, sizeof number, "%.10g", levels[i].value);
    out += std::string(i ? "," : "") + "\n{\"type\":\"Feature\",\"properties\":{\"value\":" + number +
           "},\"geometry\":{\"type\":\"MultiLineString\",\"coordinates\":[";
    for (std::size_t k = 0; k < levels[i].segments.size(); ++k) {
      const auto& s = levels[i].segments[k];
      std::snprintf(number, sizeof number, "%s[[%.3f,%.3f],[%.3f,%.3f]]", k ? "," : "", s[0], s[1], s[2], s[3]);
      out += number;
    }
    out += "]}}";
  }
  return out + "\n]}\n";
}

}  // namespace quelor
