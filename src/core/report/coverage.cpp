#include "report/coverage.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "report/convex_hull.h"
#include "report/survey_blocks.h"

namespace quelor {

namespace {

constexpr std::uint8_t kInHull = 1;
constexpr std::uint8_t kCovered = 2;

struct Cells {
  PlanePoint origin;
  double cell = 1.0;
  int columns = 0, rows = 0;
  std::size_t index(int c, int r) const { return static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + c; }
  PlanePoint centre(int c, int r) const {
    return {origin.easting + (c + 0.5) * cell, origin.northing + (r + 0.5) * cell};
  }
};

// The first and the last of `count` cells whose centres (at i + 0.5) lie at
// or after, at or before `position` (in cells); worked out in doubles, so a
// far position never overflows an int.
int first_cell(double position, int count) {
  const double c = std::ceil(position - 0.5);
  if (!(c > 0)) return 0;
  return c >= count ? count : static_cast<int>(c);
}
int last_cell(double position, int count) {
  const double c = std::floor(position - 0.5);
  if (!(c > -1)) return -1;
  return c >= count - 1 ? count - 1 : static_cast<int>(c);
}

// Calls span(row, first, last) for the cells whose centres lie inside the
// polygon (even-odd rule, so a crossed footprint fills both halves). A
// polygon with a corner that is not a finite number covers nothing.
template <typename Span>
void fill_polygon(const Cells& g, std::span<const PlanePoint> poly, Span span) {
  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (const PlanePoint& p : poly) {
    if (!std::isfinite(p.easting) || !std::isfinite(p.northing)) return;
    low = std::min(low, p.northing);
    high = std::max(high, p.northing);
  }
  const int r0 = first_cell((low - g.origin.northing) / g.cell, g.rows);
  const int r1 = last_cell((high - g.origin.northing) / g.cell, g.rows);
  std::vector<double> xs;
  for (int r = r0; r <= r1; ++r) {
    const double y = g.origin.northing + (r + 0.5) * g.cell;
    xs.clear();
    for (std::size_t i = 0, n = poly.size(); i < n; ++i) {
      const PlanePoint& a = poly[i];
      const PlanePoint& b = poly[(i + 1) % n];
      if ((a.northing <= y) == (b.northing <= y)) continue;
      xs.push_back(a.easting + (y - a.northing) / (b.northing - a.northing) * (b.easting - a.easting));
    }
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      const int c0 = first_cell((xs[i] - g.origin.easting) / g.cell, g.columns);
      const int c1 = last_cell((xs[i + 1] - g.origin.easting) / g.cell, g.columns);
      if (c0 <= c1) span(r, c0, c1);
    }
  }
}

// Squared Euclidean distance transform of one line (Felzenszwalb and
// Huttenlocher), in place.
void distance_line(std::vector<double>& f, std::size_t n, std::vector<double>& d, std::vector<int>& v,
                   std::vector<double>& z) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const auto at = [](auto& vec, long i) -> auto& { return vec[static_cast<std::size_t>(i)]; };
  long first = 0;
  while (first < static_cast<long>(n) && !std::isfinite(at(f, first))) ++first;
  if (first == static_cast<long>(n)) return;  // no source on this line
  long k = 0;
  at(v, 0) = static_cast<int>(first);
  at(z, 0) = -kInf;
  at(z, 1) = kInf;
  for (long q = first + 1; q < static_cast<long>(n); ++q) {
    if (!std::isfinite(at(f, q))) continue;  // never the nearest source
    double s;
    for (;;) {
      const long p = at(v, k);
      s = ((at(f, q) + static_cast<double>(q * q)) - (at(f, p) + static_cast<double>(p * p))) /
          (2.0 * static_cast<double>(q - p));
      if (s > at(z, k)) break;
      --k;  // z[0] is minus infinity: k stays at 0 or above
    }
    ++k;
    at(v, k) = static_cast<int>(q);
    at(z, k) = s;
    at(z, k + 1) = kInf;
  }
  k = 0;
  for (long q = 0; q < static_cast<long>(n); ++q) {
    while (at(z, k + 1) < static_cast<double>(q)) ++k;
    const long p = at(v, k);
    at(d, q) = static_cast<double>((q - p) * (q - p)) + at(f, p);
  }
  for (std::size_t q = 0; q < n; ++q) f[q] = d[q];
}

