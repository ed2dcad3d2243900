#include "app/map/gdi_tiles.h"

namespace quelor {

namespace {

COLORREF rgb(PaletteColour c) { return RGB(c.red, c.green, c.blue); }
unsigned key(PaletteColour c, int width) {
  return (static_cast<unsigned>(rgb(c)) << 4) | static_cast<unsigned>(width & 15);
}

// A 32-bit top-down DIB section and its pixels; none when none can be had.
UniqueBitmap dib_section(HDC dc, int width, int height, std::uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  UniqueBitmap b(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!pixels) b.reset();
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
  SelectedObject pen(dc, owner_.pen(colour, width));
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void GdiCanvas::disc(int x, int y, int radius, PaletteColour colour) {
  HDC dc = select();
  SelectedObject pen(dc, owner_.pen(colour, 1));
  SelectedObject brush(dc, owner_.brush(colour));
  Ellipse(dc, x - radius, y - radius, x + radius + 2, y + radius + 2);
}

void GdiCanvas::text(int x, int top, const std::wstring& text, PaletteColour colour, HFONT font) {
  HDC dc = select();
  SelectedObject selected(dc, font);
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = SetTextColor(dc, rgb(colour));
  TextOutW(dc, x, top, text.c_str(), static_cast<int>(text.size()));
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
}

SIZE GdiTiles::text_size(const std::wstring& text, HFONT font) {
  SIZE size{0, 0};
  if (!dc_) return size;
  SelectedObject selected(dc_.get(), font);
  if (text.empty()) {
    TEXTMETRICW m{};
    GetTextMetricsW(dc_.get(), &m);
    size.cy = m.tmHeight;
  } else {
    GetTextExtentPoint32W(dc_.get(), text.c_str(), static_cast<int>(text.size()), &size);
  }
  return size;
}

GdiTiles::GdiTiles(int tile_width, int tile_height, std::size_t keep)
    : width_(tile_width), height_(tile_height), keep_(keep) {
  dc_.reset(CreateCompatibleDC(WindowDc(nullptr)));
  if (dc_) first_bitmap_ = GetCurrentObject(dc_.get(), OBJ_BITMAP);
}

// Every tile's bitmap freed (and so out of the DC) before the DC goes.
GdiTiles::~GdiTiles() { clear(); }

void GdiTiles::deselect(HBITMAP b) {
  if (dc_ && GetCurrentObject(dc_.get(), OBJ_BITMAP) == b) SelectObject(dc_.get(), first_bitmap_);
}

// The tile's canvas owns the bitmap from here and gives it back through
// `release_bitmap`, which keeps the count.
HBITMAP GdiTiles::new_bitmap(std::uint32_t** bits) {
  if (!dc_) return nullptr;
  HBITMAP b = dib_section(dc_.get(), width_, height_, bits).release();
  if (b) ++bitmaps_;
  return b;
}

HBITMAP GdiTiles::view_buffer() {
  std::uint32_t* bits = nullptr;
  if (!view_buffer_ && dc_) view_buffer_ = dib_section(dc_.get(), width_, height_, &bits);
  return view_buffer_.get();
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
  UniquePen& p = pens_[key(colour, width)];
  if (!p) p.reset(CreatePen(PS_SOLID, width, rgb(colour)));
  return p.get();
}

HBRUSH GdiTiles::brush(PaletteColour colour) {
  UniqueBrush& b = brushes_[key(colour, 0)];
  if (!b) b.reset(CreateSolidBrush(rgb(colour)));
  return b.get();
}

}  // namespace quelor
