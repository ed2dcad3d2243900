#pragma once
// A reading to grid, and a grid: row-major from the north-west; `west` and
// `north` are the outer edges of the north-west cell, so cell (c, r) has its
// centre at west + (c + 0.5) cell, north - (r + 0.5) cell.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quelor {

struct GridSample {
  double x = 0.0;  // easting, map units
  double y = 0.0;  // northing
  double value = 0.0;
};

struct Grid {
  int columns = 0;
  int rows = 0;
  double west = 0.0;  // outer edges, map units
  double north = 0.0;
  double cell = 0.0;
  std::vector<float> values;        // columns x rows, NaN: no data
  std::vector<std::uint8_t> kinds;  // columns x rows, CellKind (grid/cell_kinds.h); empty: not known

  float at(int column, int row) const { return values[static_cast<std::size_t>(row) * columns + column]; }
  double centre_x(int column) const { return west + (column + 0.5) * cell; }
  double centre_y(int row) const { return north - (row + 0.5) * cell; }
};

}  // namespace quelor
