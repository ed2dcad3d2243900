#include "map/map_buttons.h"

#include <algorithm>

namespace quelor {

namespace {

// Shown outside review (0) and in review (1).
constexpr std::array<std::array<bool, kMapButtonCount>, 2> kShown{{
    {true, true, true, true, false, false, false, true, false},
    {true, true, true, true, true, true, true, false, true},
}};

}  // namespace

MapButtonMask map_buttons_shown(bool map_view, bool review) {
  if (!map_view) return {};
  return kShown[review ? 1 : 0];
}

std::array<ButtonSpan, kMapButtonCount> map_button_row(const MapButtonMask& shown,
                                                       const std::array<int, kMapButtonCount>& text_widths, int left,
                                                       int right) {
  std::array<ButtonSpan, kMapButtonCount> row{};
  int count = 0;
  long wanted = 0;
  for (int i = 0; i < kMapButtonCount; ++i)
    if (shown[static_cast<std::size_t>(i)]) {
      ++count;
      wanted += std::max(0, text_widths[static_cast<std::size_t>(i)]) + kMapButtonPadding;
    }
  if (count == 0) return row;
  const long room = std::max(0, right - left - (count - 1) * kMapButtonGap);
  int x = left;
  for (int i = 0; i < kMapButtonCount; ++i) {
    if (!shown[static_cast<std::size_t>(i)]) continue;
    const long width = std::max(0, text_widths[static_cast<std::size_t>(i)]) + kMapButtonPadding;
    const long fitted = wanted > room ? width * room / wanted : width;
    row[static_cast<std::size_t>(i)] = {x, static_cast<int>(std::max(1L, fitted))};
    x += row[static_cast<std::size_t>(i)].width + kMapButtonGap;
  }
  return row;
}

}  // namespace quelor
