#pragma once
// The EM61-LX2 target side indicator: from the two coils' values a1 (left)
// and a2 (right) and their alarm flags, the side code and the three fields
// (left, between, right) of the numbers window.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quelor {

enum SideCode : int { kSideNothing = -2, kSideLeft = -1, kSideBetween = 0, kSideRight = 1, kSideBoth = 2 };

enum class CueField : int { kUnchanged, kWhite, kRed };

struct SideIndication {
  int code = kSideNothing;
  std::array<CueField, 3> fields{CueField::kUnchanged, CueField::kUnchanged,
                                 CueField::kUnchanged};  // left, between, right
};

// With a flag set: "between" when |k x the smaller of |a1| and |a2| (a2 when
// they are equal)| exceeds |a1 - a2|, else the flagged sides. Without flags
// the fields turn white while the alarm is enabled and stay as they are
// when it is not.
SideIndication side_indication(double a1, double a2, bool f1, bool f2, double between_ratio, bool alarm_enabled);

// The voice of a side code: "LEFTSOUND", "BETWEENSOUND", "RIGHTSOUND",
// "LEFTRIGHTSOUND"; empty for -2.
std::string_view side_voice(int code);

// The numbers window of the two-coil EM61-LX2: the six values "LE:" ...
// "RF:" as "%9.1f", then "MARKER" on a marker record.
std::vector<std::string> side_indicator_rows(std::span<const double> channels, bool marker);

struct CueBox {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom excluded
};

// Where the rows and the three fields go in a numbers window of `width` x
// `height`: the fields in a band of their own along the bottom, the rows
// above it one `row_step` apart from `first_row_y` (the line height, or less
// with the small font when the rows would not fit), so that no field covers
// a row.
struct SideIndicatorLayout {
  int first_row_y = 5;
  int row_step = 0;
  bool small_font = false;
  std::array<CueBox, 3> fields{};
};
SideIndicatorLayout side_indicator_layout(int width, int height, int line_height, int rows);

inline constexpr int kCueFieldHeight = 10;

}  // namespace quelor
