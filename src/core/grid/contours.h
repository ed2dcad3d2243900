#pragma once
// Contour lines of a grid at a chosen interval, by marching squares over
// the cell centres (squares with a cell without data are left out; a saddle
// is split by the mean of its corners), the pieces of a level joined into
// lines: a line that closes is a ring whose last point is its first, an open
// one runs from an edge of the data to another. As GeoJSON: a
// FeatureCollection of one MultiLineString a level with its value, in the
// grid's map coordinates (the CRS named where it has an EPSG code).

#include <array>
#include <string>
#include <vector>

#include "grid/grid.h"

namespace quelor {

using ContourPoint = std::array<double, 2>;  // x, y in map units
using ContourLine = std::vector<ContourPoint>;

struct ContourLevel {
  double value = 0.0;
  std::vector<ContourLine> lines;
};

inline constexpr int kMostContourLevels = 1000;

// The levels at whole multiples of `interval` within the grid's range; none
// when the interval is not positive or would give more than kMostContourLevels.
std::vector<ContourLevel> grid_contours(const Grid& grid, double interval);

// `epsg` 0: no CRS member.
std::string contours_geojson(const std::vector<ContourLevel>& levels, int epsg);

}  // namespace quelor
