#pragma once
// Universal Transverse Mercator on the WGS 84 ellipsoid: geographic fixes to
// grid coordinates in metres, by the classic series up to the eighth power of
// the longitude difference.

namespace quelor {

// The constants of the projection, computed once from the ellipsoid.
struct ProjectionConstants {
  double semi_major_axis;              // a, metres
  double inverse_flattening;           // 1/f
  double semi_minor_axis;              // b = a (1/f - 1) / (1/f)
  double eccentricity_squared;         // e^2 = (a^2 - b^2) / a^2
  double second_eccentricity_squared;  // e'^2 = (a^2 - b^2) / b^2
  double n;                            // (a - b) / (a + b)
  double scale_factor;                 // k0 on the central meridian
  double false_easting;                // metres
  double false_northing_south;         // metres, south of the equator
  double degrees_to_radians;
  double arc[5];  // meridian arc: phi, sin 2phi, sin 4phi, sin 6phi, sin 8phi
};

const ProjectionConstants& utm_constants();

inline constexpr int kAutomaticZone = -9;  // zone setting: the first fix chooses

// floor(lon / 6) + 31, limited to 1...60.
int zone_from_longitude(double longitude_deg);

// Meridian arc length from the equator to latitude phi (radians), metres.
double meridian_arc(double phi_rad);

// With use_given_zone 0 the zone is computed from the longitude and written
// back; with 1 the zone passed in is used whatever the longitude (a zone
// outside 1...60 is limited to that range first). Outputs are metres.
void project(double latitude_deg, double longitude_deg, int& zone, double& northing, double& easting,
             int use_given_zone);

struct GridPoint {
  int zone = 0;
  double easting = 0.0;   // metres
  double northing = 0.0;  // metres
};

// zone 0: the zone of the longitude; 1...60: that zone.
GridPoint project_to_utm(double latitude_deg, double longitude_deg, int zone);

}  // namespace quelor
