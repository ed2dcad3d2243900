#pragma once
// The background grid of the map: a square grid (mode 0), vertical guide
// lines (mode 2, parallel lines at 0 degrees) or guide lines at the lines
// angle (mode 1 for a positive angle, -1 for a negative one). Lines sit at
// the multiples of the spacing in world pixels so they join across tiles.

#include "map/tile_store.h"

namespace quelor {

inline constexpr double kMinimumLinesInterval = 0.5;  // map units
inline constexpr int kMaximumGridLines = 10000;       // per loop and tile

enum GridMode : int { kGridSquare = 0, kGridAngled = 1, kGridVertical = 2, kGridAngledNegative = -1 };

struct GridSpec {
  int mode = kGridSquare;
  double spacing = 0.0;  // pixels along the horizontal axis (square, vertical) or the vertical axis (angled)
  double slope = 0.0;    // py per px of the angled lines: tan(90 - angle)
};

// From the settings: the interval is taken as at least 0.5 map units; an
// angle that is a multiple of 180 degrees gives vertical lines.
GridSpec grid_spec(double lines_interval, bool parallel_lines, double lines_angle, double pixels_per_unit);

// White, then the grid lines of tile (tx, ty) with the 1-pixel grey pen.
// Returns the number of lines drawn.
int draw_grid_tile(Canvas& tile, const GridSpec& grid, int tx, int ty, int tile_width, int tile_height);

// The data tile (tx, ty), made white when missing together with its grid
// tile (drawn with `grid` when new). nullptr outside the tile grid.
Canvas* make_tile_pair(TileSurface& tiles, const GridSpec& grid, int tx, int ty);

}  // namespace quelor
