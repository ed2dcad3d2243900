#pragma once
// The core's tile store on software rasters, and the composition of the
// touched range into one image as the map window composes tiles: the grid
// tile copied, then the data tile combined by AND.

#include "map/raster.h"
#include "map/tile_store.h"

namespace quelor {

class RasterTiles : public TileSurface {
 public:
  RasterTiles(int tile_width, int tile_height) : width_(tile_width), height_(tile_height) {}
  int tile_width() const override { return width_; }
  int tile_height() const override { return height_; }
  Canvas* find(int layer, int tx, int ty) override { return tiles_.find(layer, tx, ty); }
  Canvas* make(int layer, int tx, int ty, bool* made = nullptr) override;
  const TileRange& touched() const override { return tiles_.touched(); }
  void for_each(int layer, const std::function<void(int, int, Canvas&)>& visit) override;
  void clear() override { tiles_.clear(); }

  const Raster* raster(int layer, int tx, int ty);
  std::size_t tile_count(int layer) const { return tiles_.count(layer); }
  // Bytes held by the pixels of every tile made.
  std::size_t pixel_bytes() const;

 private:
  int width_, height_;
  SparseTiles<RasterCanvas> tiles_;
};

// One tile as shown: grid copied, data ANDed (white where neither exists).
Raster compose_tile(RasterTiles& tiles, int tx, int ty);

// Columns a..b left to right, rows d..c top to bottom.
Raster compose_range(RasterTiles& tiles, const TileRange& range);

// One tile row of that image (H pixel rows), so that a large range can be
// written band by band without holding the whole image.
Raster compose_band(RasterTiles& tiles, const TileRange& range, int ty);

}  // namespace quelor
