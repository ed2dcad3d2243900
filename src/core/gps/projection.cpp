#include "gps/projection.h"

#include <algorithm>
#include <cmath>

namespace quelor {

namespace {

constexpr ProjectionConstants make_constants() {
  ProjectionConstants c{};
  c.semi_major_axis = 6378137.0;
  c.inverse_flattening = 298.257223563;
  const double a = c.semi_major_axis;
  c.semi_minor_axis = a * (c.inverse_flattening - 1.0) / c.inverse_flattening;
  const double b = c.semi_minor_axis;
  c.eccentricity_squared = (a * a - b * b) / (a * a);
  c.second_eccentricity_squared = (a * a - b * b) / (b * b);
  c.n = (a - b) / (a + b);
  c.scale_factor = 0.9996;
  c.false_easting = 500000.0;
  c.false_northing_south = 10000000.0;
  c.degrees_to_radians = 0.0174532925199433;
  // Helmert's series of the meridian arc in powers of n.
  const double n = c.n, n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n;
  c.arc[0] = a * (1.0 - n + 5.0 / 4.0 * (n2 - n3) + 81.0 / 64.0 * (n4 - n5));
  c.arc[1] = 3.0 / 2.0 * a * (n - n2 + 7.0 / 8.0 * (n3 - n4) + 55.0 / 64.0 * n5);
  c.arc[2] = 15.0 / 16.0 * a * (n2 - n3 + 3.0 / 4.0 * (n4 - n5));
  c.arc[3] = 35.0 / 48.0 * a * (n3 - n4 + 11.0 / 16.0 * n5);
  c.arc[4] = 315.0 / 512.0 * a * (n4 - n5);
  return c;
}

// Evaluated by the compiler: the projection reads them without a guard.
constexpr ProjectionConstants kUtm = make_constants();

int limit_zone(int zone) { return std::clamp(zone, 1, 60); }

}  // namespace

const ProjectionConstants& utm_constants() { return kUtm; }

int zone_from_longitude(double longitude_deg) {
  if (!std::isfinite(longitude_deg)) return 1;
  // Clamp before the conversion so that absurd longitudes cannot overflow.
  const double raw = std::floor(std::clamp(longitude_deg, -1000.0, 1000.0) / 6.0) + 31.0;
  return limit_zone(static_cast<int>(raw));
}

namespace {

// The arc from sin and cos of phi: the multiple angles by the double-angle
// and addition rules, one sine and one cosine for the whole series.
double meridian_arc(double phi, double sin_phi, double cos_phi) {
  const ProjectionConstants& c = kUtm;
  const double s2 = 2.0 * sin_phi * cos_phi, c2 = 1.0 - 2.0 * sin_phi * sin_phi;
  const double s4 = 2.0 * s2 * c2, c4 = 1.0 - 2.0 * s2 * s2;
  const double s6 = s4 * c2 + c4 * s2;
  const double s8 = 2.0 * s4 * c4;
  return c.arc[0] * phi - c.arc[1] * s2 + c.arc[2] * s4 - c.arc[3] * s6 + c.arc[4] * s8;
}

}  // namespace

double meridian_arc(double phi) { return meridian_arc(phi, std::sin(phi), std::cos(phi)); }

void project(double latitude_deg, double longitude_deg, int& zone, double& northing, double& easting,
             int use_given_zone) {
  const ProjectionConstants& c = kUtm;
  const double phi = latitude_deg * c.degrees_to_radians;
  const double lambda = longitude_deg * c.degrees_to_radians;
  zone = use_given_zone ? limit_zone(zone) : zone_from_longitude(longitude_deg);
  const double lambda0 = (zone * 6 - 183) * c.degrees_to_radians;
  double dl = lambda - lambda0;
  // A position across the antimeridian from a given zone is measured the
  // short way round, not 356 degrees off its central meridian.
  const double half_turn = 180.0 * c.degrees_to_radians;
  if (dl > half_turn) dl -= 2.0 * half_turn;
  if (dl < -half_turn) dl += 2.0 * half_turn;

  const double k0 = c.scale_factor;
  const double sin_phi = std::sin(phi), cos_phi = std::cos(phi);
  const double t = sin_phi / cos_phi, t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
  const double eta2 = c.second_eccentricity_squared * cos_phi * cos_phi;
  const double eta4 = eta2 * eta2, eta6 = eta4 * eta2, eta8 = eta4 * eta4;
  const double nu = c.semi_major_axis / std::sqrt(1.0 - c.eccentricity_squared * sin_phi * sin_phi);
  const double c2 = cos_phi * cos_phi, c3 = c2 * cos_phi, c5 = c3 * c2, c7 = c5 * c2;

  const double t1 = meridian_arc(phi, sin_phi, cos_phi) * k0;
  const double t2n = k0 * nu * sin_phi * cos_phi / 2.0;
  const double t3n = k0 * nu * sin_phi * c3 * (5.0 - t2 + 9.0 * eta2 + 4.0 * eta4) / 24.0;
  const double t4n = k0 * nu * sin_phi * c5 *
                     (61.0 - 58.0 * t2 + t4 + 270.0 * eta2 - 330.0 * t2 * eta2 + 445.0 * eta4 + 324.0 * eta6 -
                      680.0 * t2 * eta4 + 88.0 * eta8 - 600.0 * t2 * eta6 - 192.0 * t2 * eta8) /
                     720.0;
  const double t5n = k0 * nu * sin_phi * c7 * (1385.0 - 3111.0 * t2 + 543.0 * t4 - t6) / 40320.0;
  const double t6e = k0 * nu * cos_phi;
  const double t7e = k0 * nu * c3 * (1.0 - t2 + eta2) / 6.0;
  const double t8e = k0 * nu * c5 *
                     (5.0 - 18.0 * t2 + t4 + 14.0 * eta2 - 58.0 * t2 * eta2 + 13.0 * eta4 + 4.0 * eta6 -
                      64.0 * t2 * eta4 - 24.0 * t2 * eta6) /
                     120.0;
  const double t9e = k0 * nu * c7 * (61.0 - 479.0 * t2 + 179.0 * t4 - t6) / 5040.0;

  const double dl2 = dl * dl, dl3 = dl2 * dl, dl4 = dl2 * dl2, dl5 = dl4 * dl, dl6 = dl4 * dl2, dl7 = dl6 * dl,
               dl8 = dl4 * dl4;
  const double false_northing = latitude_deg < 0.0 ? c.false_northing_south : 0.0;
  northing = false_northing + t1 + dl2 * t2n + dl4 * t3n + dl6 * t4n + dl8 * t5n;
  easting = c.false_easting + dl * t6e + dl3 * t7e + dl5 * t8e + dl7 * t9e;
}

GridPoint project_to_utm(double latitude_deg, double longitude_deg, int zone) {
  GridPoint p;
  p.zone = zone;
  project(latitude_deg, longitude_deg, p.zone, p.northing, p.easting, zone != 0 ? 1 : 0);
  return p;
}

}  // namespace quelor
