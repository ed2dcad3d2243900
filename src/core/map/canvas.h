#pragma once
// What the map draws with: one tile bitmap. The program implements it on a
// GDI memory DC, the core on a software raster (map/raster.h). Coordinates
// are the tile's pixels; anything outside the tile is clipped.

#include "map/palette.h"

namespace quelor {

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void fill(PaletteColour colour) = 0;
  // A line from (x0, y0) to (x1, y1), the end point excluded as with GDI's
  // LineTo, drawn with a solid pen `width` pixels wide.
  virtual void line(int x0, int y0, int x1, int y1, PaletteColour colour, int width) = 0;
  // A filled circle of radius r at pixel (x, y): the box x-r .. x+r+1, as
  // GDI's Ellipse(x-r, y-r, x+r+2, y+r+2); r = 0 is a 2 x 2 dot.
  virtual void disc(int x, int y, int radius, PaletteColour colour) = 0;
};

}  // namespace quelor
