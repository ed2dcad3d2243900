#include "background/tile_drawing.h"

#include <algorithm>

#include "background/label_font.h"
#include "background/loader.h"
#include "map/map_geometry.h"

namespace quelor {

namespace {

struct TileBox {
  WorldCoordinate left, top, right, bottom;  // tile pixels, inclusive
};

bool reaches(const TileBox& t, WorldCoordinate x0, WorldCoordinate y0, WorldCoordinate x1, WorldCoordinate y1,
             WorldCoordinate margin) {
  return std::max(x0, x1) + margin >= t.left && std::min(x0, x1) - margin <= t.right &&
         std::max(y0, y1) + margin >= t.top && std::min(y0, y1) - margin <= t.bottom;
}

void span(Canvas& c, int x0, int x1, int y, PaletteColour colour) { c.line(x0, y, x1 + 1, y, colour, 1); }

void draw_symbol(Canvas& c, SymbolShape shape, int x, int y, int h, PaletteColour colour) {
  switch (shape) {
    case SymbolShape::kDot: c.disc(x, y, h, colour); return;
    case SymbolShape::kSquare:
      for (int row = y - h; row <= y + h; ++row) span(c, x - h, x + h, row, colour);
      return;
    case SymbolShape::kTriangle:
      // Apex up, base on the row y + h.
      for (int r = 0; r <= 2 * h; ++r) span(c, x - r / 2, x + r / 2, y - h + r, colour);
      return;
  }
}

// The symbol's outline with the file's 1-, 2- or 3-pixel pen (drawn over
// its fill in the same colour, so a wider pen widens the symbol).
void outline_symbol(Canvas& c, SymbolShape shape, int x, int y, int h, int pen, PaletteColour colour) {
  if (pen <= 1) return;  // a 1-pixel outline lies on the fill's own edge
  if (shape == SymbolShape::kDot) {
    c.disc(x, y, h + pen / 2, colour);
    return;
  }
  const int corners[][2] = {{x - h, y - h}, {x + h, y - h}, {x + h, y + h}, {x - h, y + h}};
  const int apex[][2] = {{x, y - h}, {x + h, y + h}, {x - h, y + h}};
  const bool square = shape == SymbolShape::kSquare;
  const int n = square ? 4 : 3;
  for (int i = 0; i < n; ++i) {
    const int* a = square ? corners[i] : apex[i];
    const int* b = square ? corners[(i + 1) % n] : apex[(i + 1) % n];
    c.line(a[0], a[1], b[0], b[1], colour, pen);
  }
}

}  // namespace

LabelPainter bitmap_label_painter() {
  LabelPainter p;
  p.width = [](std::string_view text) { return label_text_width(text, kLabelScale); };
  p.height = kLabelGlyphHeight * kLabelScale;
  p.draw = [](Canvas& tile, int x, int top, std::string_view text, PaletteColour colour) {
    draw_label_text(text, x, top, kLabelScale, [&](int px, int py) { tile.line(px, py, px + 1, py, colour, 1); });
  };
  return p;
}

int draw_background_tile(Canvas& tile, int tx, int ty, int w, int h, const BackgroundDrawing& d, PaletteColour colour,
                         const LabelPainter& painter) {
  const TileBox box{0, 0, w - 1, h - 1};
  const auto local = [&](const WorldPixel& p) { return local_pixel(p, tx, ty, w, h); };
  int drawn = 0;
  const int half = d.half_size;
  for (const WorldPixel& p : d.symbols) {
    const LocalPixel l = local(p);
    if (!reaches(box, l.x, l.y, l.x, l.y, half + 2)) continue;
    draw_symbol(tile, d.style.shape, static_cast<int>(l.x), static_cast<int>(l.y), half, colour);
    outline_symbol(tile, d.style.shape, static_cast<int>(l.x), static_cast<int>(l.y), half, d.style.pen_width, colour);
    ++drawn;
  }
  const int pen = d.style.pen_width;
  for (const std::vector<WorldPixel>& line : d.lines)
    for (std::size_t i = 1; i < line.size(); ++i) {
      const LocalPixel a = local(line[i - 1]), b = local(line[i]);
      if (!reaches(box, a.x, a.y, b.x, b.y, pen + 1)) continue;
      tile.line(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x), static_cast<int>(b.y), colour,
                pen);
      ++drawn;
    }
  for (const BackgroundLabel& label : d.labels) {
    const LocalPixel l = local(label.at);
    const WorldCoordinate top = l.y - painter.height / 2;
    const WorldCoordinate right = l.x + painter.width(label.text);
    if (!reaches(box, l.x, top, right, top + painter.height, 1)) continue;
    painter.draw(tile, static_cast<int>(l.x), static_cast<int>(top), label.text, colour);
    ++drawn;
  }
  return drawn;
}

void draw_backgrounds_tile(Canvas& tile, int tx, int ty, int w, int h, const std::vector<BackgroundDrawing>& drawings,
                           PaletteColour colour, const LabelPainter& labels) {
  for (const BackgroundDrawing& d : drawings) draw_background_tile(tile, tx, ty, w, h, d, colour, labels);
}

void draw_background_grid(TileSurface& tiles, const BackgroundDrawing& d, PaletteColour colour,
                          const LabelPainter& labels) {
  const int w = tiles.tile_width(), h = tiles.tile_height();
  tiles.for_each(kGridLayer,
                 [&](int tx, int ty, Canvas& tile) { draw_background_tile(tile, tx, ty, w, h, d, colour, labels); });
}

namespace {

bool same_frame(const MapFrame& a, const MapFrame& b) {
  return a.origin_easting == b.origin_easting && a.origin_northing == b.origin_northing &&
         a.pixels_per_unit == b.pixels_per_unit && a.tile_width == b.tile_width && a.tile_height == b.tile_height;
}

}  // namespace

std::optional<OperatorMessage> plan_background_layer(BackgroundLayer& layer, const BackgroundFileTable& table,
                                                     const MapFrame& frame, FileSystem& fs) {
  if (layer.planned && same_frame(layer.frame, frame)) return std::nullopt;
  std::optional<OperatorMessage> failure;
  layer.plans = plan_all_background_files(table, frame, fs, &failure);
  layer.frame = frame;
  layer.planned = true;
  return failure;
}

void draw_background_layer_tile(const BackgroundLayer& layer, Canvas& tile, int tx, int ty, int w, int h) {
  draw_backgrounds_tile(tile, tx, ty, w, h, layer.plans, layer.colour, layer.labels);
}

}  // namespace quelor
