#pragma once
// What the painter puts into the data tiles for one bar (a footprint
// cross-line whose ends are world pixels): in the colour map view the strip
// between the previous bar and the new one, filled with cross lines in the
// colours of the readings in between; in the positions view a dot or the bar.

#include <span>

#include "map/tile_splitter.h"

namespace quelor {

struct BarPixels {
  WorldPixel left, right;
  friend bool operator==(const BarPixels&, const BarPixels&) = default;
};

struct StripResult {
  int lines = 0;         // cross lines drawn
  bool skipped = false;  // longer than twice the tile width (a position jump)
};

// Cross lines A_t-B_t for t = 0..m-1, m = the longer edge in pixels; line t
// takes entry t (q + 1) / m of the row, so the first and the newest reading
// of the segment both get their share. Two-value entries draw A_t to the
// midpoint in the first class and the midpoint to B_t in the second.
StripResult draw_colour_strip(TileSurface& tiles, const GridSpec& grid, const BarPixels& previous,
                              const BarPixels& next, std::span<const int> row, bool two_values);

// Position sizes 0-3: a dot of that radius at the bar's middle (two sensors:
// at a quarter and three quarters); 4 and 5: the bar with a 1- or 2-pixel pen.
bool draw_position_mark(TileSurface& tiles, const GridSpec& grid, const BarPixels& bar, int position_size,
                        PaletteColour colour, bool two_sensors);

}  // namespace quelor
