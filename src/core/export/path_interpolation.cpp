#include "export/path_interpolation.h"

#include <algorithm>

namespace quelor {

namespace {

double between(double a, double b, double f) { return a + (b - a) * f; }

}  // namespace

std::optional<PathPosition> position_at(std::span<const PathFix> fixes, std::uint32_t tick, std::uint32_t max_gap_ms) {
  // Fixes are sorted by tick: the first fix at or after, and the last at or before.
  const auto after =
      std::lower_bound(fixes.begin(), fixes.end(), tick, [](const PathFix& f, std::uint32_t t) { return f.tick < t; });
  if (after == fixes.end()) return std::nullopt;
  const auto upper =
      std::upper_bound(fixes.begin(), fixes.end(), tick, [](std::uint32_t t, const PathFix& f) { return t < f.tick; });
  if (upper == fixes.begin()) return std::nullopt;
  const PathFix& b = *after;
  const PathFix& a = *(upper - 1);
  if (b.tick - a.tick > max_gap_ms) return std::nullopt;
  const double f = b.tick == a.tick ? 0.0 : static_cast<double>(tick - a.tick) / static_cast<double>(b.tick - a.tick);
  PathPosition p;
  p.easting = between(a.easting, b.easting, f);
  p.northing = between(a.northing, b.northing, f);
  p.geographic = a.geographic && b.geographic;
  if (p.geographic) {
    p.latitude = between(a.latitude, b.latitude, f);
    p.longitude = between(a.longitude, b.longitude, f);
  }
  p.quality = std::min(a.quality, b.quality);
  return p;
}

void sort_by_tick(std::vector<PathFix>& fixes) {
  std::stable_sort(fixes.begin(), fixes.end(), [](const PathFix& x, const PathFix& y) { return x.tick < y.tick; });
}

std::vector<std::optional<PathPosition>> interpolate_readings(std::span<const PathEvent> events,
                                                              std::uint32_t max_gap_ms) {
  std::vector<std::optional<PathPosition>> out;
  std::vector<PathFix> fixes;
  std::size_t begin = 0;
  while (begin < events.size()) {
    std::size_t end = begin;
    while (end < events.size() && events[end].kind != PathEventKind::kBreak) ++end;
    fixes.clear();
    for (std::size_t i = begin; i < end; ++i)
      if (events[i].kind == PathEventKind::kFix) fixes.push_back(events[i].fix);
    // A sentence is logged once it has fully arrived, so readings and fixes
    // are not always in tick order in the file: order the fixes by tick.
    sort_by_tick(fixes);
    for (std::size_t i = begin; i < end; ++i)
      if (events[i].kind == PathEventKind::kReading) out.push_back(position_at(fixes, events[i].tick, max_gap_ms));
    begin = end + 1;
  }
  return out;
}

}  // namespace quelor
