#include "map/map_geometry.h"

#include <algorithm>
#include <cmath>

namespace quelor {

namespace {

constexpr double kPixelLimit = 1099511627776.0;  // 2^40

WorldCoordinate floor_div(WorldCoordinate a, WorldCoordinate b) {
  WorldCoordinate q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int clamp_tile(WorldCoordinate t) { return static_cast<int>(std::clamp<WorldCoordinate>(t, -1, kTileGridSize)); }

}  // namespace

double pixels_per_unit(int tile_width, double map_size) {
  return static_cast<double>(tile_width) / std::max(1.0, map_size);
}

WorldCoordinate round_to_pixel(double value) {
  const double v = std::floor(value + 0.5);
  if (!(v > -kPixelLimit)) return static_cast<WorldCoordinate>(-kPixelLimit);  // also NaN
  if (v > kPixelLimit) return static_cast<WorldCoordinate>(kPixelLimit);
  return static_cast<WorldCoordinate>(v);
}

WorldPixel world_pixel(const MapFrame& f, double easting, double northing) {
  return {round_to_pixel((easting - f.origin_easting) * f.pixels_per_unit),
          round_to_pixel((northing - f.origin_northing) * f.pixels_per_unit)};
}

TilePixel tile_pixel(WorldPixel p, int tile_width, int tile_height) {
  const WorldCoordinate w = std::max(1, tile_width), h = std::max(1, tile_height);
  const WorldCoordinate cx = floor_div(p.x - 1, w);
  const WorldCoordinate cy = floor_div(p.y, h);
  TilePixel t;
  t.tx = clamp_tile(kOriginColumn + cx);
  t.ty = clamp_tile(kOriginRow + cy);
  t.x = static_cast<int>((p.x - 1) - cx * w);
  t.y = static_cast<int>((h - 1) - (p.y - cy * h));
  return t;
}

bool tile_in_grid(int tx, int ty) { return tx >= 0 && tx < kTileGridSize && ty >= 0 && ty < kTileGridSize; }

bool tile_usable(int tx, int ty) {
  return tx >= kUsableTileFirst && tx <= kUsableTileLast && ty >= kUsableTileFirst && ty <= kUsableTileLast;
}

WorldPixel tile_origin(int tx, int ty, int tile_width, int tile_height) {
  return {static_cast<WorldCoordinate>(tx - kOriginColumn) * tile_width + 1,
          static_cast<WorldCoordinate>(ty - kOriginRow) * tile_height + (tile_height - 1)};
}

LocalPixel local_pixel(WorldPixel p, int tx, int ty, int tile_width, int tile_height) {
  const WorldPixel o = tile_origin(tx, ty, tile_width, tile_height);
  return {p.x - o.x, o.y - p.y};
}

}  // namespace quelor
