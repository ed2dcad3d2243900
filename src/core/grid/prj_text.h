#pragma once
// The .prj beside a grid's picture: the CRS as ESRI-style WKT, WGS 84 /
// UTM zone zz N or S, in metres, feet or US survey feet (the false easting
// and northing in that unit).

#include <string>

namespace quelor {

// Empty for a local grid (zone 0).
std::string utm_prj_text(int zone, bool south, int map_units);

}  // namespace quelor
