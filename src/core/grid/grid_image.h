#pragma once
// A grid as a coloured picture, one pixel a cell: each cell the colour map's
// palette colour of its class between the scale limits, cells without data
// white (the map's background); and the world file that places it.

#include <string>

#include "grid/grid.h"
#include "map/raster.h"

namespace quelor {

// `low` and `high`: the scale (the grid's own minimum and maximum by default).
Raster grid_raster(const Grid& grid, double low, double high);

// The six lines of the world file of a grid's picture (cell centres).
std::string world_file_text(const Grid& grid);

}  // namespace quelor
