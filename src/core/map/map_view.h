#pragma once
// The map's view and its movements: the first-position centring, the
// cursor band that makes the view follow the operator, pan, zoom and fit,
// map review, the extents of the positions and the map-full flag.

#include "map/grid.h"

namespace quelor {

inline constexpr double kZoomStep = 0.05;
inline constexpr double kPanFactor = 0.05;

// The view: the tile holding its top-left pixel and that pixel inside the
// tile, and its extent in world pixels (right = left + W, bottom = top - H).
struct MapView {
  int tx = 1000, ty = 1000;
  int ox = 0, oy = 0;
  WorldCoordinate left = 0, right = 0, top = 0, bottom = 0;
  friend bool operator==(const MapView&, const MapView&) = default;
};

struct MapExtents {
  bool empty = true;
  double min_easting = 0, max_easting = 0, min_northing = 0, max_northing = 0;
};

struct MapState {
  int tile_width = 400, tile_height = 400;
  MapFrame frame;      // origin, pixels per unit, tile size
  long map_size = 40;  // map units across a tile
  GridSpec grid;
  int cursor_band = 60;  // pixels
  bool initialised = false;
  bool recentre = false;  // after a change of size or a redraw
  bool map_full = false;
  MapView live;
  MapView review;
  bool in_review = false;
  long saved_map_size = 40;  // review keeps the live scale and channel
  double saved_pixels_per_unit = 10.0;
  int saved_channel = 0;
  MapExtents extents;
  WorldPixel last;                 // pixel of the previous position
  int cursor_x = 0, cursor_y = 0;  // window coordinates of the cursor
};

// Cursor band in pixels: (index x 5 + 10) % of the window width.
int cursor_band_width(int cursor_band_index, int window_width);

// A fresh map state for a tile size, map size and grid settings.
MapState make_map_state(int tile_width, int tile_height, long map_size, const GridSpec& grid, int cursor_band);

// Sets the scale (map size at least 1) and recomputes k; the grid spacing
// follows through `grid` computed by the caller with the new k.
void set_map_size(MapState& m, long map_size);

// The view whose top-left is (left, top): tile and offset by floor division.
MapView view_at(WorldCoordinate left, WorldCoordinate top, int tile_width, int tile_height);

// The first position's view: the origin tile pair centred in the window.
MapView centred_view(int tile_width, int tile_height);

// The view being shown: the review view in map review, else the live one.
MapView& shown_view(MapState& m);

// Window coordinates of a world pixel in a view.
int window_x(const MapView& v, WorldPixel p);
int window_y(const MapView& v, WorldPixel p);

// The four tiles under the view (both layers), made when missing.
void make_view_tiles(TileSurface& tiles, const MapState& m, const MapView& v);

struct PositionStep {
  WorldPixel pixel;
  TilePixel tile;
  bool in_grid = true;  // the position's tile lies in 0..1999
  bool first = false;   // the map was initialised by this position
  bool view_moved = false;
  bool became_full = false;
};

// A position (map units) passed to the map: pixel, extents, view following
// (or recentring), the view's tiles, the map-full flag and the cursor.
PositionStep map_position(MapState& m, TileSurface& tiles, double easting, double northing);

enum PanDirection : int { kPanLeft = 0, kPanRight = 1, kPanUp = 2, kPanDown = 3 };

// Pan step: trunc(-((1 + pan factor) M 0.1 - 0.5)) left and up, the opposite
// right and down (7 pixels for M = 76).
int pan_step(int cursor_band);

// Pans the shown view; false (nothing changes) beyond the touched range.
bool map_pan(MapState& m, const TileRange& touched, int direction);

long zoom_in_size(long map_size);
long zoom_out_size(long map_size);
// Map size that fits the extents with the cursor band around them.
long fit_size(const MapExtents& e, int cursor_band_index);
// Fit: the size above and the shown view centred on the extents.
void map_fit(MapState& m, int cursor_band_index);

// Review: copies the live view and keeps the live scale and channel.
void enter_review(MapState& m, int channel);
// Leaves review: the live scale back; returns the saved channel. The caller
// redraws the whole map.
int exit_review(MapState& m);

// Positions outside the tile grid do not widen the extents.
void widen_extents(MapExtents& e, double easting, double northing);

}  // namespace quelor
