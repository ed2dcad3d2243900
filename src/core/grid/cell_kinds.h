#pragma once
// Which cells of a grid keep a value, and why: a cell that holds a reading
// is measured; a cell without one is interpolated where a reading lies
// within the reach (half the line spacing by default), or where readings lie
// on both sides of it (the nearest on one side, another in the opposite
// half-plane) no farther apart than the blanking distance; every other cell
// is blank. So the track of a missed line, the outside of a curve and the
// ground beyond the ends of the lines are left blank. With `fill`, every
// cell within the blanking distance of a reading is kept (the old rule).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "grid/grid.h"
#include "grid/reading_distance.h"

namespace quelor {

enum CellKind : std::uint8_t { kCellBlank = 0, kCellInterpolated = 1, kCellMeasured = 2 };

struct CellRule {
  double blank = 0.0;  // the widest gap interpolated across, map units
  double reach = 0.0;  // a cell this near a reading is kept whatever lies beyond
  bool fill = false;   // keep every cell within `blank` of a reading
};

// The cells' kinds, found in two steps so that the readings can come a file
// at a time: `start_cell_kinds` decides every cell but those that wait on
// a reading on their far side, which `find_readings_beyond` looks for among
// each file's readings in turn. What is held grows with the cells.
struct CellKinds {
  std::vector<std::uint8_t> kinds;    // per cell of the frame, CellKind
  std::vector<std::uint32_t> asking;  // cells that are interpolated once a reading lies beyond them
  std::vector<double> radius;         // per asking cell, how far beyond it a reading may lie
  // The asking cells in square bins no smaller than the largest radius, so
  // that a reading is looked at only by the bins around its own.
  double west = 0, north = 0, bin = 1;
  int columns = 0, rows = 0;
  std::vector<std::uint32_t> first;  // per bin, into `order`; one more at the end
  std::vector<std::uint32_t> order;  // indices into `asking`, bin by bin

  int column_of(double x) const { return std::clamp(static_cast<int>(std::floor((x - west) / bin)), 0, columns - 1); }
  int row_of(double y) const { return std::clamp(static_cast<int>(std::floor((north - y) / bin)), 0, rows - 1); }
};

// `nearest`: of every cell, seeded and propagated (grid/reading_distance.h).
CellKinds start_cell_kinds(const Grid& grid, const NearestReadings& nearest, const CellRule& rule);
void find_readings_beyond(CellKinds& k, const Grid& grid, const NearestReadings& nearest,
                          std::span<const GridSample> samples);

}  // namespace quelor
