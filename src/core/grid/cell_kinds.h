#pragma once
// Which cells of a grid keep a value, and why: a cell that holds a reading
// is measured; a cell without one is interpolated where a reading lies
// within the reach (half the line spacing by default), or where readings lie
// on both sides of it (the nearest on one side, another in the opposite
// half-plane) no farther apart than the blanking distance; every other cell
// is blank. So the track of a missed line, the outside of a curve and the
// ground beyond the ends of the lines are left blank. With `fill`, every
// cell within the blanking distance of a reading is kept (the old rule).

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

// Per cell of `grid`'s frame, its CellKind.
std::vector<std::uint8_t> cell_kinds(const Grid& grid, std::span<const GridSample> samples,
                                     const NearestReadings& nearest, const CellRule& rule);

}  // namespace quelor
