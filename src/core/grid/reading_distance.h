#pragma once
// The nearest reading of every cell of a grid: every reading is tried on the
// cells around its own (so none is lost behind another in the same cell);
// then the candidates travel across the grid (two raster sweeps each way,
// every cell trying the candidates of its eight neighbours by their true
// distance), the classic propagation of nearest points. Exact but for rare
// cells where several readings' regions meet, which may keep a reading a
// little farther than the nearest.

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
