#include "background/draw_plan.h"

#include <cmath>
#include <cstdio>

namespace quelor {

namespace {

long to_pixel(double value, double origin, double k) {
  const double v = (value - origin) * k + 0.5;
  // Far outside the tile grid either way; keeps the conversion defined.
  if (!(v > -1e12 && v < 1e12)) return v > 0 ? 1000000000000L : -1000000000000L;
  return static_cast<long>(std::trunc(v));
}

bool usable_tile(int t) { return t >= kFirstUsableTile && t <= kLastUsableTile; }

// Label start beyond the symbol's centre: one to three pixels by size.
long label_offset(const BackgroundStyle& style, int half_size) { return half_size + 1 + style.size; }

}  // namespace

PlanPixel plan_pixel(double easting, double northing, const MapFrame& f) {
  return {to_pixel(easting, f.origin_easting, f.pixels_per_unit),
          to_pixel(northing, f.origin_northing, f.pixels_per_unit)};
}

bool pixel_in_usable_tiles(PlanPixel p, const MapFrame& f) {
  return usable_tile(tile_column(p.x, f.tile_width)) && usable_tile(tile_row(p.y, f.tile_height));
}

BackgroundDrawing plan_background_drawing(const std::vector<BackgroundPoint>& points, const BackgroundStyle& style,
                                          bool labels, const MapFrame& frame, int base_size) {
  BackgroundDrawing d;
  d.style = style;
  d.half_size = symbol_half_size(style, base_size);
  std::vector<PlanPixel> line;
  const auto end_line = [&] {
    if (line.size() >= 2) d.lines.push_back(std::move(line));
    else if (line.size() == 1) d.line_starts.push_back(line.front());
    line.clear();
  };
  for (const BackgroundPoint& p : points) {
    if (p.pen_up) {
      end_line();
      continue;
    }
    ++d.points;
    const PlanPixel w = plan_pixel(p.easting, p.northing, frame);
    if (p.easting < 0.0 || !pixel_in_usable_tiles(w, frame)) {
      ++d.unusable;
      end_line();
      continue;
    }
    if (style.joined) line.push_back(w);
    else d.symbols.push_back(w);
    if (labels && !p.label.empty())
      d.labels.push_back({{w.x + label_offset(style, d.half_size), w.y}, p.label});
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
  std::snprintf(text, sizeof text, " %s%d\r\n %s\r\n %.300s", "Unexpected error B$", number, "processing file:",
                file_name.c_str());
  return {"FILE ERROR", text};
}

}  // namespace quelor
