#include "background/draw_plan.h"

#include <cmath>
#include <cstdio>

namespace quelor {

namespace {

// Label start beyond the symbol's centre: one to three pixels by size.
WorldCoordinate label_offset(const BackgroundStyle& style) { return 1 + style.size; }

}  // namespace

bool pixel_in_usable_tiles(WorldPixel p, const MapFrame& f) {
  const TilePixel t = tile_pixel(p, f.tile_width, f.tile_height);
  return tile_usable(t.tx, t.ty);
}

BackgroundDrawing plan_background_drawing(const std::vector<BackgroundPoint>& points, const BackgroundStyle& style,
                                          bool labels, const MapFrame& frame, int base_size) {
  BackgroundDrawing d;
  d.style = style;
  d.half_size = symbol_half_size(style, base_size);
  std::vector<WorldPixel> line;
  const auto end_line = [&] {
    if (line.size() >= 2)
      d.lines.push_back(std::move(line));
    else if (line.size() == 1)
      d.line_starts.push_back(line.front());
    line.clear();
  };
  for (const BackgroundPoint& p : points) {
    if (p.pen_up) {
      end_line();
      continue;
    }
    ++d.points;
    const WorldPixel w = world_pixel(frame, p.easting, p.northing);
    if (p.easting < 0.0 || !pixel_in_usable_tiles(w, frame)) {
      ++d.unusable;
      end_line();
      continue;
    }
    if (style.joined)
      line.push_back(w);
    else
      d.symbols.push_back(w);
    if (labels && !p.label.empty()) d.labels.push_back({{w.x + label_offset(style), w.y}, p.label});
  }
  end_line();
  return d;
}

std::optional<OperatorMessage> drawing_message(const BackgroundDrawing& d) {
  if (d.points == 0) return OperatorMessage{"FILE ERROR", "Check background file structure."};
  if (d.unusable == 0) return std::nullopt;
  if (d.unusable >= d.points) return OperatorMessage{"STOP", "All points in background file are invalid"};
  char text[160];
  std::snprintf(text, sizeof text, "%s %ld\r\n%s %ld\r\n", "Number of points in background file:", d.points,
                "Number of invalid points:", d.unusable);
  return OperatorMessage{"WARNING", text};
}

OperatorMessage unexpected_background_error(int number, const std::string& file_name) {
  char text[400];
  std::snprintf(text, sizeof text, " %s%d\r\n %s\r\n %.300s", "Unexpected error B$", number,
                "processing file:", file_name.c_str());
  return {"FILE ERROR", text};
}

}  // namespace quelor
