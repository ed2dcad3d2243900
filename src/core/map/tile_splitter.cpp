#include "map/tile_splitter.h"

#include <array>
#include <cstdlib>

namespace quelor {

namespace {

bool draw_line_in(TileSurface& tiles, const GridSpec& grid, int tx, int ty, WorldPixel a, WorldPixel b,
                  PaletteColour colour, int width) {
  Canvas* c = make_tile_pair(tiles, grid, tx, ty);
  if (!c) return false;
  const int w = tiles.tile_width(), h = tiles.tile_height();
  const LocalPixel p = local_pixel(a, tx, ty, w, h), q = local_pixel(b, tx, ty, w, h);
  c->line(static_cast<int>(p.x), static_cast<int>(p.y), static_cast<int>(q.x), static_cast<int>(q.y), colour, width);
  return true;
}

// Between diagonal neighbours: the tile the line passes through at the
// shared vertical edge (half a pixel left of the right tile's first column).
std::array<int, 2> corner_tile(const TilePixel& ta, const TilePixel& tb, WorldPixel a, WorldPixel b, int w, int h) {
  const TilePixel& right = ta.tx > tb.tx ? ta : tb;
  const double edge_x = static_cast<double>(tile_origin(right.tx, right.ty, w, h).x) - 0.5;
  const double t = (edge_x - static_cast<double>(a.x)) / static_cast<double>(b.x - a.x);
  const double y_at_edge = static_cast<double>(a.y) + t * static_cast<double>(b.y - a.y);
  // Rows above the edge between the two rows belong to the upper row.
  const int upper = std::max(ta.ty, tb.ty);
  const double row_edge = static_cast<double>(tile_origin(0, upper, w, h).y - (h - 1)) - 0.5;
  const int row_at_edge = y_at_edge > row_edge ? upper : upper - 1;
  const TilePixel& left = ta.tx > tb.tx ? tb : ta;
  // At the edge the line leaves the left column: the corner tile is the left
  // column's neighbour row if the line there is not in the left tile's row.
  if (row_at_edge != left.ty) return {left.tx, row_at_edge};
  return {right.tx, left.ty};
}

}  // namespace

bool split_line(TileSurface& tiles, const GridSpec& grid, WorldPixel a, WorldPixel b, PaletteColour colour, int width) {
  const int w = tiles.tile_width(), h = tiles.tile_height();
  const TilePixel ta = tile_pixel(a, w, h), tb = tile_pixel(b, w, h);
  const int dx = std::abs(ta.tx - tb.tx), dy = std::abs(ta.ty - tb.ty);
  if (dx > 1 || dy > 1) return false;
  bool drawn = false;
  if (tile_in_grid(ta.tx, ta.ty)) drawn |= draw_line_in(tiles, grid, ta.tx, ta.ty, a, b, colour, width);
  if (dx == 0 && dy == 0) return drawn;
  if (tile_in_grid(tb.tx, tb.ty)) drawn |= draw_line_in(tiles, grid, tb.tx, tb.ty, a, b, colour, width);
  if (dx == 1 && dy == 1) {
    const auto [cx, cy] = corner_tile(ta, tb, a, b, w, h);
    if (tile_in_grid(cx, cy)) drawn |= draw_line_in(tiles, grid, cx, cy, a, b, colour, width);
  }
  return drawn;
}

bool split_disc(TileSurface& tiles, const GridSpec& grid, WorldPixel centre, int radius, PaletteColour colour) {
  const int w = tiles.tile_width(), h = tiles.tile_height();
  const TilePixel t = tile_pixel(centre, w, h);
  const int left = t.x - radius < 0 ? -1 : 0, right = t.x + radius + 1 > w - 1 ? 1 : 0;
  const int up = t.y - radius < 0 ? 1 : 0, down = t.y + radius + 1 > h - 1 ? -1 : 0;
  bool drawn = false;
  for (int ddx = left; ddx <= right; ++ddx)
    for (int ddy = down; ddy <= up; ++ddy) {
      const int tx = t.tx + ddx, ty = t.ty + ddy;
      if (!tile_in_grid(tx, ty)) continue;
      Canvas* c = make_tile_pair(tiles, grid, tx, ty);
      if (!c) continue;
      const LocalPixel p = local_pixel(centre, tx, ty, w, h);
      c->disc(static_cast<int>(p.x), static_cast<int>(p.y), radius, colour);
      drawn = true;
    }
  return drawn;
}

}  // namespace quelor
