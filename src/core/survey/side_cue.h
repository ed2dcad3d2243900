#pragma once
// The EM61-LX2 target side indicator: from the two coils' values a1 (left)
// and a2 (right) and their alarm flags, the side code and the three fields
// (left, between, right) of the numbers window.

#include <array>
#include <string_view>

namespace quelor {

enum SideCode : int { kSideNothing = -2, kSideLeft = -1, kSideBetween = 0, kSideRight = 1, kSideBoth = 2 };

enum class CueField : int { kUnchanged, kWhite, kRed };

struct SideIndication {
  int code = kSideNothing;
  std::array<CueField, 3> fields{CueField::kUnchanged, CueField::kUnchanged, CueField::kUnchanged};  // left, between, right
};

// With a flag set: "between" when |k x the smaller of |a1| and |a2| (a2 when
// they are equal)| exceeds |a1 - a2|, else the flagged sides. Without flags
// the fields turn white while the alarm is enabled and stay as they are
// when it is not.
SideIndication side_indication(double a1, double a2, bool f1, bool f2, double between_ratio, bool alarm_enabled);

// The voice of a side code: "LEFTSOUND", "BETWEENSOUND", "RIGHTSOUND",
// "LEFTRIGHTSOUND"; empty for -2.
std::string_view side_voice(int code);

}  // namespace quelor
