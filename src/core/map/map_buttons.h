#pragma once
// The nine map buttons of the logging window ("&Lf", "&Rt", "U&p", "&Dn",
// "Zm&+", "Zm&-", "&Fit All", "Enter Rev&iew", "&Exit Review"): which are
// shown with the map view, and their row beside the speed bar.

#include <array>

namespace quelor {

inline constexpr int kMapButtonCount = 9;

enum MapButton : int {
  kMapButtonLeft,
  kMapButtonRight,
  kMapButtonUp,
  kMapButtonDown,
  kMapButtonZoomIn,
  kMapButtonZoomOut,
  kMapButtonFitAll,
  kMapButtonEnterReview,
  kMapButtonExitReview,
};

using MapButtonMask = std::array<bool, kMapButtonCount>;

// With the map view: the four pans and "Enter Rev&iew"; in review the pans,
// zoom, fit and "&Exit Review". None without the map view.
MapButtonMask map_buttons_shown(bool map_view, bool review);

// A button's place in the row: its left edge and width (0 when hidden).
struct ButtonSpan {
  int left = 0;
  int width = 0;
};

inline constexpr int kMapButtonGap = 2;
inline constexpr int kMapButtonPadding = 12;  // beside the text, both sides together

// The shown buttons left to right from `left`, 2 pixels apart, each as wide
// as its text and the padding; where the row from `left` to `right` is
// shorter they narrow in proportion (never below 1 pixel).
std::array<ButtonSpan, kMapButtonCount> map_button_row(const MapButtonMask& shown,
                                                       const std::array<int, kMapButtonCount>& text_widths, int left,
                                                       int right);

}  // namespace quelor
