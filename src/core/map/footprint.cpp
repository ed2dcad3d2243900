#include "map/footprint.h"

#include <algorithm>
#include <cmath>

#include "gps/units.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::array<double, 8> kSwathList{0.25, 0.5, 1.0, 2.0, 3.0, 4.0, 5.0, 10.0};
constexpr std::array<double, 8> kGrad601Swaths{0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0};
// EM61-MK2 coil width by sensor size: "1 x 0.5 m", "0.5 x 1.0 m", "1 x 1 m", "0.5 x 0.5 m", "Hand Held".
constexpr std::array<double, 5> kEm61Mk2Widths{1.0, 0.5, 1.0, 0.5, 0.2};

double pick(std::span<const double> list, int index) {
  return list[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(list.size()) - 1))];
}

void drop_oldest(TowedTrack& t, std::size_t count) {
  count = std::min(count, t.points.size());
  t.points.erase(t.points.begin(), t.points.begin() + static_cast<long>(count));
  t.along.erase(t.along.begin(), t.along.begin() + static_cast<long>(count));
  const double base = t.along.empty() ? 0.0 : t.along.front();
  for (double& a : t.along) a -= base;
}

}  // namespace

Bar bar_at(MapPoint z, double ux, double uy, double l, double r) {
  return {{z.easting - l * uy, z.northing + l * ux}, {z.easting + r * uy, z.northing - r * ux}};
}

double swath_width_metres(const Settings& s, InstrumentType type) {
  switch (type) {
    case kEm61Mk2:
    case kEm61Lx2: {
      const double base =
          type == kEm61Lx2 ? (s.number_of_sensors > 0 ? 2.06 : 1.03) : pick(kEm61Mk2Widths, s.sensor_size);
      const double factor = s.swath_option == 11 ? 2.0 : 0.1 * s.swath_option + 0.5;
      return base * factor;
    }
    case kGrad601: return s.number_of_sensors > 0 ? 2.0 * s.sensor_separation : pick(kGrad601Swaths, s.swath_option);
    default: return pick(kSwathList, s.swath_option);
  }
}

FootprintGeometry footprint_geometry(const Settings& s, InstrumentType type, double lateral_offset_metres,
                                     double inline_offset_metres) {
  const double unit = metres_per_unit(s.map_units);
  const double w = swath_width_metres(s, type);
  const double left = w / 2 + lateral_offset_metres;
  FootprintGeometry g;
  g.left_half = left / unit;
  g.right_half = (w - left) / unit;
  g.inline_offset = inline_offset_metres / unit;
  g.towed = inline_offset_metres > 0;
  return g;
}

void track_add(TowedTrack& t, MapPoint p) {
  if (!t.points.empty()) {
    const double d = std::hypot(p.easting - t.points.back().easting, p.northing - t.points.back().northing);
    if (!(d > 0)) return;
    t.along.push_back(t.along.back() + d);
  } else {
    t.along.push_back(0.0);
  }
  t.points.push_back(p);
  if (t.points.size() > static_cast<std::size_t>(kTrackPoints)) drop_oldest(t, kTrackDrop);
}

std::optional<TrackCentre> track_centre(TowedTrack& t, double s) {
  const std::size_t n = t.points.size();
  if (n < 2) return std::nullopt;
  const double target = t.along.back() - s;
  std::size_t i = n - 2;  // the leg i .. i+1 holding the target
  while (i > 0 && t.along[i] > target) --i;
  const MapPoint a = t.points[i], b = t.points[i + 1];
  const double leg = t.along[i + 1] - t.along[i];
  TrackCentre c;
  c.ux = (b.easting - a.easting) / leg;
  c.uy = (b.northing - a.northing) / leg;
  const double from_a = target - t.along[i];  // negative: behind the first point
  c.centre = {a.easting + c.ux * from_a, a.northing + c.uy * from_a};
  if (n - 1 - i > static_cast<std::size_t>(kTrackDrop)) drop_oldest(t, i);
  return c;
}

}  // namespace quelor
