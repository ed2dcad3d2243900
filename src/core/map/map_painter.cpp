#include "map/map_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "map/segment_buffer.h"

namespace quelor {

namespace {

// A coordinate as its corner record holds it ("%14.3f"): the live map draws
// the bar the re-plot reads back, so the two agree to the pixel.
double as_recorded(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", v);
  return std::strtod(text, nullptr);
}

Bar recorded(const Bar& b) {
  return {{as_recorded(b.left.easting), as_recorded(b.left.northing)},
          {as_recorded(b.right.easting), as_recorded(b.right.northing)}};
}

BarPixels pixels_of(const MapState& map, const Bar& b) {
  return {world_pixel(map.frame, b.left.easting, b.left.northing),
          world_pixel(map.frame, b.right.easting, b.right.northing)};
}

// Rigid offset: the sensor centre s back along the direction of travel.
Bar rigid_bar(MapPoint antenna, double ux, double uy, const FootprintGeometry& g) {
  return bar_at({antenna.easting - ux * g.inline_offset, antenna.northing - uy * g.inline_offset}, ux, uy, g.left_half,
                g.right_half);
}

void carry(KindFootprint& k, std::span<const int> closed) {
  const std::size_t room = kSegmentRowLength - std::min<std::size_t>(k.carried.size(), kSegmentRowLength);
  k.carried.insert(k.carried.end(), closed.begin(),
                   closed.begin() + static_cast<std::ptrdiff_t>(std::min(room, closed.size())));
}

Bar towed_bar(KindFootprint& k, MapPoint antenna, double ux, double uy, const FootprintGeometry& g) {
  track_add(k.track, antenna);
  const auto c = track_centre(k.track, g.inline_offset);
  if (!c) return rigid_bar(antenna, ux, uy, g);
  return bar_at(c->centre, c->ux, c->uy, g.left_half, g.right_half);
}

void draw(const MapState& map, TileSurface& tiles, const FixPaint& fix, int kind, std::span<const int> row,
          const Bar* previous, const Bar& bar, FixPaintResult& r) {
  if (!fix.paint) return;
  if (fix.colour_map_view > 0) {
    if (!previous) return;
    const StripResult s =
        draw_colour_strip(tiles, map.grid, pixels_of(map, *previous), pixels_of(map, bar), row, fix.two_values);
    if (s.lines > 0) ++r.strips;
    return;
  }
  if (draw_position_mark(tiles, map.grid, pixels_of(map, bar), fix.position_size,
                         fix.position_colours[static_cast<std::size_t>(kind)], fix.two_sensors))
    ++r.marks;
}

// The readings carried from fixes at the previous position, then the
// segment just closed; at most a row's length, as the re-plot collects them.
std::span<const int> strip_row(KindFootprint& k, std::span<const int> closed) {
  if (k.carried.empty()) return closed;
  carry(k, closed);
  return k.carried;
}

}  // namespace

KindColours position_mark_colours(std::uint32_t position_colour, std::span<const std::uint32_t> trace_colours,
                                  bool manual_em34) {
  KindColours colours;
  for (int kind = 0; kind < kFootprintKinds; ++kind) {
    const auto trace = static_cast<std::size_t>(kind) + 1;
    const bool own = manual_em34 && trace < trace_colours.size();
    colours[static_cast<std::size_t>(kind)] = colour_from_colorref(own ? trace_colours[trace] : position_colour);
  }
  return colours;
}

void painter_reset(PainterState& p) { p = PainterState{}; }

FixPaintResult paint_fix(PainterState& p, const MapState& map, TileSurface& tiles, const FixPaint& fix) {
  FixPaintResult r;
  if (!p.has_position) {
    p.has_position = true;
    p.previous = fix.antenna;
    r.start_record = true;
    return r;
  }
  const double dx = fix.antenna.easting - p.previous.easting, dy = fix.antenna.northing - p.previous.northing;
  const double d = std::hypot(dx, dy);
  const int kinds = std::clamp(fix.kinds, 1, kFootprintKinds);
  if (!(d > 0)) {  // the direction of travel is undefined
    for (int kind = 0; kind < kinds; ++kind) {
      KindFootprint& k = p.kinds[static_cast<std::size_t>(kind)];
      carry(k, fix.rows[static_cast<std::size_t>(kind)]);
      k.carried_active = k.carried_active || fix.kind_active[static_cast<std::size_t>(kind)];
    }
    return r;
  }
  const double ux = dx / d, uy = dy / d;
  for (int kind = 0; kind < kinds; ++kind) {
    KindFootprint& k = p.kinds[static_cast<std::size_t>(kind)];
    if (!fix.kind_active[static_cast<std::size_t>(kind)] && !k.carried_active) continue;
    const FootprintGeometry& g = fix.geometry[static_cast<std::size_t>(kind)];
    const std::span<const int> row = strip_row(k, fix.rows[static_cast<std::size_t>(kind)]);
    if (!k.has_bar) {  // the first segment: the bar of the previous position too
      if (g.towed) track_add(k.track, p.previous);
      k.bar = recorded(rigid_bar(p.previous, ux, uy, g));
      k.has_bar = true;
      r.groups.emplace_back(kind, k.bar.corners());
      draw(map, tiles, fix, kind, row, nullptr, k.bar, r);
    }
    const Bar bar = recorded(g.towed ? towed_bar(k, fix.antenna, ux, uy, g) : rigid_bar(fix.antenna, ux, uy, g));
    r.groups.emplace_back(kind, bar.corners());
    draw(map, tiles, fix, kind, row, &k.bar, bar, r);
    k.bar = bar;
    k.carried.clear();
    k.carried_active = false;
  }
  p.previous = fix.antenna;
  return r;
}

}  // namespace quelor
