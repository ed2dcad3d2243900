#include "map/raster.h"

#include <algorithm>
#include <cstdlib>

namespace quelor {

namespace {

void stamp(Raster& r, int x, int y, PaletteColour c, int width) {
  const int from = -(width / 2);
  for (int dy = 0; dy < width; ++dy)
    for (int dx = 0; dx < width; ++dx) r.set(x + from + dx, y + from + dy, c);
}

// Clips the line's parameter range to the raster grown by the pen, so that
// a line far outside costs nothing.
bool outside(const Raster& r, long long x0, long long y0, long long x1, long long y1, int width) {
  const long long m = width + 1;
  return (x0 < -m && x1 < -m) || (y0 < -m && y1 < -m) || (x0 > r.width + m && x1 > r.width + m) ||
         (y0 > r.height + m && y1 > r.height + m);
}

}  // namespace

Raster::Raster(int w, int h, PaletteColour fill) : width(std::max(0, w)), height(std::max(0, h)) {
  rgb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 255);
  if (fill == kWhite) return;
  for (std::size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = fill.red;
    rgb[i + 1] = fill.green;
    rgb[i + 2] = fill.blue;
  }
}

PaletteColour Raster::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return kWhite;
  const std::size_t i =
      (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

void Raster::set(int x, int y, PaletteColour c) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  const std::size_t i =
      (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  rgb[i] = c.red;
  rgb[i + 1] = c.green;
  rgb[i + 2] = c.blue;
}

// Bresenham's line from (x0, y0), the end point excluded. After k steps along
// the major axis the minor axis has moved floor((2 k minor + major) /
// (2 major)) pixels, so the stepping starts at the first step that reaches
// the raster and stops after the last: a long line costs the raster's size,
// not its length, and every pixel is the one full stepping would set.
void raster_line(Raster& r, int x0, int y0, int x1, int y1, PaletteColour c, int width) {
  width = std::max(1, width);
  if (outside(r, x0, y0, x1, y1, width)) return;
  const long long dx = std::llabs(static_cast<long long>(x1) - x0), dy = -std::llabs(static_cast<long long>(y1) - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  const bool x_major = dx >= -dy;
  const long long major = x_major ? dx : -dy, minor = x_major ? -dy : dx;
  // The steps whose major coordinate lies on the raster grown by the pen.
  const long long start = x_major ? x0 : y0, s = x_major ? sx : sy;
  const long long low = -width, high = (x_major ? r.width : r.height) + width;
  const long long first = std::max(0LL, s > 0 ? low - start : start - high);
  const long long last = std::min(major - 1, s > 0 ? high - start : start - low);
  if (first > last) return;
  const long long moved = static_cast<long long>((static_cast<__int128>(2) * first * minor + major) / (2 * major));
  const long long nx = x_major ? first : moved, ny = x_major ? moved : first;
  long long err = static_cast<long long>(dx + dy + static_cast<__int128>(nx) * dy + static_cast<__int128>(ny) * dx);
  long long x = x0 + sx * nx, y = y0 + sy * ny;
  for (long long k = first; k <= last; ++k) {
    if (x >= -width && y >= -width && x <= r.width + width && y <= r.height + width)
      stamp(r, static_cast<int>(x), static_cast<int>(y), c, width);
    const long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void raster_disc(Raster& r, int x, int y, int radius, PaletteColour c) {
  radius = std::max(0, radius);
  // Centre between pixels x and x+1 (the box x-r .. x+r+1), radius r+1.
  const long long rr = static_cast<long long>(2 * radius + 2) * (2 * radius + 2);
  for (int j = y - radius; j <= y + radius + 1; ++j)
    for (int i = x - radius; i <= x + radius + 1; ++i) {
      const long long ddx = 2LL * (i - x) - 1, ddy = 2LL * (j - y) - 1;  // twice the offset from the centre
      if (ddx * ddx + ddy * ddy <= rr) r.set(i, j, c);
    }
}

void raster_and(Raster& dst, const Raster& src, int at_x, int at_y) {
  for (int y = 0; y < src.height; ++y) {
    const int ty = at_y + y;
    if (ty < 0 || ty >= dst.height) continue;
    const int x_from = std::max(0, -at_x), x_to = std::min(src.width, dst.width - at_x);
    if (x_from >= x_to) continue;
    const std::uint8_t* s = src.rgb.data() + (static_cast<std::size_t>(y) * src.width + x_from) * 3;
    std::uint8_t* d = dst.rgb.data() + (static_cast<std::size_t>(ty) * dst.width + (at_x + x_from)) * 3;
    for (std::size_t i = 0, n = static_cast<std::size_t>(x_to - x_from) * 3; i < n; ++i) d[i] &= s[i];
  }
}

void raster_copy(Raster& dst, const Raster& src, int at_x, int at_y) {
  for (int y = 0; y < src.height; ++y) {
    const int ty = at_y + y;
    if (ty < 0 || ty >= dst.height) continue;
    const int x_from = std::max(0, -at_x), x_to = std::min(src.width, dst.width - at_x);
    if (x_from >= x_to) continue;
    const std::size_t s = (static_cast<std::size_t>(y) * src.width + x_from) * 3;
    const std::size_t d = (static_cast<std::size_t>(ty) * dst.width + (at_x + x_from)) * 3;
    std::copy_n(src.rgb.begin() + static_cast<long>(s), static_cast<std::size_t>(x_to - x_from) * 3,
                dst.rgb.begin() + static_cast<long>(d));
  }
}

void RasterCanvas::fill(PaletteColour c) { raster_ = Raster(raster_.width, raster_.height, c); }

void RasterCanvas::line(int x0, int y0, int x1, int y1, PaletteColour c, int width) {
  raster_line(raster_, x0, y0, x1, y1, c, width);
}

void RasterCanvas::disc(int x, int y, int radius, PaletteColour c) { raster_disc(raster_, x, y, radius, c); }

}  // namespace quelor
