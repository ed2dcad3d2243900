#include "devsim/site.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace quelor::devsim {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;
constexpr double kTwoPi = 2 * 3.14159265358979323846;

double undulations(const std::vector<Undulation>& terms, SurveyPoint p) {
  double sum = 0;
  for (const Undulation& u : terms)
    sum += u.amplitude * std::sin(u.wave_along * p.along + u.wave_across * p.across + u.phase);
  return sum;
}

// How much of a target at effective depth z a coil pair still sees.
double reach(const CoilPair& c, double z) {
  const double r = z / (0.5 * c.exploration_depth);
  return 1.0 / (1.0 + r * r * r);
}

// Frequency-domain response shape of one target: the footprint widens with
// the coil spacing.
double fdem_shape(const Target& t, SurveyPoint p, const CoilPair& c) {
  const double z = t.depth + c.height;
  const double w = std::sqrt(z * z + c.spacing * c.spacing / 9.0);
  const double rho = horizontal_distance(t, p) / w;
  if (t.shape == TargetShape::kCompact) return reach(c, z) * std::pow(1.0 / w, 3) * std::pow(1.0 + rho * rho, -2.5);
  return reach(c, z) * std::pow(1.0 / w, 2) * std::pow(1.0 + rho * rho, -1.5);
}

struct Vec3 {
  double x, y, z;  // along, across, up
};

Vec3 field_direction(const Site& s) {
  // Grid north in the survey frame: along cos(h), across -sin(h).
  const double h = s.heading * kDeg, inc = s.inclination * kDeg;
  return {std::cos(inc) * std::cos(h), -std::cos(inc) * std::sin(h), -std::sin(inc)};
}

// Anomaly of an induced dipole of moment m (A m^2) at `source`, projected on
// the field direction f, seen at `at`. 1e-7 T m/A x 1e9 nT/T = 100.
double dipole_anomaly(Vec3 source, double m, Vec3 f, Vec3 at) {
  const Vec3 r{at.x - source.x, at.y - source.y, at.z - source.z};
  const double d = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
  if (d < 1e-3) return 0;
  const Vec3 u{r.x / d, r.y / d, r.z / d};
  const double mu = m * (f.x * u.x + f.y * u.y + f.z * u.z);  // m . r^
  const Vec3 b{3 * mu * u.x - m * f.x, 3 * mu * u.y - m * f.y, 3 * mu * u.z - m * f.z};
  return 100.0 * (b.x * f.x + b.y * f.y + b.z * f.z) / (d * d * d);
}

double target_field(const Target& t, Vec3 f, Vec3 at) {
  if (t.shape == TargetShape::kCompact) return dipole_anomaly({t.along, t.across, -t.depth}, t.magnetic_moment, f, at);
  // A line target as a row of dipoles 0.1 m long.
  const double step = 0.1;
  const int n = std::max(1, static_cast<int>(2 * t.half_length / step));
  const double ca = std::cos(t.strike * kDeg), sa = std::sin(t.strike * kDeg);
  double sum = 0;
  for (int i = 0; i < n; ++i) {
    const double s = -t.half_length + (i + 0.5) * (2 * t.half_length / n);
    sum += dipole_anomaly({t.along + s * ca, t.across + s * sa, -t.depth}, t.magnetic_moment * (2 * t.half_length / n),
                          f, at);
  }
  return sum;
}

}  // namespace

double horizontal_distance(const Target& t, SurveyPoint p) {
  const double dx = p.along - t.along, dy = p.across - t.across;
  if (t.shape == TargetShape::kCompact) return std::hypot(dx, dy);
  const double ca = std::cos(t.strike * kDeg), sa = std::sin(t.strike * kDeg);
  const double s = std::clamp(dx * ca + dy * sa, -t.half_length, t.half_length);
  return std::hypot(dx - s * ca, dy - s * sa);
}

