#include "devsim/geodesy.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quelor::devsim {
namespace {

constexpr double kA = 6378137.0;
constexpr double kF = 1.0 / 298.257223563;
constexpr double kK0 = 0.9996;
constexpr double kFalseEasting = 500000.0;
constexpr double kFalseNorthingSouth = 10000000.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

struct Series {
  double e;                     // first eccentricity
  double rectifying;            // A: rectifying radius
  std::array<double, 6> alpha;  // conformal -> rectifying
  std::array<double, 6> beta;   // rectifying -> conformal
};

Series make_series() {
  const double n = kF / (2 - kF);
  const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n, n6 = n5 * n;
  Series s{};
  s.e = std::sqrt(kF * (2 - kF));
  s.rectifying = kA / (1 + n) * (1 + n2 / 4 + n4 / 64 + n6 / 256);
  s.alpha = {n / 2 - 2 * n2 / 3 + 5 * n3 / 16 + 41 * n4 / 180 - 127 * n5 / 288 + 7891 * n6 / 37800,
             13 * n2 / 48 - 3 * n3 / 5 + 557 * n4 / 1440 + 281 * n5 / 630 - 1983433 * n6 / 1935360,
             61 * n3 / 240 - 103 * n4 / 140 + 15061 * n5 / 26880 + 167603 * n6 / 181440,
             49561 * n4 / 161280 - 179 * n5 / 168 + 6601661 * n6 / 7257600,
             34729 * n5 / 80640 - 3418889 * n6 / 1995840,
             212378941 * n6 / 319334400};
  s.beta = {n / 2 - 2 * n2 / 3 + 37 * n3 / 96 - n4 / 360 - 81 * n5 / 512 + 96199 * n6 / 604800,
            n2 / 48 + n3 / 15 - 437 * n4 / 1440 + 46 * n5 / 105 - 1118711 * n6 / 3870720,
            17 * n3 / 480 - 37 * n4 / 840 - 209 * n5 / 4480 + 5569 * n6 / 90720,
            4397 * n4 / 161280 - 11 * n5 / 504 - 830251 * n6 / 7257600,
            4583 * n5 / 161280 - 108847 * n6 / 3991680,
            20648693 * n6 / 638668800};
  return s;
}

const Series& series() {
  static const Series s = make_series();
  return s;
}

double central_meridian(int zone) { return (zone * 6 - 183) * kDeg; }

// tan of the conformal latitude from tan of the geodetic latitude.
double conformal_tan(double tau, double e) {
  const double sigma = std::sinh(e * std::atanh(e * tau / std::hypot(1.0, tau)));
  return tau * std::hypot(1.0, sigma) - sigma * std::hypot(1.0, tau);
}

// Newton's method for the inverse of conformal_tan.
double geodetic_tan(double tau_prime, double e) {
  const double e2m = 1 - e * e;
  double tau = tau_prime;
  for (int i = 0; i < 8; ++i) {
    const double tp = conformal_tan(tau, e);
    const double step = (tau_prime - tp) / std::hypot(1.0, tp) * (1 + e2m * tau * tau) / (e2m * std::hypot(1.0, tau));
    tau += step;
    if (std::fabs(step) < 1e-15) break;
  }
  return tau;
}

}  // namespace

int utm_zone_of(double longitude) { return std::clamp(static_cast<int>(std::floor(longitude / 6.0)) + 31, 1, 60); }

GridPoint to_grid(const GeoPoint& p) { return to_grid(p, utm_zone_of(p.longitude)); }

GridPoint to_grid(const GeoPoint& p, int zone) {
  const Series& s = series();
  const double phi = p.latitude * kDeg;
  const double lambda = p.longitude * kDeg - central_meridian(zone);
  const double tau_prime = conformal_tan(std::tan(phi), s.e);
  const double xi_prime = std::atan2(tau_prime, std::cos(lambda));
  const double eta_prime = std::asinh(std::sin(lambda) / std::hypot(tau_prime, std::cos(lambda)));
  double xi = xi_prime, eta = eta_prime;
  for (int j = 1; j <= 6; ++j) {
    xi += s.alpha[j - 1] * std::sin(2 * j * xi_prime) * std::cosh(2 * j * eta_prime);
    eta += s.alpha[j - 1] * std::cos(2 * j * xi_prime) * std::sinh(2 * j * eta_prime);
  }
  GridPoint g;
  g.zone = zone;
  g.south = p.latitude < 0;
  g.easting = kFalseEasting + kK0 * s.rectifying * eta;
  g.northing = kK0 * s.rectifying * xi + (g.south ? kFalseNorthingSouth : 0.0);
  return g;
}

GeoPoint to_geographic(const GridPoint& g) {
  const Series& s = series();
  const double xi = (g.northing - (g.south ? kFalseNorthingSouth : 0.0)) / (kK0 * s.rectifying);
  const double eta = (g.easting - kFalseEasting) / (kK0 * s.rectifying);
  double xi_prime = xi, eta_prime = eta;
  for (int j = 1; j <= 6; ++j) {
    xi_prime -= s.beta[j - 1] * std::sin(2 * j * xi) * std::cosh(2 * j * eta);
    eta_prime -= s.beta[j - 1] * std::cos(2 * j * xi) * std::sinh(2 * j * eta);
  }
  const double tau_prime = std::sin(xi_prime) / std::hypot(std::sinh(eta_prime), std::cos(xi_prime));
  const double lambda = std::atan2(std::sinh(eta_prime), std::cos(xi_prime));
  GeoPoint p;
  p.latitude = std::atan(geodetic_tan(tau_prime, s.e)) / kDeg;
  p.longitude = (lambda + central_meridian(g.zone)) / kDeg;
  return p;
}

}  // namespace quelor::devsim
