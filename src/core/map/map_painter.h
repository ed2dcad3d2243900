#pragma once
// The painter of a fix while logging: the footprint bars of the swath (one,
// or one per coil separation in the Manual mode of the EM34-3), the swath
// records that keep them in the data file, and their drawing into the data
// tiles: the colour strip since the previous bar, or the position marks.
// The records are due even when the drawing is skipped (map review, a
// running command), so that the re-plot and a continued file keep every fix.

#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "map/footprint.h"
#include "map/map_view.h"
#include "map/strip.h"

namespace quelor {

inline constexpr int kFootprintKinds = 3;

using KindColours = std::array<PaletteColour, kFootprintKinds>;

// The colour of the position marks (dots, and the bars of the 1- and
// 2-pixel pens) of each footprint kind: the map's position colour; in the
// Manual mode of the EM34-3 each coil separation (10, 20, 40 m) its own, the
// colour of profile trace 1, 2 and 3 (the three the EM34-3 sets). The live
// painter and the re-plot both take them from here.
KindColours position_mark_colours(std::uint32_t position_colour, std::span<const std::uint32_t> trace_colours,
                                  bool manual_em34);

struct KindFootprint {
  bool has_bar = false;
  Bar bar;  // the previous bar, kept in map units across a change of scale
  TowedTrack track;
  // A fix at the previous position closes no strip: its readings (and
  // whether any arrived) go on into the next one, as the re-plot reads the
  // file, which holds no footprint for that fix.
  std::vector<int> carried;
  bool carried_active = false;
};

struct PainterState {
  bool has_position = false;  // the swath's first position is known
  MapPoint previous;          // antenna position of the previous fix
  std::array<KindFootprint, kFootprintKinds> kinds{};
};

struct FixPaint {
  MapPoint antenna;
  bool paint = true;                                                // false: records only
  int kinds = 1;                                                    // 3 in the Manual mode of the EM34-3
  std::array<bool, kFootprintKinds> kind_active{true, true, true};  // a reading of that separation arrived
  std::array<FootprintGeometry, kFootprintKinds> geometry{};
  int colour_map_view = 0;
  std::array<std::span<const int>, kFootprintKinds> rows{};  // closed segment rows
  bool two_values = false;
  int position_size = 4;
  KindColours position_colours{{{0, 0, 255}, {0, 0, 255}, {0, 0, 255}}};
  bool two_sensors = false;
};

struct FixPaintResult {
  bool start_record = false;                                  // write '{0'
  std::vector<std::pair<int, std::array<double, 4>>> groups;  // write each (kind, corners)
  int strips = 0;
  int marks = 0;
};

// Starting logging: no position, no bars, empty tracks.
void painter_reset(PainterState& p);

// One fix while logging. A fix at the previous position draws and records
// nothing; the readings of its segment join the next strip.
FixPaintResult paint_fix(PainterState& p, const MapState& map, TileSurface& tiles, const FixPaint& fix);

}  // namespace quelor