Site make_default_site(double length, double width, double heading, std::uint64_t seed) {
  Site s;
  s.heading = heading;
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  auto term = [&](double amplitude, double min_wavelength, double max_wavelength) {
    const double lambda = min_wavelength + (max_wavelength - min_wavelength) * unit(rng);
    const double dir = kTwoPi * unit(rng);
    const double k = kTwoPi / lambda;
    return Undulation{amplitude, k * std::cos(dir), k * std::sin(dir), kTwoPi * unit(rng)};
  };
  for (int i = 0; i < 3; ++i) s.conductivity_terms.push_back(term(1.2, 30, 80));
  for (int i = 0; i < 2; ++i) s.gradient_terms.push_back(term(0.8, 20, 60));

  const double reach_across = std::max(width, 4.0);
  Target pipe;
  pipe.name = "pipe";
  pipe.shape = TargetShape::kLine;
  pipe.along = 0.35 * length;
  pipe.across = 0.5 * width;
  pipe.strike = 60;
  pipe.half_length = reach_across + length;  // crosses the whole area
  pipe.depth = 1.2;
  pipe.conductivity = 60;
  pipe.inphase = 25;
  pipe.decay_amplitude = 600;
  pipe.time_constant = 1.0;
  pipe.magnetic_moment = 0.6;

  Target drum1;
  drum1.name = "drum 1";
  drum1.along = 0.62 * length;
  drum1.across = 0.25 * width;
  drum1.depth = 0.8;
  drum1.conductivity = 400;
  drum1.inphase = 60;
  drum1.decay_amplitude = 1500;
  drum1.time_constant = 0.6;
  drum1.magnetic_moment = 2.0;

  Target drum2 = drum1;
  drum2.name = "drum 2";
  drum2.along = 0.8 * length;
  drum2.across = 0.75 * width;
  drum2.depth = 1.0;
  drum2.magnetic_moment = 1.5;

  Target footing;
  footing.name = "wall footing";
  footing.shape = TargetShape::kLine;
  footing.along = 0.12 * length;
  footing.across = 0.5 * width;
  footing.strike = 90;  // across the lines
  footing.half_length = reach_across;
  footing.depth = 0.4;
  footing.conductivity = 12;
  footing.inphase = 4;
  footing.decay_amplitude = 20;
  footing.time_constant = 0.2;
  footing.magnetic_moment = 0.08;

  s.targets = {pipe, drum1, drum2, footing};
  return s;
}

double apparent_conductivity(const Site& s, SurveyPoint p, const CoilPair& c) {
  // Topsoil is a little more conductive: shallow meters read slightly higher.
  double v =
      s.conductivity * (1.0 + 0.15 * std::exp(-c.exploration_depth / 2.0)) + undulations(s.conductivity_terms, p);
  for (const Target& t : s.targets) v += t.conductivity * fdem_shape(t, p, c);
  return v;
}

double inphase_ppt(const Site& s, SurveyPoint p, const CoilPair& c) {
  double v = s.inphase + 0.1 * undulations(s.conductivity_terms, p);
  for (const Target& t : s.targets) v += t.inphase * fdem_shape(t, p, c);
  return v;
}

std::array<double, 4> decay_channels(const Site& s, SurveyPoint p, double height,
                                     const std::array<double, 4>& gates_ms) {
  std::array<double, 4> out{};
  for (std::size_t g = 0; g < gates_ms.size(); ++g)
    out[g] = s.decay_background * std::pow(gates_ms[0] / gates_ms[g], 1.5);
  for (const Target& t : s.targets) {
    const double z = t.depth + height;
    const double r2 = z * z + std::pow(horizontal_distance(t, p), 2);
    const double peak =
        t.decay_amplitude * (t.shape == TargetShape::kCompact ? std::pow(1.0 / r2, 3) : std::pow(1.0 / r2, 2));
    for (std::size_t g = 0; g < gates_ms.size(); ++g)
      out[g] += peak * std::exp(-(gates_ms[g] - gates_ms[0]) / t.time_constant);
  }
  return out;
}

double total_field_anomaly(const Site& s, SurveyPoint p, double height) {
  const Vec3 f = field_direction(s);
  double sum = 0;
  for (const Target& t : s.targets) sum += target_field(t, f, {p.along, p.across, height});
  return sum;
}

double vertical_gradient(const Site& s, SurveyPoint p, double lower_height, double baseline) {
  return total_field_anomaly(s, p, lower_height) - total_field_anomaly(s, p, lower_height + baseline) +
         undulations(s.gradient_terms, p);
}

}  // namespace quelor::devsim
