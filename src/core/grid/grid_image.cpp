#include "grid/grid_image.h"

#include <cmath>
#include <cstdio>

#include "map/colour_class.h"
#include "map/palette.h"

namespace quelor {

Raster grid_raster(const Grid& grid, double low, double high) {
  Raster image(grid.columns, grid.rows);
  for (int r = 0; r < grid.rows; ++r)
    for (int c = 0; c < grid.columns; ++c) {
      const float v = grid.at(c, r);
      if (!std::isnan(v)) image.set(c, r, palette_colour(colour_class(v, low, high)));
    }
  return image;
}

std::string world_file_text(const Grid& g) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%.10f\n0\n0\n%.10f\n%.6f\n%.6f\n", g.cell, -g.cell, g.centre_x(0), g.centre_y(0));
  return buf;
}

}  // namespace quelor
