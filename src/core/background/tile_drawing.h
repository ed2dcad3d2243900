#pragma once
// Background files drawn into the grid layer: every symbol, line and label
// of a drawing plan that reaches a tile is drawn in that tile's pixels (the
// canvas clips), so whatever crosses a tile edge continues in the
// neighbour, and a grid tile made later gets its part too.

#include <functional>
#include <string_view>
#include <vector>

#include "background/draw_plan.h"
#include "background/file_table.h"
#include "io/file_system.h"
#include "map/canvas.h"
#include "map/tile_store.h"

namespace quelor {

// The label scale of the core's bitmap font.
inline constexpr int kLabelScale = 2;

// How point labels are drawn into a tile: their width and height in pixels
// and the drawing of a text whose left end is at x and top at `top` (the
// label's point lies on the text's middle row).
struct LabelPainter {
  std::function<int(std::string_view)> width;
  int height = 0;
  std::function<void(Canvas& tile, int x, int top, std::string_view text, PaletteColour colour)> draw;
};

// The core's bitmap font at kLabelScale (quelor map); the program gives its
// map font instead.
LabelPainter bitmap_label_painter();

// The background colour of the map: its pens and brush draw every file.
inline constexpr PaletteColour kBackgroundColour{0, 128, 0};

// The parts of one drawing inside grid tile (tx, ty); the number drawn.
int draw_background_tile(Canvas& tile, int tx, int ty, int tile_width, int tile_height,
                         const BackgroundDrawing& drawing, PaletteColour colour,
                         const LabelPainter& labels = bitmap_label_painter());

// Every drawing into one grid tile (a tile just made, or redrawn).
void draw_backgrounds_tile(Canvas& tile, int tx, int ty, int tile_width, int tile_height,
                           const std::vector<BackgroundDrawing>& drawings, PaletteColour colour,
                           const LabelPainter& labels = bitmap_label_painter());

// One drawing into every grid tile that exists.
void draw_background_grid(TileSurface& tiles, const BackgroundDrawing& drawing, PaletteColour colour,
                          const LabelPainter& labels = bitmap_label_painter());

// The loaded files planned for one map frame, drawn into grid tiles.
struct BackgroundLayer {
  std::vector<BackgroundDrawing> plans;
  MapFrame frame;
  bool planned = false;  // for `frame`; cleared when the table changes
  PaletteColour colour = kBackgroundColour;
  LabelPainter labels = bitmap_label_painter();
};

// Plans every loaded file for the frame unless the layer holds them for it
// already; a temporary file that cannot be read gives the message.
std::optional<OperatorMessage> plan_background_layer(BackgroundLayer& layer, const BackgroundFileTable& table,
                                                     const MapFrame& frame, FileSystem& fs);

// The layer's files into a grid tile (the tile surface's grid decoration).
void draw_background_layer_tile(const BackgroundLayer& layer, Canvas& tile, int tx, int ty, int tile_width,
                                int tile_height);

}  // namespace quelor
