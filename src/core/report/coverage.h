#pragma once
// Coverage of the surveyed area: the blocks (separate areas: readings no
// more than three swath widths apart, through a chain of others, are one
// block; report/survey_blocks.h), the convex hull of each block's positioned
// readings, the share of the hulls inside the logged swath footprints, and
// the uncovered gaps wide enough to hold a swath, on a raster of cells a quarter of the swath
// width (coarser when the area would need more than about `max_cells`).

#include <cstdint>
#include <vector>

#include "report/survey_data.h"

namespace quelor {

struct CoverageGap {
  double area = 0.0;     // square metres
  double width = 0.0;    // metres: the widest disc it holds, to a cell
  PlanePoint centre;     // of its cells
  PlanePoint low, high;  // bounding box
};

// The cells: row 0 at the south, column 0 at the west.
struct CoverageGrid {
  PlanePoint origin;  // south-west corner of cell (0, 0)
  double cell = 0.0;  // metres
  int columns = 0, rows = 0;
  std::vector<std::int16_t> gap;  // per cell: 0, or the 1-based number of its gap; -1 covered
  int at(int column, int row) const { return gap[static_cast<std::size_t>(row) * columns + column]; }
};

struct CoverageBlock {
  std::vector<PlanePoint> hull;  // counter-clockwise
  double area = 0.0;             // square metres
  long readings = 0;             // positioned
  double covered_share = 0.0;    // of its hull's cells
};

struct Coverage {
  std::vector<PlanePoint> hull;       // of every positioned reading, counter-clockwise
  double hull_area = 0.0;             // square metres: of the blocks' hulls when known, else of `hull`
  std::vector<CoverageBlock> blocks;  // when known; largest area first
  bool known = false;                 // swath outlines exist and the hull has an area
  double swath_width = 0.0;           // median of the logged cross-lines
  double covered_share = 0.0;         // of the hull's cells
  std::vector<CoverageGap> gaps;      // largest first; gap n is `CoverageGrid::gap` value n
  CoverageGrid grid;
};

inline constexpr long kCoverageMaxCells = 2'000'000;
inline constexpr double kBlockLinkSwaths = 3.0;         // readings this many swath widths apart join one block
inline constexpr std::size_t kCoverageMaxGaps = 30000;  // numbered gaps (int16)

Coverage survey_coverage(const SurveyData& survey, long max_cells = kCoverageMaxCells);

}  // namespace quelor
