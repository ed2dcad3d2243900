#pragma once
// A grid's picture placed in Google Earth: the KML ground overlay of a KMZ.
// The grid is in UTM (metres or feet, north or south); the overlay's
// LatLonBox is centred on the grid's centre, its height and width are the
// grid's, measured along the grid's axes, and its rotation turns the picture
// by the grid convergence there, so that the picture's corners land on the
// grid's corners. The box is laid out in the plane of degrees of latitude
// and degrees of longitude times cos(latitude of the centre), as Google Earth
// rotates it. A rectangle turned once cannot follow the convergence's change
// across the grid: the corners are within centimetres of the grid's own over
// a few hundred metres, within decimetres over a kilometre, far from the
// central meridian.

#include <string>

#include "grid/grid.h"

namespace quelor {

struct LatLonBox {
  double north = 0.0, south = 0.0, east = 0.0, west = 0.0;  // WGS 84 degrees
  double rotation = 0.0;  // degrees, counter-clockwise
};

// `map_units`: the grid's WorkingUnit; `zone` 1...60.
LatLonBox overlay_box(const Grid& grid, int zone, bool south, int map_units);

// doc.kml: a document named `name` holding one GroundOverlay of `image`
// (a path inside the KMZ) in `box`; `description` says what it shows.
std::string ground_overlay_kml(const std::string& name, const std::string& description, const std::string& image,
                               const LatLonBox& box);

}  // namespace quelor
