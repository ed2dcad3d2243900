#pragma once
// The spacing of the lines a survey's readings show: for readings spread
// over the walk, the distance to the nearest reading of another pass (one
// whose distance along the walk is more than three times the straight
// distance, so the reading's own line never counts) on either side of the
// walk, each side a distance (the farther only within three times the
// nearer); the median of those. Taking the nearer side alone would be
// biased short where the fixes wander: a pass brought closer on one side is
// taken away on the other.
// Several files of one site are each walked on their own: a reading looks
// for the other passes of its own file only (another day's pass over the
// same line is not the next line).

#include <cstddef>
#include <span>
#include <vector>

#include "grid/grid_frame.h"

namespace quelor {

// The distances found so far, a file at a time (up to a few thousand
// readings of each file are asked).
struct LineSpacingTally {
  std::size_t queries = 0;         // readings asked
  std::size_t found = 0;           // of them, those that found another pass
  std::vector<double> sides;       // the distances found
  std::vector<double> pass_steps;  // grid/pass_spacing.h
};
void tally_line_spacing(LineSpacingTally& t, std::span<const GridSample> file_readings);
// 0 when the readings show no second line (`t.sides` is reordered). Where
// the distances found spread widely (the lines wander across each other),
// the passes' offsets (grid/pass_spacing.h) give it when they give more.
double median_line_spacing(LineSpacingTally& t);

// 0 when the readings show no second line. `part_ends`: where each file's
// readings end in `samples`, the last file's left out; empty: one file.
double median_line_spacing(std::span<const GridSample> samples, std::span<const std::size_t> part_ends = {});

// The automatic cell: a quarter of the spacing rounded to 0.05, at least 0.1.
double automatic_cell(double line_spacing);

}  // namespace quelor
