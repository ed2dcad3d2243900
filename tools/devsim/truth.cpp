#include "devsim/truth.h"

#include <cmath>
#include <string>

namespace quelor::devsim {

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

struct Channel {
  InstrumentType type;
  std::string_view name;
  double (*value)(const Site&, const WalkPoint&, const InstrumentSetup&);
};

InstrumentSetup with_dipole(InstrumentSetup s, bool vertical) {
  s.vertical = vertical;
  s.noise = 0;
  return s;
}

constexpr Channel kChannels[] = {
    {kEm31Mk2, "conductivity_vertical_mS_m",
     [](const Site& s, const WalkPoint& w, const InstrumentSetup& c) {
       return em31_reading(s, w, with_dipole(c, true), nullptr).conductivity;
     }},
    {kEm31Mk2, "inphase_vertical_ppt",
     [](const Site& s, const WalkPoint& w, const InstrumentSetup& c) {
       return em31_reading(s, w, with_dipole(c, true), nullptr).inphase;
     }},
    {kEm31Mk2, "conductivity_horizontal_mS_m",
     [](const Site& s, const WalkPoint& w, const InstrumentSetup& c) {
       return em31_reading(s, w, with_dipole(c, false), nullptr).conductivity;
     }},
    {kEm31Mk2, "inphase_horizontal_ppt",
     [](const Site& s, const WalkPoint& w, const InstrumentSetup& c) {
       return em31_reading(s, w, with_dipole(c, false), nullptr).inphase;
     }},
    {kGrad601, "sensor1_nT",
     [](const Site& s, const WalkPoint& w, const InstrumentSetup& c) {
       InstrumentSetup one = c;
       one.sensors = 1;
       return grad601_reading(s, w, one, nullptr).sensor1;
     }},
};

}  // namespace

WalkPoint walk_point_at(const WalkPlan& plan, double easting, double northing) {
  const double h = plan.heading * kDeg;
  const double de = easting - plan.origin.easting, dn = northing - plan.origin.northing;
  WalkPoint w;
  w.easting = easting;
  w.northing = northing;
  w.along = de * std::sin(h) + dn * std::cos(h);
  w.across = de * std::cos(h) - dn * std::sin(h);
  w.course = plan.heading;
  return w;
}

std::optional<TrueResponse> true_response(const Site& site, const WalkPlan& plan, InstrumentType type,
                                          const InstrumentSetup& setup, std::string_view channel) {
  for (const Channel& c : kChannels)
    if (c.type == type && c.name == channel)
      return TrueResponse([&site, plan, setup, value = c.value](double e, double n) {
        return value(site, walk_point_at(plan, e, n), setup);
      });
  return std::nullopt;
}

}  // namespace quelor::devsim
