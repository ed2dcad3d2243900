#pragma once
// Contour lines as GeoJSON (RFC 7946): a FeatureCollection with one feature
// per level, a MultiLineString of that level's lines with the property
// "level", coordinates WGS 84 longitude and latitude in degrees (9
// decimals, a tenth of a millimetre), brought from the grid's UTM frame.

#include <string>
#include <vector>

#include "grid/contours.h"

namespace quelor {

struct UtmFrame {
  int zone = 0;         // 1...60
  bool south = false;
  int map_units = 0;    // WorkingUnit of the grid's coordinates
};

// `name`: the collection's "name" member (the data file's name).
std::string contours_geojson(const std::vector<ContourLevel>& levels, const UtmFrame& frame, const std::string& name);

}  // namespace quelor
