#include "report/convex_hull.h"

#include <algorithm>

namespace quelor {

namespace {

double cross(const PlanePoint& o, const PlanePoint& a, const PlanePoint& b) {
  return (a.easting - o.easting) * (b.northing - o.northing) - (a.northing - o.northing) * (b.easting - o.easting);
}

}  // namespace

std::vector<PlanePoint> convex_hull(std::vector<PlanePoint> p) {
  std::sort(p.begin(), p.end(), [](const PlanePoint& a, const PlanePoint& b) {
    return a.easting < b.easting || (a.easting == b.easting && a.northing < b.northing);
  });
  p.erase(std::unique(p.begin(), p.end(),
                      [](const PlanePoint& a, const PlanePoint& b) {
                        return a.easting == b.easting && a.northing == b.northing;
                      }),
          p.end());
  if (p.size() < 3) return p;
  // The hull grows as it needs: a day's readings have a hull of a few points.
  std::vector<PlanePoint> hull;
  for (std::size_t i = 0; i < p.size(); ++i) {  // lower chain
    while (hull.size() >= 2 && cross(hull[hull.size() - 2], hull.back(), p[i]) <= 0) hull.pop_back();
    hull.push_back(p[i]);
  }
  for (std::size_t i = p.size() - 1, lower = hull.size() + 1; i-- > 0;) {  // upper chain
    while (hull.size() >= lower && cross(hull[hull.size() - 2], hull.back(), p[i]) <= 0) hull.pop_back();
    hull.push_back(p[i]);
  }
  hull.pop_back();
  return hull;
}

double polygon_area(std::span<const PlanePoint> polygon) {
  if (polygon.empty()) return 0.0;
  const PlanePoint o = polygon[0];  // relative to a vertex: grid coordinates are large
  double twice = 0.0;
  for (std::size_t i = 0, n = polygon.size(); i < n; ++i) {
    const PlanePoint& a = polygon[i];
    const PlanePoint& b = polygon[(i + 1) % n];
    twice += (a.easting - o.easting) * (b.northing - o.northing) - (b.easting - o.easting) * (a.northing - o.northing);
  }
  return twice / 2.0;
}

}  // namespace quelor
