#pragma once
// Coverage of the surveyed area: the convex hull of the positioned readings,
// the share of it inside the logged swath footprints, and the uncovered gaps
// wide enough to hold a swath, on a raster of cells a quarter of the swath
// width (coarser when the area would need more than about `max_cells`).

#include <cstdint>
#include <vector>

#include "report/survey_data.h"

namespace quelor {

struct CoverageGap {
  double area = 0.0;        // square metres
  double width = 0.0;       // metres: the widest disc it holds, to a cell
  PlanePoint centre;        // of its cells
  PlanePoint low, high;     // bounding box
};

// The cells: row 0 at the south, column 0 at the west.
struct CoverageGrid {
  PlanePoint origin;        // south-west corner of cell (0, 0)
  double cell = 0.0;        // metres
  int columns = 0, rows = 0;
  std::vector<std::int16_t> gap;  // per cell: 0, or the 1-based number of its gap; -1 covered
  int at(int column, int row) const { return gap[static_cast<std::size_t>(row) * columns + column]; }
};

struct Coverage {
  std::vector<PlanePoint> hull;  // counter-clockwise
  double hull_area = 0.0;        // square metres
  bool known = false;            // swath outlines exist and the hull has an area
  double swath_width = 0.0;      // median of the logged cross-lines
  double covered_share = 0.0;    // of the hull's cells
  std::vector<CoverageGap> gaps; // largest first; gap n is `CoverageGrid::gap` value n
  CoverageGrid grid;
};

inline constexpr long kCoverageMaxCells = 2'000'000;
inline constexpr std::size_t kCoverageMaxGaps = 30000;  // numbered gaps (int16)

Coverage survey_coverage(const SurveyData& survey, long max_cells = kCoverageMaxCells);

}  // namespace quelor
