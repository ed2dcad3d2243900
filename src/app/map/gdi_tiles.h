#pragma once
// The map tiles of the program: one DIB section per made tile, drawn through a
// shared memory DC. DIB sections, not screen-compatible bitmaps: their pixels
// are the process's own pages, given back when freed, where Wine keeps a
// compatible bitmap's pixels in a heap that a day of freed tiles fragments.
// Pens and brushes are made once per colour and width.
// Tiles out of sight are packed (their pixels kept run by run, the bitmap
// freed) and unpacked when they are drawn into or shown again, so memory and
// GDI objects follow what is seen, not the area surveyed.

#include <windows.h>

#include <map>
#include <string>

#include "map/tile_pack.h"
#include "map/tile_store.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"

namespace quelor {

class GdiTiles;

class GdiCanvas : public Canvas {
 public:
  GdiCanvas(GdiTiles& owner, HBITMAP bitmap, std::uint32_t* bits) : owner_(owner), bitmap_(bitmap), bits_(bits) {}
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;
  void fill(PaletteColour colour) override;
  void line(int x0, int y0, int x1, int y1, PaletteColour colour, int width) override;
  void disc(int x, int y, int radius, PaletteColour colour) override;
  // Text in `font` with its top-left at (x, top), on a transparent background.
  void text(int x, int top, const std::wstring& text, PaletteColour colour, HFONT font);
  // The tile's bitmap, unpacked first; nullptr when no bitmap can be had.
  HBITMAP bitmap();
  void pack();

 private:
  HDC select();
  bool unpack();
  GdiTiles& owner_;
  HBITMAP bitmap_;
  std::uint32_t* bits_;  // the bitmap's pixels, row by row from the top
  PackedPixels packed_;
};

class GdiTiles : public TileSurface {
 public:
  // `keep` tiles of each layer stay bitmaps after a trim (six: the four of
  // the view and two more, so that a view stepping back and forth over a tile
  // edge does not pack and unpack at every fix); while drawing, the least
  // recently used are packed so that no more bitmaps are held at once.
  GdiTiles(int tile_width, int tile_height, std::size_t keep = 6);
  ~GdiTiles() override;
  GdiTiles(const GdiTiles&) = delete;
  GdiTiles& operator=(const GdiTiles&) = delete;
  int tile_width() const override { return width_; }
  int tile_height() const override { return height_; }
  std::size_t tile_pixels() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_); }
  Canvas* find(int layer, int tx, int ty) override { return tiles_.find(layer, tx, ty); }
  Canvas* make(int layer, int tx, int ty, bool* made = nullptr) override;
  const TileRange& touched() const override { return tiles_.touched(); }
  void for_each(int layer, const std::function<void(int, int, Canvas&)>& visit) override;
  void clear() override;

  HBITMAP bitmap(int layer, int tx, int ty);
  // Packs every tile of each layer but the `keep` most recently used.
  void trim(std::size_t keep);
  void trim();  // by the store's own `keep`
  std::size_t bitmap_count() const { return bitmaps_; }
  HDC drawing_dc() const { return dc_.get(); }
  // A tile-sized DIB section (32 bits, top-down) and its pixels.
  HBITMAP new_bitmap(std::uint32_t** bits);
  void release_bitmap(HBITMAP b);
  // The one bitmap a paint composes the view in, made once.
  HBITMAP view_buffer();
  void make_room();
  void deselect(HBITMAP b);
  HPEN pen(PaletteColour colour, int width);
  HBRUSH brush(PaletteColour colour);
  SIZE text_size(const std::wstring& text, HFONT font);

 private:
  int width_, height_;
  std::size_t keep_;
  std::size_t bitmaps_ = 0;  // tiles held as bitmaps
  MemoryDc dc_;              // memory DC the tiles are selected into to draw
  HGDIOBJ first_bitmap_ = nullptr;
  UniqueBitmap view_buffer_;
  std::map<unsigned, UniquePen> pens_;  // never left selected: freed before the DC
  std::map<unsigned, UniqueBrush> brushes_;
  SparseTiles<GdiCanvas> tiles_;  // last: freed first
};

}  // namespace quelor
