#include "grid/kmz.h"

#include <cmath>
#include <cstdio>

#include "gps/projection.h"
#include "gps/units.h"
#include "grid/zip_archive.h"
#include "export/xml_text.h"

namespace quelor {

namespace {

constexpr double kFalseNorthingSouth = 10000000.0;
constexpr double kMetresPerDegree = 111320.0;  // a first guess of latitude
constexpr double kStep = 1e-6;                 // degrees, for the slopes
constexpr double kClose = 1e-5;                // metres
constexpr int kIterations = 30;

}  // namespace

// Newton's method on the forward projection: the UTM point of a guess, the
// slopes by small steps, the guess corrected until it lands within 10 µm.
std::optional<Geographic> utm_to_geographic(double easting, double northing, int zone, bool south) {
  if (zone < 1 || zone > 60) return std::nullopt;
  Geographic g{(northing - (south ? kFalseNorthingSouth : 0.0)) / kMetresPerDegree, 6.0 * zone - 183.0};
  const auto at = [&](double lat, double lon) {
    GridPoint p = project_to_utm(lat, lon, zone);
    if (south && lat >= 0) p.northing += kFalseNorthingSouth;  // the southern frame across the equator
    return p;
  };
  for (int i = 0; i < kIterations; ++i) {
    const GridPoint p = at(g.latitude, g.longitude);
    const double de = easting - p.easting, dn = northing - p.northing;
    if (std::hypot(de, dn) < kClose) return g;
    const GridPoint pl = at(g.latitude + kStep, g.longitude), pm = at(g.latitude, g.longitude + kStep);
    const double a = (pl.easting - p.easting) / kStep, b = (pm.easting - p.easting) / kStep;
    const double c = (pl.northing - p.northing) / kStep, d = (pm.northing - p.northing) / kStep;
    const double det = a * d - b * c;
    if (!(std::fabs(det) > 0)) return std::nullopt;
    g.latitude += (d * de - b * dn) / det;
    g.longitude += (a * dn - c * de) / det;
    if (!(std::fabs(g.latitude) < 90)) return std::nullopt;
  }
  return std::nullopt;
}

std::string grid_kml(const Grid& grid, int zone, bool south, int map_units, const std::string& name) {
  const double m = metres_per_unit(map_units);
  const double west = grid.west * m, north = grid.north * m;
  const double east = (grid.west + grid.columns * grid.cell) * m, bottom = (grid.north - grid.rows * grid.cell) * m;
  std::string corners;
  // Anticlockwise from the lower left, as gx:LatLonQuad wants them.
  for (const auto& [e, n] :
       {std::pair{west, bottom}, std::pair{east, bottom}, std::pair{east, north}, std::pair{west, north}}) {
    const std::optional<Geographic> g = utm_to_geographic(e, n, zone, south);
    if (!g) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%s%.9f,%.9f,0", corners.empty() ? "" : " ", g->longitude, g->latitude);
    corners += text;
  }
  const std::string title = xml_escaped(name);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
         "<Document><name>" +
         title + "</name>\n<GroundOverlay><name>" + title + "</name><Icon><href>" + kKmzPicture +
         "</href></Icon>\n<gx:LatLonQuad><coordinates>" + corners +
         "</coordinates></gx:LatLonQuad></GroundOverlay>\n</Document></kml>\n";
}

std::string grid_kmz(const Grid& grid, int zone, bool south, int map_units, const std::string& name,
                     const std::string& png) {
  const std::string kml = grid_kml(grid, zone, south, map_units, name);
  if (kml.empty()) return {};
  return zip_bytes({{"doc.kml", kml}, {kKmzPicture, png}});
}

}  // namespace quelor
