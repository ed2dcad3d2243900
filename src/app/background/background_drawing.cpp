#include "app/background/background_drawing.h"

#include <windows.h>
#undef MessageBox

#include "app/app_state.h"
#include "app/background/background_actions.h"
#include "app/logging/logging_session.h"
#include "app/map/gdi_tiles.h"
#include "app/map/live_map_win.h"
#include "background/tile_drawing.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_box.h"

namespace quelor {

namespace {

BackgroundLayer& background_layer() {
  static BackgroundLayer layer;
  return layer;
}

std::wstring label_text(std::string_view text) {
  std::wstring w(text.size(), L'\0');
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), w.data(), static_cast<int>(w.size()));
  w.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return w;
}

// Labels in the map's font (the colour bar's), transparent, with the tiles'
// own device context measuring them.
LabelPainter map_font_labels(TileSurface& surface) {
  LabelPainter p;
  GdiTiles* tiles = dynamic_cast<GdiTiles*>(&surface);
  if (!tiles) return bitmap_label_painter();
  HFONT font = g_fonts[kPlainFont];
  p.height = tiles->text_size(L"", font).cy;
  p.width = [tiles, font](std::string_view text) {
    return static_cast<int>(tiles->text_size(label_text(text), font).cx);
  };
  p.draw = [font](Canvas& tile, int x, int top, std::string_view text, PaletteColour colour) {
    if (auto* gdi = dynamic_cast<GdiCanvas*>(&tile)) gdi->text(x, top, label_text(text), colour, font);
  };
  return p;
}

void decorate(Canvas& tile, int tx, int ty) {
  TileSurface* tiles = live_map_tiles();
  if (!tiles || background_files().files.empty()) return;
  Win32FileSystem fs;
  BackgroundLayer& layer = background_layer();
  // A point file that cannot be read is told once, when the layer is planned.
  if (const auto failure = plan_background_layer(layer, background_files(), live_background_frame(), fs))
    Win32MessageBox(GetParent(logging_session().children.map)).show(*failure);
  draw_background_layer_tile(layer, tile, tx, ty, tiles->tile_width(), tiles->tile_height());
}

void invalidate_map() {
  if (HWND map = logging_session().children.map) InvalidateRect(map, nullptr, FALSE);
}

}  // namespace

void reset_background_layer(TileSurface& tiles) {
  background_layer() = {};  // the loaded files are planned again for the new survey's frame
  background_layer().labels = map_font_labels(tiles);
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

void background_table_changed() { background_layer().planned = false; }

void draw_new_background_file(const BackgroundDrawing& drawing) {
  background_layer().planned = false;  // the table changed
  if (TileSurface* tiles = live_map_tiles())
    draw_background_grid(*tiles, drawing, kBackgroundColour, background_layer().labels);
  invalidate_map();
}

void redraw_whole_map_for_background() {
  background_layer().planned = false;
  redraw_whole_map();
}

}  // namespace quelor
