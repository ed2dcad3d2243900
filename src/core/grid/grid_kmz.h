#pragma once
// A grid for Google Earth: a KMZ holding doc.kml, one ground overlay named
// after the data file, and the picture it places (`NAME.png`, transparent
// where there is no data; grid/overlay_picture.h, grid/kml_overlay.h).

#include <string>

#include "grid/contours_geojson.h"
#include "grid/grid.h"

namespace quelor {

// `name`: the data file's name without its folder and extension;
// `description`: what the grid shows (the channel); `low`, `high`: the
// colour scale. Empty when the grid has no cells or is too large for a zip.
std::string grid_kmz_bytes(const Grid& grid, const UtmFrame& frame, const std::string& name,
                           const std::string& description, double low, double high);

}  // namespace quelor
