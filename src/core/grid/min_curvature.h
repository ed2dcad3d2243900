#pragma once
// Minimum curvature with tension: the surface that satisfies
// (1 - T) del^4 z - T del^2 z = 0 between the readings and passes through
// them, solved coarse to fine (each grid spacing from the one twice as
// coarse, starting from the readings' best-fitting plane) by over-relaxed
// Gauss-Seidel sweeps. The edges have zero curvature across them, so a plane
// is a solution everywhere. A cell holding readings is tied to them through
// the mean of the readings and the moments of their offsets from its centre
// (a second-order Taylor expansion with the surface's own differences,
// first-order where the second order would let neighbouring cells drive
// each other), so every reading counts and none needs to lie on a node. A
// spacing whose sweeps run away is solved again with looser ties in
// the cells along the frame's edges, then with each cell at its readings'
// mean, so the surface never runs away from the readings.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "grid/grid_frame.h"

namespace quelor {

struct MinimumCurvatureOptions {
  double tension = 0.25;
  // Cells that need solving at the finest spacing (others keep the values
  // refined from the coarser one); empty: all.
  std::vector<std::uint8_t> active;
  int max_sweeps = 400;                            // per grid spacing
  double tolerance = 1e-4;                         // largest change of a sweep, times the readings' range
  std::function<void(double spacing)> on_spacing;  // called as each spacing's solving begins; may be empty
};

// Running sums of one cell's readings (offsets from its centre in cell
// units, east and north).
struct CellReadingSums {
  float n, x, y, xx, xy, yy;
  double v;
};

// What minimum curvature needs of the readings, taken a file at a time:
// their range, the sums of their best-fitting plane (about the first
// reading) and the running sums of the cells that hold them at the finest
// spacing, from which the coarser spacings' are made. What is held grows
// with the cells that hold readings, not with the readings.
struct CurvatureReadings {
  std::size_t count = 0;
  double low = 0, high = 0;
  double x0 = 0, y0 = 0;  // the first reading
  double sx = 0, sy = 0, sv = 0, sxx = 0, sxy = 0, syy = 0, sxv = 0, syv = 0;
  std::vector<std::int32_t> cell;     // per cell of the finest spacing, into `sums`; -1: no reading
  std::vector<CellReadingSums> sums;  // in the order the cells were first met
};

// The range and the plane's sums (no frame needed).
void add_plane_readings(CurvatureReadings& r, std::span<const GridSample> samples);
// The cells' sums; `grid` gives the frame.
void add_cell_readings(CurvatureReadings& r, const Grid& grid, std::span<const GridSample> samples);

// Fills grid.values (all cells) from the readings; `grid` gives the frame.
void minimum_curvature(Grid& grid, const CurvatureReadings& readings, const MinimumCurvatureOptions& options);

}  // namespace quelor
