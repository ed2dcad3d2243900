#pragma once
// Contour lines of a grid by marching squares over the cell centres: a line
// crosses the side between two centres where one value is below the level
// and the other at or above it, at the linearly interpolated place; a square
// with a cell without data at any corner has no line, so no contour crosses
// a blank. Saddles are split by the mean of the square's corners. Segments
// are joined into lines through the sides they share; a closed line ends on
// its first point. Levels are the multiples of the interval within the
// grid's range.

#include <string>
#include <vector>

#include "grid/grid.h"

namespace quelor {

inline constexpr int kMaxContourLevels = 1000;

struct ContourPoint {
  double x = 0.0, y = 0.0;  // map units, as the grid's frame
};

struct ContourLevel {
  double level = 0.0;
  std::vector<std::vector<ContourPoint>> lines;
};

struct ContourLevels {
  std::vector<double> levels;
  std::string error;  // not empty: no levels (a bad interval, or too many levels)
};

// The multiples of `interval` from `low` to `high` (both included).
ContourLevels contour_levels(double low, double high, double interval);

// The lines of each level that has any.
std::vector<ContourLevel> contour_lines(const Grid& grid, const std::vector<double>& levels);

}  // namespace quelor
