#include "gps/projection_inverse.h"

#include <algorithm>
#include <cmath>

#include "gps/projection.h"

namespace quelor {

namespace {

constexpr double kMetresPerDegree = 111319.49;  // at the equator, a first guess only
constexpr double kStep = 1e-7;                  // degrees, for the derivatives
constexpr int kMaxIterations = 12;
constexpr double kTolerance = 1e-5;             // metres

struct Planar {
  double e, n;
};

Planar forward(double lat, double lon, int zone, bool south) {
  // The hemisphere of the grid, not of the trial latitude: a trial point
  // across the equator must not jump by the false northing.
  const GridPoint p = project_to_utm(std::clamp(lat, -89.9, 89.9), lon, zone);
  const double shift = (lat < 0.0) == south ? 0.0 : (south ? 1.0 : -1.0) * utm_constants().false_northing_south;
  return {p.easting, p.northing + shift};
}

}  // namespace

GeographicPoint utm_to_geographic(double easting, double northing, int zone, bool south) {
  const double north_metres = south ? northing - utm_constants().false_northing_south : northing;
  double lat = north_metres / kMetresPerDegree;
  double lon = zone * 6 - 183 + (easting - utm_constants().false_easting) /
                                    (kMetresPerDegree * std::max(0.01, std::cos(lat * utm_constants().degrees_to_radians)));
  for (int i = 0; i < kMaxIterations; ++i) {
    const Planar f = forward(lat, lon, zone, south);
    const double de = easting - f.e, dn = northing - f.n;
    if (std::abs(de) < kTolerance && std::abs(dn) < kTolerance) break;
    const Planar fl = forward(lat + kStep, lon, zone, south), fo = forward(lat, lon + kStep, zone, south);
    // Jacobian [dE/dlat dE/dlon; dN/dlat dN/dlon], solved for the step.
    const double a = (fl.e - f.e) / kStep, b = (fo.e - f.e) / kStep;
    const double c = (fl.n - f.n) / kStep, d = (fo.n - f.n) / kStep;
    const double det = a * d - b * c;
    if (det == 0.0) break;
    lat = std::clamp(lat + (d * de - b * dn) / det, -89.9, 89.9);
    lon += (a * dn - c * de) / det;
  }
  if (lon >= 180.0) lon -= 360.0;
  if (lon < -180.0) lon += 360.0;
  return {lat, lon};
}

}  // namespace quelor
