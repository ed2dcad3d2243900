#pragma once
// The convex hull of a point set (Andrew's monotone chain) and polygon areas.

#include <span>
#include <vector>

#include "report/survey_data.h"

namespace quelor {

// Counter-clockwise from the lowest-leftmost point, without collinear points.
// Fewer than three distinct points give what there is.
std::vector<PlanePoint> convex_hull(std::vector<PlanePoint> points);

// Shoelace area; positive counter-clockwise.
double polygon_area(std::span<const PlanePoint> polygon);

}  // namespace quelor
