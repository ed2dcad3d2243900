#pragma once
// Transverse Mercator on WGS 84 in both directions (Krueger's series to the
// sixth order in n, accurate to well below a millimetre inside a UTM zone).
// The simulated walk lives in grid metres; the receiver needs latitude and
// longitude, so the inverse is the simulator's side of the program's
// projection.

namespace quelor::devsim {

struct GeoPoint {
  double latitude = 0;   // degrees, south negative
  double longitude = 0;  // degrees, west negative
};

struct GridPoint {
  double easting = 0;   // metres
  double northing = 0;  // metres
  int zone = 0;         // 1..60
  bool south = false;   // false northing 10 000 000 m
};

// The UTM zone of a longitude: floor(lon / 6) + 31, limited to 1..60.
int utm_zone_of(double longitude);

GridPoint to_grid(const GeoPoint& p);            // zone from the longitude
GridPoint to_grid(const GeoPoint& p, int zone);  // forced zone
GeoPoint to_geographic(const GridPoint& g);

}  // namespace quelor::devsim
