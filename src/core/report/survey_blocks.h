#pragma once
// The separate areas of a survey: points that lie within `link` metres of
// one another, through a chain of others, form one block; two areas farther
// apart than about three times `link` are always separate. Found on a raster
// of cells `link` wide (coarser when the extent would need more than
// `max_cells`), occupied cells joined to their eight neighbours.

#include <span>
#include <vector>

#include "report/survey_data.h"

namespace quelor {

// Per point, the number of its block (0, 1, ...), blocks numbered in the
// order of their first point.
struct SurveyBlocks {
  std::vector<int> block;
  int count = 0;
};

SurveyBlocks survey_blocks(std::span<const PlanePoint> points, double link, long max_cells = 4'000'000);

}  // namespace quelor
