#include "devsim/walk.h"

#include <algorithm>
#include <cmath>

namespace quelor::devsim {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

double normalise_degrees(double d) {
  d = std::fmod(d, 360.0);
  return d < 0 ? d + 360.0 : d;
}

WalkPoint at_frame(const WalkPlan& plan, double along, double across, double course) {
  WalkPoint w;
  const GridPoint g = survey_to_grid(plan, along, across);
  w.easting = g.easting;
  w.northing = g.northing;
  w.along = along;
  w.across = across;
  w.course = normalise_degrees(course);
  return w;
}

}  // namespace

double walk_length(const WalkPlan& plan) {
  if (plan.lines <= 0) return 0;
  return plan.lines * plan.line_length + (plan.lines - 1) * plan.spacing;
}

GridPoint survey_to_grid(const WalkPlan& plan, double along, double across) {
  const double h = plan.heading * kDeg;
  GridPoint g = plan.origin;
  // Along: (sin h, cos h); right of it: (cos h, -sin h).
  g.easting += along * std::sin(h) + across * std::cos(h);
  g.northing += along * std::cos(h) - across * std::sin(h);
  return g;
}

WalkPoint walk_at_distance(const WalkPlan& plan, double distance) {
  const double total = walk_length(plan);
  const double period = plan.line_length + plan.spacing;
  bool finished = false;
  if (total <= 0) return at_frame(plan, 0, 0, plan.heading);
  distance = std::max(distance, 0.0);
  if (distance >= total) {
    if (plan.loop) {
      distance = std::fmod(distance, total + plan.spacing);
      if (distance >= total) {  // the walk back to the start of line 0
        const double back = (distance - total) / plan.spacing;
        const double last_across = (plan.lines - 1) * plan.spacing;
        const double last_along = (plan.lines % 2 == 1) ? plan.line_length : 0.0;
        WalkPoint w = at_frame(plan, last_along * (1 - back), last_across * (1 - back),
                               plan.heading + std::atan2(-last_across, -last_along) / kDeg);
        w.line = plan.lines - 1;
        w.on_line = false;
        return w;
      }
    } else {
      distance = total;
      finished = true;
    }
  }
  int line = static_cast<int>(distance / period);
  double rest = distance - line * period;
  if (line >= plan.lines) {  // exactly at the end
    line = plan.lines - 1;
    rest = plan.line_length;
  }
  const bool forward = line % 2 == 0;
  WalkPoint w;
  if (rest <= plan.line_length) {
    const double along = forward ? rest : plan.line_length - rest;
    w = at_frame(plan, along, line * plan.spacing, plan.heading + (forward ? 0.0 : 180.0));
    w.on_line = !finished;
  } else {
    const double along = forward ? plan.line_length : 0.0;
    w = at_frame(plan, along, line * plan.spacing + (rest - plan.line_length), plan.heading + 90.0);
    w.on_line = false;
  }
  w.line = line;
  w.finished = finished;
  return w;
}

}  // namespace quelor::devsim
