#pragma once
// The colour bar beside the map (ColorBarWnd): 50 boxes of the palette from
// the bottom up, ticks and "%.2f" labels at the quarters of the scale, and a
// second bar with titles for the instruments with an in-phase component.

#include <string>
#include <vector>

#include "map/palette.h"
#include "variant/variant.h"

namespace quelor {

struct BarBox {
  int left, top, right, bottom;  // right and bottom excluded
  int colour_class;
};

struct BarText {
  int x, y;
  std::string text;
};

struct BarTick {
  int x0, x1, y;
};

struct ColourBarLayout {
  std::vector<BarBox> boxes;
  std::vector<BarTick> ticks;
  std::vector<BarText> labels;
  std::vector<BarText> titles;
  std::vector<BarBox> frames;  // one outline a bar
};

inline constexpr int kColourBarHeight = 280;
inline constexpr int kColourBarBoxes = 50;
inline constexpr int kColourBarWindow = 306;

// The second bar for EM31-MK2, EM38-MK2 and EM38-4.
bool colour_bar_has_second(InstrumentType instrument_type);

// `mapped_second`: the colour map shows a second-component (in-phase) view.
// The two bars carry the two scales; a single bar carries the scale of the
// mapped component (the CS-21's in-phase views: the second).
ColourBarLayout colour_bar_layout(InstrumentType instrument_type, double minimum_1, double maximum_1, double minimum_2,
                                  double maximum_2, bool mapped_second = false);

// Where the labelled colour bar is seen: over the map's top-left corner, at
// (30, 25) 244 x 296 for the instruments of two bars and the CS-21, else at
// (40, 25) 142 x 296, while the map is in review with a colour view mapped
// (the map stands still and is redrawn whole from the data file, so the bar
// covers no track being painted), and only when the map holds it whole.
struct ColourBarPlace {
  bool shown = false;
  int left = 0, top = 0, width = 0, height = 0;  // in the map's parent
};

struct ColourBarInput {
  InstrumentType instrument_type = kEm31Mk2;
  int map_left = 0, map_top = 0, map_width = 0, map_height = 0;
  bool map_shown = false;
  bool review = false;
  int colour_map_view = 0;
};

ColourBarPlace colour_bar_place(const ColourBarInput& input);

}  // namespace quelor
