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
  std::vector<PlanePoint> hull(2 * p.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {  // lower chain
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], p[i]) <= 0) --k;
    hull[k++] = p[i];
  }
  for (std::size_t i = p.size() - 1, lower = k + 1; i-- > 0;) {  // upper chain
    while (k >= lower && cross(hull[k - 2], hull[k - 1], p[i]) <= 0) --k;
    hull[k++] = p[i];
  }
  hull.resize(k - 1);
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
