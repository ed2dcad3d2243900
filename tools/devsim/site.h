#pragma once
// The synthetic site: a conductive background and buried targets. Positions
// are in the survey frame of the walk (along the lines, across to the right),
// heights and depths in metres, upward positive.
//
// Responses are simple but physically shaped: frequency-domain meters see a
// target through the footprint of their coil spacing and lose it below their
// depth of exploration; time-domain channels fall off with the sixth (compact)
// or fourth (line) power of distance and decay with the target's time
// constant; the gradiometer sees induced magnetic dipoles in the Earth's field.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quelor::devsim {

enum class TargetShape { kCompact, kLine };

struct Target {
  std::string name;  // "pipe", "drum 1", ...
  TargetShape shape = TargetShape::kCompact;
  double along = 0, across = 0;  // centre
  double strike = 0;             // line targets: degrees from the line direction
  double half_length = 0;        // line targets
  double depth = 1;              // to the centre, metres below ground
  double conductivity = 0;       // mS/m at 1 m effective distance
  double inphase = 0;            // ppt at 1 m effective distance
  double decay_amplitude = 0;    // mV at the first gate at 1 m distance
  double time_constant = 0.5;    // ms
  double magnetic_moment = 0;    // A m^2 (compact) or A m^2 per metre (line)
};

// One smooth term of the background: amplitude x sin(k . x + phase).
struct Undulation {
  double amplitude = 0;
  double wave_along = 0, wave_across = 0;  // radians per metre
  double phase = 0;
};

struct Site {
  double conductivity = 20;     // background, mS/m
  double inphase = 0.5;         // background, ppt
  double decay_background = 2;  // mV at the first gate
  std::vector<Undulation> conductivity_terms;
  std::vector<Undulation> gradient_terms;  // nT of geological gradient
  std::vector<Target> targets;
  double heading = 0;       // survey heading: where grid north lies
  double inclination = 65;  // Earth's field, degrees below horizontal
};

// A frequency-domain coil pair.
struct CoilPair {
  double spacing = 3.66;           // metres
  double height = 1.0;             // above ground
  double exploration_depth = 5.5;  // metres (about 1.5 x spacing vertical, 0.75 x horizontal)
};

struct SurveyPoint {
  double along = 0, across = 0;
};

// The default site of a survey area `length` x `width` metres: a pipe crossing
// the lines obliquely, two drums and a wall footing across the lines.
Site make_default_site(double length, double width, double heading, std::uint64_t seed);

// Horizontal distance from a point to a target's centre (compact) or axis (line).
double horizontal_distance(const Target& t, SurveyPoint p);

double apparent_conductivity(const Site& s, SurveyPoint p, const CoilPair& c);  // mS/m
double inphase_ppt(const Site& s, SurveyPoint p, const CoilPair& c);            // ppt

// Time-domain channel voltages (mV) at the given gate times (ms) for a coil
// at `height`.
std::array<double, 4> decay_channels(const Site& s, SurveyPoint p, double height,
                                     const std::array<double, 4>& gates_ms);

// Total-field anomaly (nT) at a height above ground.
double total_field_anomaly(const Site& s, SurveyPoint p, double height);

// Gradiometer reading: lower minus upper sensor, nT (per metre of baseline).
double vertical_gradient(const Site& s, SurveyPoint p, double lower_height, double baseline);

}  // namespace quelor::devsim
