#include "grid/contours.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

namespace quelor {

namespace {

struct Corner {
  double x, y, v;
};

// Where the level crosses the edge from a to b.
ContourPoint crossing(const Corner& a, const Corner& b, double level) {
  const double t = (level - a.v) / (b.v - a.v);
  return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// A cut edge of the grid: its number (the same from both squares beside
// it) and the crossing there.
struct EdgeCut {
  long edge = 0;
  ContourPoint at{};
};
using Piece = std::array<EdgeCut, 2>;

// Square edge k (top, right, bottom, left) of the square whose top left
// cell is (c, r): its number, and its corners in the one order both squares
// beside it use (left to right, top to bottom), so the crossing is the same.
struct SquareEdge {
  int dc, dr;      // the edge's first cell from the square's top left
  int horizontal;  // 0: horizontal, 1: vertical
  int from, to;    // square corners
};
constexpr SquareEdge kSquareEdges[] = {{0, 0, 0, 0, 1}, {1, 0, 1, 1, 2}, {0, 1, 0, 3, 2}, {0, 0, 1, 0, 3}};

struct Square {
  std::array<Corner, 4> q;  // top left, top right, bottom right, bottom left
  int c, r, columns;
  EdgeCut cut(int k, double level) const {
    const SquareEdge& e = kSquareEdges[k];
    const long cell = static_cast<long>(r + e.dr) * columns + (c + e.dc);
    return {2 * cell + e.horizontal,
            crossing(q[static_cast<std::size_t>(e.from)], q[static_cast<std::size_t>(e.to)], level)};
  }
};

void march(const Square& s, double level, std::vector<Piece>& out) {
  const auto& q = s.q;
  int index = 0;
  for (int i = 0; i < 4; ++i) index |= (q[static_cast<std::size_t>(i)].v >= level) << i;
  if (index == 0 || index == 15) return;
  const auto add = [&](int e0, int e1) { out.push_back({s.cut(e0, level), s.cut(e1, level)}); };
  // Edge k joins corner k and corner k + 1.
  std::vector<int> crossed;
  for (int k = 0; k < 4; ++k)
    if (((index >> k) & 1) != ((index >> ((k + 1) % 4)) & 1)) crossed.push_back(k);
  if (crossed.size() == 2) {
    add(crossed[0], crossed[1]);
    return;
  }
  // A saddle: the centre's side decides which corners the lines cut off.
  const double centre = (q[0].v + q[1].v + q[2].v + q[3].v) / 4;
  const bool high_centre = centre >= level;
  const bool corner0_high = index & 1;
  if (corner0_high == high_centre) {
    add(0, 1);  // corners 1 and 3 cut off
    add(2, 3);
  } else {
    add(3, 0);  // corners 0 and 2 cut off
    add(1, 2);
  }
}

// The pieces of one level joined at their shared edges: every edge is cut
// by at most two pieces, so the pieces form chains (from an edge of the
// data to another) and rings.
class PieceJoiner {
 public:
  explicit PieceJoiner(const std::vector<Piece>& pieces) : pieces_(pieces), used_(pieces.size(), false) {
    for (std::size_t i = 0; i < pieces.size(); ++i)
      for (const EdgeCut& end : pieces[i]) {
        auto& at = by_edge_.try_emplace(end.edge, std::array<int, 2>{-1, -1}).first->second;
        at[at[0] < 0 ? 0 : 1] = static_cast<int>(i);
      }
  }

  std::vector<ContourLine> lines() {
    std::vector<ContourLine> out;
    // Chains first, from their loose ends; what is left are rings.
    for (std::size_t i = 0; i < pieces_.size(); ++i)
      for (int end = 0; end < 2 && !used_[i]; ++end)
        if (by_edge_[pieces_[i][static_cast<std::size_t>(end)].edge][1] < 0) out.push_back(walk(i, end));
    for (std::size_t i = 0; i < pieces_.size(); ++i)
      if (!used_[i]) out.push_back(walk(i, 0));
    return out;
  }

 private:
  ContourLine walk(std::size_t piece, int end) {
    ContourLine line{pieces_[piece][static_cast<std::size_t>(end)].at};
    for (;;) {
      used_[piece] = true;
      const EdgeCut& out = pieces_[piece][static_cast<std::size_t>(1 - end)];
      line.push_back(out.at);
      const std::array<int, 2>& at = by_edge_[out.edge];
      const int next = at[0] == static_cast<int>(piece) ? at[1] : at[0];
      if (next < 0 || used_[static_cast<std::size_t>(next)]) return line;
      piece = static_cast<std::size_t>(next);
      end = pieces_[piece][0].edge == out.edge ? 0 : 1;
    }
  }

  const std::vector<Piece>& pieces_;
  std::vector<bool> used_;
  std::unordered_map<long, std::array<int, 2>> by_edge_{};
};

}  // namespace

std::vector<ContourLevel> grid_contours(const Grid& g, double interval) {
  std::vector<ContourLevel> out;
  if (!(interval > 0) || !std::isfinite(interval)) return out;
  double low = INFINITY, high = -INFINITY;
  for (float v : g.values)
    if (!std::isnan(v)) {
      low = std::min(low, double(v));
      high = std::max(high, double(v));
    }
  if (!(high >= low)) return out;
  const double first = std::ceil(low / interval), last = std::floor(high / interval);
  if (last - first + 1 > kMostContourLevels) return out;
  for (double k = first; k <= last; ++k) out.push_back({k * interval, {}});
  std::vector<std::vector<Piece>> pieces(out.size());
  for (int r = 0; r + 1 < g.rows; ++r)
    for (int c = 0; c + 1 < g.columns; ++c) {
      const Square s{
          {Corner{g.centre_x(c), g.centre_y(r), g.at(c, r)}, Corner{g.centre_x(c + 1), g.centre_y(r), g.at(c + 1, r)},
           Corner{g.centre_x(c + 1), g.centre_y(r + 1), g.at(c + 1, r + 1)},
           Corner{g.centre_x(c), g.centre_y(r + 1), g.at(c, r + 1)}},
          c,
          r,
          g.columns};
      if (std::any_of(s.q.begin(), s.q.end(), [](const Corner& k) { return std::isnan(k.v); })) continue;
      const auto [lo, hi] = std::minmax({s.q[0].v, s.q[1].v, s.q[2].v, s.q[3].v});
      for (std::size_t i = 0; i < out.size(); ++i)
        if (out[i].value > lo && out[i].value <= hi) march(s, out[i].value, pieces[i]);
    }
  for (std::size_t i = 0; i < out.size(); ++i) out[i].lines = PieceJoiner(pieces[i]).lines();
  std::erase_if(out, [](const ContourLevel& l) { return l.lines.empty(); });
  return out;
}

std::string contours_geojson(const std::vector<ContourLevel>& levels, int epsg) {
  std::string out = "{\"type\":\"FeatureCollection\",";
  if (epsg)
    out +=
        "\"crs\":{\"type\":\"name\",\"properties\":{\"name\":\"urn:ogc:def:crs:EPSG::" + std::to_string(epsg) + "\"}},";
  out += "\"features\":[";
  char number[96];
  for (std::size_t i = 0; i < levels.size(); ++i) {
    std::snprintf(number, sizeof number, "%.10g", levels[i].value);
    out += std::string(i ? "," : "") + "\n{\"type\":\"Feature\",\"properties\":{\"value\":" + number +
           "},\"geometry\":{\"type\":\"MultiLineString\",\"coordinates\":[";
    for (std::size_t k = 0; k < levels[i].lines.size(); ++k) {
      out += k ? ",[" : "[";
      for (std::size_t p = 0; p < levels[i].lines[k].size(); ++p) {
        const ContourPoint& at = levels[i].lines[k][p];
        std::snprintf(number, sizeof number, "%s[%.3f,%.3f]", p ? "," : "", at[0], at[1]);
        out += number;
      }
      out += "]";
    }
    out += "]}}";
  }
  return out + "\n]}\n";
}

}  // namespace quelor