// Squared distance, in cells, of every cell to the nearest source cell.
std::vector<double> distance_transform(const Cells& g, const std::vector<std::uint8_t>& state) {
  const std::size_t n = std::max(g.columns, g.rows);
  std::vector<double> f(n), d(n), z(n + 1);
  std::vector<int> v(n);
  std::vector<double> out(state.size());
  for (std::size_t i = 0; i < state.size(); ++i)
    out[i] = state[i] == kInHull ? std::numeric_limits<double>::infinity() : 0.0;
  for (int c = 0; c < g.columns; ++c) {
    for (int r = 0; r < g.rows; ++r) f[static_cast<std::size_t>(r)] = out[g.index(c, r)];
    distance_line(f, static_cast<std::size_t>(g.rows), d, v, z);
    for (int r = 0; r < g.rows; ++r) out[g.index(c, r)] = f[static_cast<std::size_t>(r)];
  }
  for (int r = 0; r < g.rows; ++r) {
    for (int c = 0; c < g.columns; ++c) f[static_cast<std::size_t>(c)] = out[g.index(c, r)];
    distance_line(f, static_cast<std::size_t>(g.columns), d, v, z);
    for (int c = 0; c < g.columns; ++c) out[g.index(c, r)] = f[static_cast<std::size_t>(c)];
  }
  return out;
}

double median(std::vector<double> v) {
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

struct Component {
  std::vector<std::size_t> cells;
  double widest = 0.0;  // largest squared distance inside
};

// The uncovered cells in the hull that connect (4-neighbours) to a cell
// at least `core` cells from any covered cell or the hull's outside.
std::vector<Component> wide_gaps(const Cells& g, const std::vector<std::uint8_t>& state,
                                 const std::vector<double>& distance2, double core) {
  std::vector<Component> out;
  std::vector<std::uint8_t> seen(state.size(), 0);
  std::vector<std::size_t> stack;
  const double core2 = core * core;
  for (std::size_t start = 0; start < state.size(); ++start) {
    if (seen[start] || state[start] != kInHull || distance2[start] < core2) continue;
    Component comp;
    stack.assign(1, start);
    seen[start] = 1;
    while (!stack.empty()) {
      const std::size_t i = stack.back();
      stack.pop_back();
      comp.cells.push_back(i);
      comp.widest = std::max(comp.widest, distance2[i]);
      const int c = static_cast<int>(i % static_cast<std::size_t>(g.columns));
      const int r = static_cast<int>(i / static_cast<std::size_t>(g.columns));
      const int next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
      for (const auto& n : next) {
        if (n[0] < 0 || n[1] < 0 || n[0] >= g.columns || n[1] >= g.rows) continue;
        const std::size_t j = g.index(n[0], n[1]);
        if (seen[j] || state[j] != kInHull) continue;
        seen[j] = 1;
        stack.push_back(j);
      }
    }
    out.push_back(std::move(comp));
  }
  return out;
}

CoverageGap describe(const Cells& g, const Component& comp) {
  CoverageGap gap;
  gap.area = static_cast<double>(comp.cells.size()) * g.cell * g.cell;
  gap.width = 2.0 * std::sqrt(comp.widest) * g.cell;
  gap.low = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
  gap.high = {-gap.low.easting, -gap.low.northing};
  double e = 0.0, n = 0.0;
  for (std::size_t i : comp.cells) {
    const PlanePoint p = g.centre(static_cast<int>(i % static_cast<std::size_t>(g.columns)),
                                  static_cast<int>(i / static_cast<std::size_t>(g.columns)));
    e += p.easting;
    n += p.northing;
    gap.low = {std::min(gap.low.easting, p.easting - g.cell / 2), std::min(gap.low.northing, p.northing - g.cell / 2)};
    gap.high = {std::max(gap.high.easting, p.easting + g.cell / 2),
                std::max(gap.high.northing, p.northing + g.cell / 2)};
  }
  const double count = static_cast<double>(comp.cells.size());
  gap.centre = {e / count, n / count};
  return gap;
}

// Where there is no positioned reading, the fixes stand for them.
std::vector<PlanePoint> fix_positions(const SurveyData& survey) {
  std::vector<PlanePoint> points;
  for (const SurveyFix& f : survey.fixes) points.push_back(f.position);
  return points;
}

// The blocks of the positioned readings and their hulls, largest first.
std::vector<CoverageBlock> block_hulls(const SurveyData& survey, double swath_width) {
  const std::vector<PlanePoint> fixes = survey.positions.empty() ? fix_positions(survey) : std::vector<PlanePoint>{};
  const std::span<const PlanePoint> points = survey.positions.empty() ? fixes : survey.positions;
  const SurveyBlocks blocks = survey_blocks(points, kBlockLinkSwaths * swath_width);
  std::vector<std::vector<PlanePoint>> members(static_cast<std::size_t>(blocks.count));
  for (std::size_t i = 0; i < points.size(); ++i)
    members[static_cast<std::size_t>(blocks.block[i])].push_back(points[i]);
  std::vector<CoverageBlock> out;
  for (std::vector<PlanePoint>& m : members) {
    CoverageBlock b;
    b.readings = static_cast<long>(m.size());
    b.hull = convex_hull(std::move(m));
    b.area = b.hull.size() >= 3 ? polygon_area(b.hull) : 0.0;
    out.push_back(std::move(b));
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const CoverageBlock& a, const CoverageBlock& b) { return a.area > b.area; });
  return out;
}

}  // namespace

