#include "map/raster_tiles.h"

namespace quelor {

void extend_range(TileRange& r, int tx, int ty) {
  if (r.empty) {
    r = {false, tx, tx, ty, ty};
    return;
  }
  r.min_column = std::min(r.min_column, tx);
  r.max_column = std::max(r.max_column, tx);
  r.min_row = std::min(r.min_row, ty);
  r.max_row = std::max(r.max_row, ty);
}

bool range_usable(const TileRange& r) {
  return r.empty || (tile_usable(r.min_column, r.min_row) && tile_usable(r.max_column, r.max_row));
}

Canvas* RasterTiles::make(int layer, int tx, int ty, bool* made) {
  return tiles_.make(layer, tx, ty, made, [this] { return std::make_unique<RasterCanvas>(width_, height_); });
}

void RasterTiles::for_each(int layer, const std::function<void(int, int, Canvas&)>& visit) {
  tiles_.for_each(layer, [&](int tx, int ty, RasterCanvas& c) { visit(tx, ty, c); });
}

const Raster* RasterTiles::raster(int layer, int tx, int ty) {
  RasterCanvas* c = tiles_.find(layer, tx, ty);
  return c ? &c->raster() : nullptr;
}

std::size_t RasterTiles::pixel_bytes() const {
  return (tiles_.count(kGridLayer) + tiles_.count(kDataLayer)) * static_cast<std::size_t>(width_) * height_ * 3;
}

Raster compose_tile(RasterTiles& tiles, int tx, int ty) {
  Raster out(tiles.tile_width(), tiles.tile_height());
  if (const Raster* grid = tiles.raster(kGridLayer, tx, ty)) raster_copy(out, *grid, 0, 0);
  if (const Raster* data = tiles.raster(kDataLayer, tx, ty)) raster_and(out, *data, 0, 0);
  return out;
}

Raster compose_band(RasterTiles& tiles, const TileRange& range, int ty) {
  if (range.empty) return Raster();
  const int w = tiles.tile_width(), h = tiles.tile_height();
  Raster out((range.max_column - range.min_column + 1) * w, h);
  for (int tx = range.min_column; tx <= range.max_column; ++tx) {
    const int at_x = (tx - range.min_column) * w;
    if (const Raster* grid = tiles.raster(kGridLayer, tx, ty)) raster_copy(out, *grid, at_x, 0);
    if (const Raster* data = tiles.raster(kDataLayer, tx, ty)) raster_and(out, *data, at_x, 0);
  }
  return out;
}

Raster compose_range(RasterTiles& tiles, const TileRange& range) {
  if (range.empty) return Raster();
  const int w = tiles.tile_width(), h = tiles.tile_height();
  const int columns = range.max_column - range.min_column + 1, rows = range.max_row - range.min_row + 1;
  Raster out(columns * w, rows * h);
  for (int ty = range.max_row; ty >= range.min_row; --ty)
    for (int tx = range.min_column; tx <= range.max_column; ++tx) {
      const int at_x = (tx - range.min_column) * w, at_y = (range.max_row - ty) * h;
      if (const Raster* grid = tiles.raster(kGridLayer, tx, ty)) raster_copy(out, *grid, at_x, at_y);
      if (const Raster* data = tiles.raster(kDataLayer, tx, ty)) raster_and(out, *data, at_x, at_y);
    }
  return out;
}

}  // namespace quelor
