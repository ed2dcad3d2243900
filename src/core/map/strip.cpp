#include "map/strip.h"

#include <algorithm>
#include <cmath>

#include "map/segment_buffer.h"

namespace quelor {

namespace {

constexpr int kStripPen = 2;

WorldPixel along(WorldPixel from, WorldCoordinate dx, WorldCoordinate dy, WorldCoordinate t, WorldCoordinate m) {
  return {from.x + dx * t / m, from.y + dy * t / m};
}

WorldPixel at_fraction(const BarPixels& bar, double f) {
  return {round_to_pixel(static_cast<double>(bar.left.x) + f * static_cast<double>(bar.right.x - bar.left.x)),
          round_to_pixel(static_cast<double>(bar.left.y) + f * static_cast<double>(bar.right.y - bar.left.y))};
}

}  // namespace

StripResult draw_colour_strip(TileSurface& tiles, const GridSpec& grid, const BarPixels& previous,
                              const BarPixels& next, std::span<const int> row, bool two_values) {
  StripResult r;
  if (row.empty()) return r;
  const WorldCoordinate ax = next.left.x - previous.left.x, ay = next.left.y - previous.left.y;
  const WorldCoordinate bx = next.right.x - previous.right.x, by = next.right.y - previous.right.y;
  const double longest = std::max(std::hypot(static_cast<double>(ax), static_cast<double>(ay)),
                                  std::hypot(static_cast<double>(bx), static_cast<double>(by)));
  if (longest > 2.0 * tiles.tile_width()) {
    r.skipped = true;
    return r;
  }
  const WorldCoordinate m = static_cast<WorldCoordinate>(longest);
  const WorldCoordinate entries = static_cast<WorldCoordinate>(row.size());  // q + 1
  for (WorldCoordinate t = 0; t < m; ++t) {
    const WorldPixel a = along(previous.left, ax, ay, t, m), b = along(previous.right, bx, by, t, m);
    const int entry = row[static_cast<std::size_t>(t * entries / m)];
    if (two_values) {
      const WorldPixel mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
      split_line(tiles, grid, a, mid, class_pen_colour(segment_first_class(entry)), kStripPen);
      split_line(tiles, grid, mid, b, class_pen_colour(segment_second_class(entry)), kStripPen);
    } else {
      split_line(tiles, grid, a, b, class_pen_colour(entry), kStripPen);
    }
    ++r.lines;
  }
  return r;
}

bool draw_position_mark(TileSurface& tiles, const GridSpec& grid, const BarPixels& bar, int size, PaletteColour colour,
                        bool two_sensors) {
  size = std::clamp(size, 0, 5);
  if (size >= 4) return split_line(tiles, grid, bar.left, bar.right, colour, size == 4 ? 1 : 2);
  if (!two_sensors) return split_disc(tiles, grid, at_fraction(bar, 0.5), size, colour);
  const bool first = split_disc(tiles, grid, at_fraction(bar, 0.25), size, colour);
  const bool second = split_disc(tiles, grid, at_fraction(bar, 0.75), size, colour);
  return first || second;
}

}  // namespace quelor
