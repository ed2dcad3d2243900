#pragma once
// The nearest reading of every cell of a grid: each cell holding readings
// keeps the one nearest its centre; an exact Euclidean distance transform
// over those cells (two passes of lower envelopes of parabolas) gives every
// cell its nearest such cell, and so its reading and the distance to it.

#include <cstdint>
#include <span>
#include <vector>

#include "grid/grid.h"

namespace quelor {

struct NearestReadings {
  std::vector<std::int32_t> reading;  // per cell, the index of its nearest reading; -1: none at all
  std::vector<float> distance;        // per cell, from its centre to that reading, map units
};

// `grid` gives the frame (columns, rows, west, north, cell); its values are
// not used.
NearestReadings nearest_readings(const Grid& grid, std::span<const GridSample> samples);

}  // namespace quelor