Coverage survey_coverage(const SurveyData& survey, long max_cells) {
  Coverage c;
  c.hull = convex_hull(survey.positions.empty() ? fix_positions(survey) : survey.positions);
  c.hull_area = c.hull.size() >= 3 ? polygon_area(c.hull) : 0.0;
  std::vector<double> widths;
  for (double w : survey.swath_widths)
    if (w > 0 && std::isfinite(w)) widths.push_back(w);
  if (widths.empty() || !(c.hull_area > 0) || !std::isfinite(c.hull_area)) return c;
  c.known = true;
  c.swath_width = median(std::move(widths));

  PlanePoint low = c.hull[0], high = c.hull[0];
  for (const PlanePoint& p : c.hull) {
    low = {std::min(low.easting, p.easting), std::min(low.northing, p.northing)};
    high = {std::max(high.easting, p.easting), std::max(high.northing, p.northing)};
  }
  Cells g;
  g.origin = low;
  const double w = high.easting - low.easting, h = high.northing - low.northing;
  g.cell = std::max(c.swath_width / 4.0, std::sqrt(w * h / static_cast<double>(std::max(1L, max_cells))));
  g.columns = static_cast<int>(std::ceil(w / g.cell)) + 1;
  g.rows = static_cast<int>(std::ceil(h / g.cell)) + 1;

  std::vector<std::uint8_t> state(static_cast<std::size_t>(g.columns) * static_cast<std::size_t>(g.rows), 0);
  // Each block's hull, its cells owned by the block.
  c.blocks = block_hulls(survey, c.swath_width);
  std::vector<std::int32_t> owner(state.size(), -1);
  c.hull_area = 0.0;
  for (std::size_t b = 0; b < c.blocks.size(); ++b) {
    c.hull_area += c.blocks[b].area;
    if (c.blocks[b].hull.size() < 3) continue;
    fill_polygon(g, c.blocks[b].hull, [&](int r, int c0, int c1) {
      for (int col = c0; col <= c1; ++col) {
        state[g.index(col, r)] |= kInHull;
        owner[g.index(col, r)] = static_cast<std::int32_t>(b);
      }
    });
  }
  for (const SwathQuad& q : survey.swaths)
    fill_polygon(g, q, [&](int r, int c0, int c1) {
      for (int col = c0; col <= c1; ++col) state[g.index(col, r)] |= kCovered;
    });
  long in_hull = 0, covered = 0;
  std::vector<long> block_in(c.blocks.size(), 0), block_covered(c.blocks.size(), 0);
  for (std::size_t i = 0; i < state.size(); ++i) {
    if (!(state[i] & kInHull)) continue;
    const bool swath = (state[i] & kCovered) != 0;
    ++in_hull;
    covered += swath;
    ++block_in[static_cast<std::size_t>(owner[i])];
    block_covered[static_cast<std::size_t>(owner[i])] += swath;
  }
  c.covered_share = in_hull > 0 ? static_cast<double>(covered) / static_cast<double>(in_hull) : 0.0;
  for (std::size_t b = 0; b < c.blocks.size(); ++b)
    if (block_in[b] > 0)
      c.blocks[b].covered_share = static_cast<double>(block_covered[b]) / static_cast<double>(block_in[b]);

  // A gap holds a disc a swath wide, to within a cell: its cells are at
  // least half a swath (less half a cell) from anything covered or outside.
  const std::vector<double> distance2 = distance_transform(g, state);
  std::vector<Component> comps = wide_gaps(g, state, distance2, c.swath_width / 2.0 / g.cell - 0.5);
  std::sort(comps.begin(), comps.end(),
            [](const Component& a, const Component& b) { return a.cells.size() > b.cells.size(); });
  if (comps.size() > kCoverageMaxGaps) comps.resize(kCoverageMaxGaps);

  c.grid.origin = g.origin;
  c.grid.cell = g.cell;
  c.grid.columns = g.columns;
  c.grid.rows = g.rows;
  c.grid.gap.assign(state.size(), 0);
  for (std::size_t i = 0; i < state.size(); ++i)
    if (state[i] & kCovered) c.grid.gap[i] = -1;
  for (std::size_t n = 0; n < comps.size(); ++n) {
    for (std::size_t i : comps[n].cells) c.grid.gap[i] = static_cast<std::int16_t>(n + 1);
    c.gaps.push_back(describe(g, comps[n]));
  }
  return c;
}

}  // namespace quelor
