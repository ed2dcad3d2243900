#pragma once
// A grid's picture for an overlay: one pixel a cell, each cell the colour
// map's palette colour of its class between the scale limits (as the grid's
// picture), cells without data transparent; as an 8-bit RGBA PNG.

#include <string>

#include "grid/grid.h"

namespace quelor {

// The PNG file's bytes (empty for an empty grid).
std::string overlay_png_bytes(const Grid& grid, double low, double high);

}  // namespace quelor
