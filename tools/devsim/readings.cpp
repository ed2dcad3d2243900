#include "devsim/readings.h"

#include <algorithm>
#include <cmath>

namespace quelor::devsim {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

double noise(Rng* rng, double sigma, double scale) {
  if (!rng || sigma <= 0 || scale <= 0) return 0;
  std::normal_distribution<double> n(0.0, sigma * scale);
  return n(*rng);
}

CoilPair coils(double spacing, double height, bool vertical) {
  return {spacing, height, (vertical ? 1.5 : 0.75) * spacing};
}

SurveyPoint centre(const Site& s, const WalkPoint& w) { return sensor_point(w, s.heading, 0); }

// Readings beyond an instrument's measuring range stay at its end.
double saturate(double v, double limit) { return std::clamp(v, -limit, limit); }

// Largest value of an EM38-family word: (65535 x 5 / 1024 - 160) x 8.
constexpr double kWordLimit = 1279.9;

}  // namespace

SurveyPoint sensor_point(const WalkPoint& w, double survey_heading, double right) {
  const double theta = (w.course - survey_heading) * kDeg;
  return {w.along - std::sin(theta) * right, w.across + std::cos(theta) * right};
}

CoilPair em31_coils(bool vertical) { return coils(3.66, 1.0, vertical); }
CoilPair em38_coils(bool vertical) { return coils(1.0, 0.1, vertical); }
CoilPair em34_coils(int spacing, bool vertical) { return coils(spacing, 0.3, vertical); }
CoilPair em38mk2_coils(int coil, bool vertical) { return coils(coil == 1 ? 1.0 : 0.5, 0.1, vertical); }
CoilPair em38_4_coils(std::size_t index) { return coils(kEm38_4Spacings[index % 4], 0.2, true); }
CoilPair cs21_hcp_coils(int group) { return group == 2 ? CoilPair{2.0, 0.3, 3.0} : CoilPair{1.0, 0.3, 1.5}; }
CoilPair cs21_prp_coils(int group) { return group == 2 ? CoilPair{2.1, 0.3, 1.0} : CoilPair{1.1, 0.3, 0.5}; }

Em31Reading em31_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng) {
  const CoilPair coil = em31_coils(c.vertical);
  const SurveyPoint p = centre(s, w);
  Em31Reading r;
  r.vertical = c.vertical;
  r.conductivity = apparent_conductivity(s, p, coil) + noise(rng, 0.05, c.noise);
  r.conductivity = saturate(r.conductivity, 2499.0);
  r.inphase = saturate(inphase_ppt(s, p, coil) + noise(rng, 0.01, c.noise), 24.99);
  return r;
}

Em31Reading em38_values(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng) {
  const CoilPair coil = em38_coils(c.vertical);
  const SurveyPoint p = centre(s, w);
  Em31Reading r;
  r.vertical = c.vertical;
  r.conductivity = saturate(apparent_conductivity(s, p, coil) + noise(rng, 0.1, c.noise), 287.0);
  r.inphase = saturate(inphase_ppt(s, p, coil) + noise(rng, 0.02, c.noise), 999.0);
  return r;
}

Em34Reading em34_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng) {
  Em34Reading r;
  r.spacing = c.em34_spacing;
  r.horizontal = !c.vertical;
  r.conductivity = saturate(
      apparent_conductivity(s, centre(s, w), em34_coils(c.em34_spacing, c.vertical)) + noise(rng, 0.2, c.noise),
      2499.0);
  return r;
}

Em38Mk2Reading em38mk2_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng) {
  const SurveyPoint p = centre(s, w);
  const CoilPair c1 = em38mk2_coils(1, c.vertical), c2 = em38mk2_coils(2, c.vertical);
  Em38Mk2Reading r;
  r.vertical = c.vertical;
  r.conductivity1 = saturate(apparent_conductivity(s, p, c1) + noise(rng, 0.1, c.noise), kWordLimit);
  r.inphase1 = saturate(inphase_ppt(s, p, c1) + noise(rng, 0.005, c.noise), kWordLimit * kEm38Mk2InphaseFactor1);
  r.conductivity2 = saturate(apparent_conductivity(s, p, c2) + noise(rng, 0.15, c.noise), kWordLimit);
  r.inphase2 = saturate(inphase_ppt(s, p, c2) + noise(rng, 0.003, c.noise), kWordLimit * kEm38Mk2InphaseFactor2);
  return r;
}

