#include "app/map/gdi_tiles.h"

namespace quelor {

namespace {

COLORREF rgb(PaletteColour c) { return RGB(c.red, c.green, c.blue); }
unsigned key(PaletteColour c, int width) { return (static_cast<unsigned>(rgb(c)) << 4) | static_cast<unsigned>(width & 15); }

// A 32-bit top-down DIB section and its pixels; nullptr when none can be had.
HBITMAP dib_section(HDC dc, int width, int height, std::uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP b = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (b && !pixels) {
    DeleteObject(b);
    b = nullptr;
  }
  *bits = static_cast<std::uint32_t*>(pixels);
  return b;
}

}  // namespace

GdiCanvas::~GdiCanvas() { owner_.release_bitmap(bitmap_); }

HDC GdiCanvas::select() {
  HDC dc = owner_.drawing_dc();
  if (!bitmap_ && !unpack()) return dc;  // no bitmap to be had: the first bitmap takes the drawing
  if (GetCurrentObject(dc, OBJ_BITMAP) != bitmap_) SelectObject(dc, bitmap_);
  return dc;
}

HBITMAP GdiCanvas::bitmap() {
  if (!bitmap_) unpack();
  return bitmap_;
}

void GdiCanvas::pack() {
  if (!bitmap_) return;
  GdiFlush();  // every drawing call done before the pixels are read
  packed_ = pack_pixels(std::span<const std::uint32_t>(bits_, owner_.tile_pixels()), owner_.tile_width(),
                        owner_.tile_height());
  owner_.release_bitmap(bitmap_);
  bitmap_ = nullptr;
  bits_ = nullptr;
}

bool GdiCanvas::unpack() {
  owner_.make_room();
  std::uint32_t* bits = nullptr;
  HBITMAP b = owner_.new_bitmap(&bits);
  if (!b) return false;
  unpack_pixels(packed_, std::span<std::uint32_t>(bits, owner_.tile_pixels()));
  bitmap_ = b;
  bits_ = bits;
  packed_ = PackedPixels{};
  return true;
}

void GdiCanvas::fill(PaletteColour colour) {
  if (!bitmap_) {  // out of sight: filled, it stays packed
    packed_ = uniform_pixels(owner_.tile_width(), owner_.tile_height(),
                             (std::uint32_t{colour.red} << 16) | (std::uint32_t{colour.green} << 8) | colour.blue);
    return;
  }
  HDC dc = select();
  RECT r{0, 0, owner_.tile_width(), owner_.tile_height()};
  FillRect(dc, &r, owner_.brush(colour));
}

void GdiCanvas::line(int x0, int y0, int x1, int y1, PaletteColour colour, int width) {
  HDC dc = select();
  HGDIOBJ old = SelectObject(dc, owner_.pen(colour, width));
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
}

void GdiCanvas::disc(int x, int y, int radius, PaletteColour colour) {
  HDC dc = select();
  HGDIOBJ old_pen = SelectObject(dc, owner_.pen(colour, 1));
  HGDIOBJ old_brush = SelectObject(dc, owner_.brush(colour));
  Ellipse(dc, x - radius, y - radius, x + radius + 2, y + radius + 2);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
}

void GdiCanvas::text(int x, int top, const std::wstring& text, PaletteColour colour, HFONT font) {
  HDC dc = select();
  HGDIOBJ old_font = SelectObject(dc, font);
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = SetTextColor(dc, rgb(colour));
  TextOutW(dc, x, top, text.c_str(), static_cast<int>(text.size()));
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
  SelectObject(dc, old_font);
}

SIZE GdiTiles::text_size(const std::wstring& text, HFONT font) {
  SIZE size{0, 0};
  if (!dc_) return size;
  HGDIOBJ old = SelectObject(dc_, font);
  if (text.empty()) {
    TEXTMETRICW m{};
    GetTextMetricsW(dc_, &m);
    size.cy = m.tmHeight;
  } else {
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  }
  SelectObject(dc_, old);
  return size;
}

GdiTiles::GdiTiles(int tile_width, int tile_height, std::size_t keep)
    : width_(tile_width), height_(tile_height), keep_(keep) {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (dc_) first_bitmap_ = GetCurrentObject(dc_, OBJ_BITMAP);
}

GdiTiles::~GdiTiles() {
  clear();
  if (dc_) DeleteDC(dc_);
  if (view_buffer_) DeleteObject(view_buffer_);
  for (auto& [k, p] : pens_) DeleteObject(p);
  for (auto& [k, b] : brushes_) DeleteObject(b);
}

void GdiTiles::deselect(HBITMAP b) {
  if (dc_ && GetCurrentObject(dc_, OBJ_BITMAP) == b) SelectObject(dc_, first_bitmap_);
}

HBITMAP GdiTiles::new_bitmap(std::uint32_t** bits) {
  if (!dc_) return nullptr;
  HBITMAP b = dib_section(dc_, width_, height_, bits);
  if (b) ++bitmaps_;
  return b;
}

HBITMAP GdiTiles::view_buffer() {
  std::uint32_t* bits = nullptr;
  if (!view_buffer_ && dc_) view_buffer_ = dib_section(dc_, width_, height_, &bits);
  return view_buffer_;
}

void GdiTiles::release_bitmap(HBITMAP b) {
  if (!b) return;
  deselect(b);
  DeleteObject(b);
  --bitmaps_;
}

// A whole-map redraw or a long strip visits many tiles in turn: packing the
// least recently used ones as it goes keeps the bitmaps held at once to what
// a paint keeps.
void GdiTiles::make_room() {
  if (bitmaps_ >= 2 * keep_) trim(keep_ > 1 ? keep_ - 1 : 1);
}

Canvas* GdiTiles::make(int layer, int tx, int ty, bool* made) {
  if (!tiles_.find(layer, tx, ty)) make_room();
  return tiles_.make(layer, tx, ty, made, [this]() -> std::unique_ptr<GdiCanvas> {
    std::uint32_t* bits = nullptr;
    HBITMAP b = new_bitmap(&bits);
    if (!b) return nullptr;  // no bitmap to be had: drawing there is skipped
    auto c = std::make_unique<GdiCanvas>(*this, b, bits);
    c->fill(kWhite);
    return c;
  });
}

void GdiTiles::for_each(int layer, const std::function<void(int, int, Canvas&)>& visit) {
  tiles_.for_each(layer, [&](int tx, int ty, GdiCanvas& c) { visit(tx, ty, c); });
}

void GdiTiles::clear() { tiles_.clear(); }

HBITMAP GdiTiles::bitmap(int layer, int tx, int ty) {
  GdiCanvas* c = tiles_.find(layer, tx, ty);
  return c ? c->bitmap() : nullptr;
}

void GdiTiles::trim(std::size_t keep) {
  for (int layer : {kGridLayer, kDataLayer}) tiles_.for_each_but_recent(layer, keep, [](GdiCanvas& c) { c.pack(); });
}

void GdiTiles::trim() { trim(keep_); }

HPEN GdiTiles::pen(PaletteColour colour, int width) {
  HPEN& p = pens_[key(colour, width)];
  if (!p) p = CreatePen(PS_SOLID, width, rgb(colour));
  return p;
}

HBRUSH GdiTiles::brush(PaletteColour colour) {
  HBRUSH& b = brushes_[key(colour, 0)];
  if (!b) b = CreateSolidBrush(rgb(colour));
  return b;
}

}  // namespace quelor
