#pragma once
// The map's world frame: survey coordinates (map units) to world pixels
// around the origin, and world pixels to tiles of the 2000 x 2000 tile grid
// and pixels inside a tile. World px grows east, py north; a tile's pixel
// rows count down from its top edge.

#include <cstdint>

#include "datafile/append_scan.h"  // MapFrame

namespace quelor {

inline constexpr int kTileGridSize = 2000;
inline constexpr int kOriginColumn = 1001;  // px 1..W
inline constexpr int kOriginRow = 1000;     // py 0..H-1
inline constexpr int kUsableTileFirst = 3;  // the map is full outside 3..1996
inline constexpr int kUsableTileLast = 1996;

using WorldCoordinate = std::int64_t;

struct WorldPixel {
  WorldCoordinate x = 0, y = 0;
  friend bool operator==(const WorldPixel&, const WorldPixel&) = default;
};

struct TilePixel {
  int tx = 0, ty = 0;  // may lie outside 0..1999 (see tile_in_grid)
  int x = 0, y = 0;    // 0..W-1, 0..H-1
  friend bool operator==(const TilePixel&, const TilePixel&) = default;
};

// W / map size, the map size taken as at least 1.
double pixels_per_unit(int tile_width, double map_size);

// floor(value + 0.5), kept within +-2^40 (far beyond the tile grid).
WorldCoordinate round_to_pixel(double value);

WorldPixel world_pixel(const MapFrame& frame, double easting, double northing);

// Floor division with a non-negative remainder.
TilePixel tile_pixel(WorldPixel p, int tile_width, int tile_height);

bool tile_in_grid(int tx, int ty);
bool tile_usable(int tx, int ty);

// World pixel of the top-left pixel (0, 0) of a tile.
WorldPixel tile_origin(int tx, int ty, int tile_width, int tile_height);

// A world pixel in the pixel frame of tile (tx, ty) (may lie outside it).
struct LocalPixel {
  WorldCoordinate x = 0, y = 0;
};
LocalPixel local_pixel(WorldPixel p, int tx, int ty, int tile_width, int tile_height);

}  // namespace quelor
