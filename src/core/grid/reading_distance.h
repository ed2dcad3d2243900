#pragma once
// The nearest reading of every cell of a grid: every reading is tried on the
// cells around its own (so none is lost behind another in the same cell);
// then the candidates travel across the grid (two raster sweeps each way,
// every cell trying the candidates of its eight neighbours by their true
// distance), the classic propagation of nearest points. Exact but for rare
// cells where several readings' regions meet, which may keep a reading a
// little farther than the nearest. The readings may come a file at a time
// (`seed_nearest` for each, then `propagate_nearest`): what is held grows
// with the cells, not with the readings.

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "grid/grid_frame.h"

namespace quelor {

struct NearestReadings {
  // Per cell, its nearest reading (position and value); NaN x: none at all.
  std::vector<double> x, y;
  std::vector<float> value;
  std::vector<float> distance;      // per cell, from its centre to that reading, map units
  std::vector<std::uint8_t> holds;  // per cell, 1 where a reading lies in it
  std::vector<double> squared;      // while seeding and propagating: the distance squared

  bool has(std::size_t cell) const { return !std::isnan(x[cell]); }
};

// `grid` gives the frame (columns, rows, west, north, cell); its values are
// not used.
NearestReadings start_nearest(const Grid& grid);
void seed_nearest(NearestReadings& n, const Grid& grid, std::span<const GridSample> samples);
void propagate_nearest(NearestReadings& n, const Grid& grid);

NearestReadings nearest_readings(const Grid& grid, std::span<const GridSample> samples);

}  // namespace quelor
