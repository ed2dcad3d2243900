#pragma once
// Lines and circles in world pixels drawn into the data tiles they touch.
// A line is drawn in the tile of each end (same end points, expressed in
// that tile's pixels, clipped by the canvas) and, between diagonal
// neighbours, in the corner tile it crosses; a line whose ends lie more than
// one tile apart is not drawn. A circle is drawn in its tile and repeated in
// each neighbour whose edge lies within its box. Tiles outside the tile grid
// are skipped; missing tiles are made (with their grid tile).

#include "map/grid.h"

namespace quelor {

// Returns false when nothing was drawn (ends too far apart, or outside).
bool split_line(TileSurface& tiles, const GridSpec& grid, WorldPixel a, WorldPixel b, PaletteColour colour, int width);
bool split_disc(TileSurface& tiles, const GridSpec& grid, WorldPixel centre, int radius, PaletteColour colour);

}  // namespace quelor
