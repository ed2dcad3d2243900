#pragma once
// UTM grid coordinates back to geographic ones on WGS 84: the forward
// projection (gps/projection.h) inverted by Newton's method, so a position
// projected and brought back is the one that went in, to well under a
// millimetre, whatever series the forward projection uses.

namespace quelor {

struct GeographicPoint {
  double latitude = 0.0;   // degrees, north positive
  double longitude = 0.0;  // degrees, east positive
};

// `easting`, `northing` in metres of `zone` (1...60); `south`: the northing
// carries the southern false northing (10 000 000 m).
GeographicPoint utm_to_geographic(double easting, double northing, int zone, bool south);

}  // namespace quelor
