#pragma once
// The software raster: 8-bit RGB pixels, the canvas of the core's tiles
// (tests and `quelor map`). Pixel-exact and deterministic.

#include <cstdint>
#include <vector>

#include "map/canvas.h"

namespace quelor {

struct Raster {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // row-major, 3 bytes a pixel

  Raster() = default;
  Raster(int w, int h, PaletteColour fill = kWhite);
  PaletteColour at(int x, int y) const;
  void set(int x, int y, PaletteColour c);  // clipped
  std::size_t bytes() const { return rgb.capacity(); }
};

// The pixels of the line from (x0, y0) to (x1, y1) without its end point
// (Bresenham), each stamped with a width x width square.
void raster_line(Raster& r, int x0, int y0, int x1, int y1, PaletteColour c, int width);
void raster_disc(Raster& r, int x, int y, int radius, PaletteColour c);

// dst = dst AND src, pixel by pixel (white is transparent).
void raster_and(Raster& dst, const Raster& src, int at_x, int at_y);
// Copies src into dst at (at_x, at_y), clipped.
void raster_copy(Raster& dst, const Raster& src, int at_x, int at_y);

class RasterCanvas : public Canvas {
 public:
  RasterCanvas(int w, int h) : raster_(w, h) {}
  void fill(PaletteColour c) override;
  void line(int x0, int y0, int x1, int y1, PaletteColour c, int width) override;
  void disc(int x, int y, int radius, PaletteColour c) override;
  const Raster& raster() const { return raster_; }
  Raster& raster() { return raster_; }

 private:
  Raster raster_;
};

}  // namespace quelor
