#pragma once
// The sensor footprint of a fix: the cross-line (bar) of the swath at the
// sensor centre, for a sensor rigidly offset from the GPS antenna or towed
// behind it along the antenna's track. Map units throughout.

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

struct MapPoint {
  double easting = 0, northing = 0;
  friend bool operator==(const MapPoint&, const MapPoint&) = default;
};

struct Bar {
  MapPoint left, right;
  // The four corner values as the swath records hold them.
  std::array<double, 4> corners() const { return {left.easting, left.northing, right.easting, right.northing}; }
};

struct FootprintGeometry {
  double inline_offset = 0.0;  // s: from the antenna back to the sensor
  double left_half = 0.5;      // L
  double right_half = 0.5;     // R
  bool towed = false;          // offset mode +1: the sensor follows the track
};

// The bar at sensor centre z for the unit direction of travel (ux, uy): left
// end z + L (-uy, ux), right end z + R (uy, -ux).
Bar bar_at(MapPoint z, double ux, double uy, double left_half, double right_half);

// Swath width in metres by instrument (swath list, EM61 coil width times
// the factor, Grad601 twice the separation with two sensors).
double swath_width_metres(const Settings& s, InstrumentType instrument_type);

// Half-widths from the swath and the survey's lateral antenna offset, and the
// in-line offset, all converted to the map unit.
FootprintGeometry footprint_geometry(const Settings& s, InstrumentType instrument_type, double lateral_offset_metres,
                                     double inline_offset_metres);

inline constexpr int kTrackPoints = 40;
inline constexpr int kTrackDrop = 11;

// The antenna track of a towed sensor: up to 40 points with the distance
// along the track.
struct TowedTrack {
  std::vector<MapPoint> points;
  std::vector<double> along;
};

// Stores a point when it lies away from the last one; drops the oldest 11
// when more than 40 are stored.
void track_add(TowedTrack& t, MapPoint p);

// The sensor centre s behind the last point along the track and the unit
// direction of the leg it lies on; extrapolated back from the first leg
// while the track is shorter than s. Nothing with fewer than two points.
struct TrackCentre {
  MapPoint centre;
  double ux = 0, uy = 0;
};
std::optional<TrackCentre> track_centre(TowedTrack& t, double s);

}  // namespace quelor
