#include "map/map_scale.h"

#include <algorithm>

namespace quelor {

MapScaleEntry map_scale_entry(const Settings& s) {
  return {s.map.map_size, s.map.lines_interval, s.map.cursor_band_index};
}

long typed_map_size(long typed) { return typed <= 0 ? 1 : typed; }

bool track_fits(const MapState& map, long map_size) {
  if (map.extents.empty || !map.initialised) return true;
  MapFrame f = map.frame;
  f.pixels_per_unit = pixels_per_unit(map.tile_width, static_cast<double>(std::max(1L, map_size)));
  for (double e : {map.extents.min_easting, map.extents.max_easting})
    for (double n : {map.extents.min_northing, map.extents.max_northing}) {
      const TilePixel t = tile_pixel(world_pixel(f, e, n), map.tile_width, map.tile_height);
      if (!tile_usable(t.tx, t.ty)) return false;
    }
  return true;
}

MapScaleOutcome apply_map_scale(Settings& s, const MapScaleEntry& entry, const MapState* map) {
  MapScaleOutcome o;
  const long size = typed_map_size(entry.map_size);
  if (map && !track_fits(*map, size)) {
    o.ring = true;
    o.message =
        OperatorMessage{"WARNING", "Map Size too small\r\nPlease select Map Size option\r\nand increase the map size",
                        DialogTemplate::kOk};
    return o;
  }
  double interval = entry.lines_interval;
  if (!(interval >= 0.5)) {
    interval = 0.5;
    o.message = OperatorMessage{
        "INFORMATION", "Grid Interval must be >= 0.5 of map unit. Program assumed minimum value.", DialogTemplate::kOk};
  }
  o.accepted = true;
  o.size_changed = size != s.map.map_size;
  o.interval_changed = interval != s.map.lines_interval;
  s.map.map_size = size;
  s.map.lines_interval = interval;
  s.map.cursor_band_index = std::clamp(entry.cursor_band_index, 0, 6);
  return o;
}

}  // namespace quelor
