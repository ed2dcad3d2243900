#pragma once
// A grid as a coloured picture: each cell the colour map's palette colour of
// its class between the scale limits, cells without data transparent; and
// the PNG bytes of such a picture (RGBA, deflated with zlib).

#include <cstdint>
#include <string>
#include <vector>

#include "grid/grid.h"

namespace quelor {

struct GridImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;  // row-major from the north-west
};

struct ColourScale {
  double minimum = 0, maximum = 0;
};

// The 2nd and 98th percentiles of the cells with data, so that one strong
// anomaly does not take the whole palette.
ColourScale grid_colour_scale(const Grid& grid);

GridImage grid_image(const Grid& grid, const ColourScale& scale);

std::string png_bytes(const GridImage& image);

// The six lines of the world file of a grid's picture (cell centres).
std::string world_file_text(const Grid& grid);

}  // namespace quelor
