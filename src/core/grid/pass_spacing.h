#pragma once
// The spacing of a walk's parallel passes from where each pass lies across
// the walking direction. Where the fixes wander (an autonomous receiver's
// metre or two, drifting over tens of seconds) neighbouring passes come near
// each other and part again, so that the nearest reading of another pass is
// nearer than the lines were walked apart; the median offset of a whole pass
// wanders far less. A pass is a run of readings walked straight along the
// walk's dominant direction (either way), at least half as long as the
// median pass; from one pass to the one a few passes on in the walk, the
// offset changes by the spacing times the passes between them.

#include <span>
#include <vector>

#include "grid/grid_frame.h"

namespace quelor {

// Adds the changes of offset across the walking direction between the
// passes of one file, each divided by the passes between them (one to a
// few), signed so that the walk's progress across its lines is positive.
// None for a walk of fewer than a few passes or without one direction.
void add_pass_steps(std::span<const GridSample> file_readings, std::vector<double>& steps);

}  // namespace quelor
