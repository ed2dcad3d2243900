#include "app/background/background_drawing.h"

#include <windows.h>
#undef MessageBox

#include "app/background/background_actions.h"
#include "app/logging/logging_session.h"
#include "app/map/live_map_win.h"
#include "background/tile_drawing.h"
#include "platform/win32/win32_file_system.h"

namespace quelor {

namespace {

BackgroundLayer& background_layer() {
  static BackgroundLayer layer;
  return layer;
}

void decorate(Canvas& tile, int tx, int ty) {
  TileSurface* tiles = live_map_tiles();
  if (!tiles || background_files().files.empty()) return;
  Win32FileSystem fs;
  BackgroundLayer& layer = background_layer();
  plan_background_layer(layer, background_files(), live_background_frame(), fs);
  draw_background_layer_tile(layer, tile, tx, ty, tiles->tile_width(), tiles->tile_height());
}

void invalidate_map() {
  if (HWND map = logging_session().children.map) InvalidateRect(map, nullptr, FALSE);
}

}  // namespace

void reset_background_layer(TileSurface& tiles) {
  forget_background_files();
  background_layer() = {};
  tiles.grid_decoration = decorate;
}

MapFrame live_background_frame() {
  MapFrame f = live_map_state().map.frame;
  if (TileSurface* tiles = live_map_tiles()) {
    f.tile_width = tiles->tile_width();
    f.tile_height = tiles->tile_height();
  }
  return f;
}

void draw_new_background_file(const BackgroundDrawing& drawing) {
  background_layer().planned = false;  // the table changed
  if (TileSurface* tiles = live_map_tiles()) draw_background_grid(*tiles, drawing, kBackgroundColour);
  invalidate_map();
}

void redraw_whole_map_for_background() {
  background_layer().planned = false;
  redraw_whole_map();
}

}  // namespace quelor
