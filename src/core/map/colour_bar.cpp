#include "map/colour_bar.h"

#include <cstdio>

#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr int kBoxHeight = kColourBarHeight / kColourBarBoxes;                  // 5
constexpr int kBarTop = (kColourBarWindow - kBoxHeight * kColourBarBoxes) / 2;  // 28
constexpr int kBarLeft = 75, kBarWidth = 20, kLabelX = 5, kSecondShift = 132, kLabelHalfHeight = 6;

void add_bar(ColourBarLayout& l, int shift, double minimum, double maximum) {
  const int left = kBarLeft + shift, bottom = kBarTop + kBoxHeight * kColourBarBoxes;
  for (int i = 0; i < kColourBarBoxes; ++i)
    l.boxes.push_back({left, bottom - (i + 1) * kBoxHeight, left + kBarWidth, bottom - i * kBoxHeight, i});
  l.frames.push_back({left - 1, kBarTop - 1, left + kBarWidth + 1, bottom + 1, -1});
  for (int k = 0; k <= 4; ++k) {
    const int y = bottom - k * (bottom - kBarTop) / 4;
    l.ticks.push_back({left - 6, left, y});
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", minimum + k * (maximum - minimum) / 4);
    int label_y = y - kLabelHalfHeight;
    if (k == 0) label_y -= kBoxHeight;  // the lowest label lifted by one box
    if (k == 4) label_y += kBoxHeight;  // the highest lowered by one box
    l.labels.push_back({kLabelX + shift, label_y, text});
  }
}

}  // namespace

bool colour_bar_has_second(InstrumentType type) { return has_trait(type, Trait::kSecondColourBar); }

ColourBarLayout colour_bar_layout(InstrumentType type, double minimum_1, double maximum_1, double minimum_2,
                                  double maximum_2, bool mapped_second) {
  ColourBarLayout l;
  const bool second_bar = colour_bar_has_second(type);
  if (mapped_second && !second_bar)
    add_bar(l, 0, minimum_2, maximum_2);
  else
    add_bar(l, 0, minimum_1, maximum_1);
  if (second_bar) {
    add_bar(l, kSecondShift, minimum_2, maximum_2);
    l.titles.push_back({18, 4, "Conductivity [mS/m]"});
    l.titles.push_back({156, 4, "Inphase [ppt]"});
  }
  return l;
}

ColourBarPlace colour_bar_place(const ColourBarInput& in) {
  const InstrumentType type = in.instrument_type;
  const bool wide = has_trait(type, Trait::kWideColourBar);
  ColourBarPlace p;
  p.left = in.map_left + (wide ? 30 : 40);
  p.top = in.map_top + 25;
  p.width = wide ? 244 : 142;
  p.height = kColourBarWindow - 10;
  const bool fits = p.left + p.width <= in.map_left + in.map_width && p.top + p.height <= in.map_top + in.map_height;
  p.shown = in.map_shown && in.review && in.colour_map_view >= 1 && fits;
  return p;
}

}  // namespace quelor
