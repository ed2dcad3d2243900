#pragma once
// The surveyor's walk: lawnmower lines on the grid. Line 0 starts at the
// origin and runs along the heading; every next line lies `spacing` metres to
// the right and runs the other way; short cross-walks join the line ends.

#include "devsim/geodesy.h"

namespace quelor::devsim {

struct WalkPlan {
  GridPoint origin;  // start of line 0
  int lines = 10;
  double line_length = 40;  // metres
  double spacing = 1;       // metres between lines
  double speed = 1;         // metres per second
  double heading = 0;       // degrees clockwise from grid north
  bool loop = false;        // start over after the last line instead of stopping
};

// A place of the walk.
struct WalkPoint {
  double easting = 0;
  double northing = 0;
  double along = 0;       // metres along the line direction from the origin
  double across = 0;      // metres to the right of line 0
  double course = 0;      // direction of travel, degrees clockwise from grid north
  int line = 0;           // line index; the cross-walk after line i counts as i
  bool on_line = true;    // false on the cross-walks and after the end
  bool finished = false;  // past the end of the last line (without loop)
};

// Total path length: lines x length + (lines - 1) x spacing.
double walk_length(const WalkPlan& plan);

// Where the walker is after `distance` metres of walking.
WalkPoint walk_at_distance(const WalkPlan& plan, double distance);

// Grid position of a point given in the survey frame (along, across).
GridPoint survey_to_grid(const WalkPlan& plan, double along, double across);

}  // namespace quelor::devsim
