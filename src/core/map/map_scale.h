#pragma once
// The Map Size dialog's rules: the values as typed become the map scale,
// grid interval and cursor band, within their limits; a size that would no
// longer hold the survey's track is refused.

#include <optional>

#include "datafile/message_box.h"
#include "map/map_view.h"
#include "settings/settings.h"

namespace quelor {

struct MapScaleEntry {
  long map_size = 40;
  double lines_interval = 2.0;
  int cursor_band_index = 1;
};

MapScaleEntry map_scale_entry(const Settings& s);

// A size typed as 0 or less reads as 1 (also while typing).
long typed_map_size(long typed);

struct MapScaleOutcome {
  bool accepted = false;      // false: the previous values stay (track too large)
  bool size_changed = false;  // clears the map-full flag; whole-map redraw
  bool interval_changed = false;
  std::optional<OperatorMessage> message;  // "Map Size too small" or the raised interval
  bool ring = false;                       // "SOUND_RING" with the refusal
};

// The extents of the survey still fit tiles 3..1996 at this size.
bool track_fits(const MapState& map, long map_size);

MapScaleOutcome apply_map_scale(Settings& s, const MapScaleEntry& entry, const MapState* map);

}  // namespace quelor
