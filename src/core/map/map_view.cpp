#include "map/map_view.h"

#include <algorithm>
#include <cmath>

namespace quelor {

int cursor_band_width(int index, int window_width) { return (std::clamp(index, 0, 6) * 5 + 10) * window_width / 100; }

MapState make_map_state(int tile_width, int tile_height, long map_size, const GridSpec& grid, int cursor_band) {
  MapState m;
  m.tile_width = std::max(1, tile_width);
  m.tile_height = std::max(1, tile_height);
  m.frame.tile_width = m.tile_width;
  m.frame.tile_height = m.tile_height;
  set_map_size(m, map_size);
  m.grid = grid;
  m.cursor_band = cursor_band;
  m.live = m.review = centred_view(m.tile_width, m.tile_height);
  return m;
}

void set_map_size(MapState& m, long map_size) {
  m.map_size = std::max(1L, map_size);
  m.frame.pixels_per_unit = pixels_per_unit(m.tile_width, static_cast<double>(m.map_size));
}

MapView view_at(WorldCoordinate left, WorldCoordinate top, int w, int h) {
  MapView v;
  v.left = left;
  v.right = left + w;
  v.top = top;
  v.bottom = top - h;
  // Window pixel (0, 0) is world pixel (left, top - 1).
  const TilePixel t = tile_pixel({left, top - 1}, w, h);
  v.tx = t.tx;
  v.ty = t.ty;
  v.ox = t.x;
  v.oy = t.y;
  return v;
}

MapView centred_view(int w, int h) { return view_at(-w / 2 + 1, h / 2, w, h); }

MapView& shown_view(MapState& m) { return m.in_review ? m.review : m.live; }

int window_x(const MapView& v, WorldPixel p) {
  return static_cast<int>(std::clamp<WorldCoordinate>(p.x - v.left, -1 << 30, 1 << 30));
}
int window_y(const MapView& v, WorldPixel p) {
  return static_cast<int>(std::clamp<WorldCoordinate>(v.top - p.y - 1, -1 << 30, 1 << 30));
}

void make_view_tiles(TileSurface& tiles, const MapState& m, const MapView& v) {
  for (int dx = 0; dx <= 1; ++dx)
    for (int dy = 0; dy <= 1; ++dy)
      if (tile_in_grid(v.tx + dx, v.ty - dy)) make_tile_pair(tiles, m.grid, v.tx + dx, v.ty - dy);
}

void widen_extents(MapExtents& e, double easting, double northing) {
  if (e.empty) {
    e = {false, easting, easting, northing, northing};
    return;
  }
  e.min_easting = std::min(e.min_easting, easting);
  e.max_easting = std::max(e.max_easting, easting);
  e.min_northing = std::min(e.min_northing, northing);
  e.max_northing = std::max(e.max_northing, northing);
}

namespace {

bool band_reached(const MapView& v, WorldPixel p, WorldPixel last, int band) {
  const WorldCoordinate dpx = p.x - last.x, dpy = p.y - last.y;
  const bool horizontal = dpx > 0 ? p.x > v.right - band : p.x < v.left + band;
  const bool vertical = dpy > 0 ? p.y > v.top - band : p.y < v.bottom + band;
  return horizontal || vertical;
}

void first_position(MapState& m, TileSurface& tiles, PositionStep& s) {
  m.live = centred_view(m.tile_width, m.tile_height);
  for (int tx = 1000; tx <= 1001; ++tx)
    for (int ty = 999; ty <= 1000; ++ty) make_tile_pair(tiles, m.grid, tx, ty);
  m.initialised = true;
  s.first = true;
}

}  // namespace

PositionStep map_position(MapState& m, TileSurface& tiles, double easting, double northing) {
  PositionStep s;
  s.pixel = world_pixel(m.frame, easting, northing);
  s.tile = tile_pixel(s.pixel, m.tile_width, m.tile_height);
  s.in_grid = tile_in_grid(s.tile.tx, s.tile.ty);
  if (s.in_grid) widen_extents(m.extents, easting, northing);
  if (!m.initialised) {
    first_position(m, tiles, s);
  } else if (m.recentre) {
    m.live = view_at(s.pixel.x - m.cursor_x, s.pixel.y + m.cursor_y + 1, m.tile_width, m.tile_height);
    m.recentre = false;
    s.view_moved = true;
  } else if (band_reached(m.live, s.pixel, m.last, m.cursor_band)) {
    const MapView before = m.live;
    m.live =
        view_at(before.left + (s.pixel.x - m.last.x), before.top + (s.pixel.y - m.last.y), m.tile_width, m.tile_height);
    s.view_moved = true;
  }
  if (s.view_moved) make_view_tiles(tiles, m, m.live);
  m.last = s.pixel;
  m.cursor_x = window_x(m.live, s.pixel);
  m.cursor_y = window_y(m.live, s.pixel);
  if (!m.map_full && !range_usable(tiles.touched())) {
    m.map_full = true;
    s.became_full = true;
  }
  return s;
}

int pan_step(int band) { return static_cast<int>(std::trunc((1 + kPanFactor) * band * 0.1 - 0.5)); }

bool map_pan(MapState& m, const TileRange& touched, int direction) {
  if (touched.empty) return false;
  MapView& v = shown_view(m);
  const int p = pan_step(m.cursor_band);
  WorldCoordinate left = v.left, top = v.top;
  switch (direction) {
    case kPanLeft: left -= p; break;
    case kPanRight: left += p; break;
    case kPanUp: top += p; break;
    default: top -= p; break;
  }
  const MapView next = view_at(left, top, m.tile_width, m.tile_height);
  if (next.tx < touched.min_column || next.tx > touched.max_column - 1 || next.ty > touched.max_row ||
      next.ty < touched.min_row + 1)
    return false;
  v = next;
  return true;
}

long zoom_in_size(long size) {
  long next = static_cast<long>((1 - kZoomStep) * static_cast<double>(size) + 0.5);
  if (next == size) next = size - 1;
  return std::max(1L, next);
}

long zoom_out_size(long size) {
  long next = static_cast<long>((1 + kZoomStep) * static_cast<double>(size) + 0.5);
  if (next == size) next = size + 1;
  return next;
}

long fit_size(const MapExtents& e, int index) {
  const double extent = e.empty ? 0.0 : std::max(e.max_easting - e.min_easting, e.max_northing - e.min_northing);
  long size = static_cast<long>((extent + 0.5) * (1 + (std::clamp(index, 0, 6) * 5 + 5) / 100.0) + 10);
  if (extent >= static_cast<double>(size)) size += 10;
  return std::max(1L, size);
}

void map_fit(MapState& m, int index) {
  set_map_size(m, fit_size(m.extents, index));
  const double mid_e = (m.extents.min_easting + m.extents.max_easting) / 2;
  const double mid_n = (m.extents.min_northing + m.extents.max_northing) / 2;
  const WorldPixel c = m.extents.empty ? WorldPixel{} : world_pixel(m.frame, mid_e, mid_n);
  shown_view(m) = view_at(c.x - m.tile_width / 2 + 1, c.y + m.tile_height / 2, m.tile_width, m.tile_height);
}

void enter_review(MapState& m, int channel) {
  if (m.in_review) return;
  m.review = m.live;
  m.saved_map_size = m.map_size;
  m.saved_pixels_per_unit = m.frame.pixels_per_unit;
  m.saved_channel = channel;
  m.in_review = true;
}

int exit_review(MapState& m) {
  if (!m.in_review) return m.saved_channel;
  m.in_review = false;
  m.map_size = m.saved_map_size;
  m.frame.pixels_per_unit = m.saved_pixels_per_unit;
  m.recentre = true;
  return m.saved_channel;
}

}  // namespace quelor