Em38_4Reading em38_4_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng) {
  const SurveyPoint p = centre(s, w);
  Em38_4Reading r;
  for (std::size_t i = 0; i < 4; ++i) {
    const CoilPair coil = em38_4_coils(i);
    r.conductivity[i] = saturate(apparent_conductivity(s, p, coil) + noise(rng, 0.1, c.noise), kWordLimit);
    r.inphase[i] =
        saturate(inphase_ppt(s, p, coil) + noise(rng, 0.004, c.noise), kWordLimit * kEm38_4InphaseFactors[i]);
  }
  return r;
}

Cs21Reading cs21_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng, int group) {
  const SurveyPoint p = centre(s, w);
  Cs21Reading r;
  r.group = group == 2 ? 2 : 1;
  const CoilPair hcp = cs21_hcp_coils(r.group), prp = cs21_prp_coils(r.group);
  r.hcp_conductivity = apparent_conductivity(s, p, hcp) + noise(rng, 0.1, c.noise);
  r.hcp_inphase = inphase_ppt(s, p, hcp) + noise(rng, 0.01, c.noise);
  r.prp_conductivity = apparent_conductivity(s, p, prp) + noise(rng, 0.1, c.noise);
  r.prp_inphase = inphase_ppt(s, p, prp) + noise(rng, 0.01, c.noise);
  return r;
}

GradReading grad601_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng) {
  constexpr double kLowerSensor = 0.3, kBaseline = 1.0;
  GradReading r;
  r.sensors = c.sensors <= 1 ? 1 : 2;
  const double offset = r.sensors == 1 ? 0.0 : kTwinSensorOffset;
  r.sensor1 =
      vertical_gradient(s, sensor_point(w, s.heading, -offset), kLowerSensor, kBaseline) + noise(rng, 0.15, c.noise);
  if (r.sensors == 2)
    r.sensor2 =
        vertical_gradient(s, sensor_point(w, s.heading, offset), kLowerSensor, kBaseline) + noise(rng, 0.15, c.noise);
  return r;
}

Em61Reading em61mk2_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng) {
  constexpr double kCoilHeight = 0.4;
  Em61Reading r;
  r.unit = kEm61Mk2Unit;
  r.channels = decay_channels(s, centre(s, w), kCoilHeight, kEm61Mk2Gates);
  for (std::size_t g = 0; g < 4; ++g) r.channels[g] += noise(rng, 0.8 / (g + 1), c.noise);
  return r;
}

Em61Reading em61lx2_reading(const Site& s, const WalkPoint& w, const InstrumentSetup& c, Rng* rng) {
  constexpr double kCoilHeight = 0.4;
  Em61Reading r;
  r.unit = kEm61Lx2Unit;
  const bool twin = c.sensors >= 2;
  const std::array<double, 4> gates{kEm61Lx2Gates[0], kEm61Lx2Gates[1], kEm61Lx2Gates[1], kEm61Lx2Gates[1]};
  const auto left = decay_channels(s, sensor_point(w, s.heading, twin ? -kTwinSensorOffset : 0.0), kCoilHeight, gates);
  r.channels = {left[0], left[1], 0.0, 0.0};
  if (twin) {
    const auto right = decay_channels(s, sensor_point(w, s.heading, kTwinSensorOffset), kCoilHeight, gates);
    r.channels[2] = right[0];
    r.channels[3] = right[1];
  }
  for (std::size_t g = 0; g < 4; ++g)
    if (twin || g < 2) r.channels[g] += noise(rng, 0.8, c.noise);
  return r;
}

}  // namespace quelor::devsim
