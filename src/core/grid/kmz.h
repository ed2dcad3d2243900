#pragma once
// A grid's picture for Google Earth: a KMZ (a zip holding doc.kml and the
// PNG) whose KML places the picture as a ground overlay by its four corners
// in WGS 84 latitude and longitude (gx:LatLonQuad), the UTM corners of the
// grid turned back to geographic ones.

#include <optional>
#include <string>

#include "grid/grid.h"

namespace quelor {

struct Geographic {
  double latitude = 0.0, longitude = 0.0;  // degrees
};

// The latitude and longitude of a UTM point in metres (northing with the
// southern false northing in the south); nothing where it does not converge.
std::optional<Geographic> utm_to_geographic(double easting, double northing, int zone, bool south);

inline constexpr const char* kKmzPicture = "grid.png";

// The KML text; empty for a local grid (zone 0).
std::string grid_kml(const Grid& grid, int zone, bool south, int map_units, const std::string& name);

// The KMZ's bytes with `png` as the picture; empty for a local grid.
std::string grid_kmz(const Grid& grid, int zone, bool south, int map_units, const std::string& name,
                     const std::string& png);

}  // namespace quelor
