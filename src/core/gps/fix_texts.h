#pragma once
// The display texts of a fix, made from the sentence it was read from where
// the status area shows them.

#include <array>
#include <string_view>

#include "gps/fix.h"

namespace quelor {

struct GpsFixTexts {
  AngleText latitude;                // "N43°36.5940'"
  AngleText longitude;               // "W079°36.0000'"
  NumberText dilution;               // "%3.1f" below 10, "%3.0f" from 10
  NumberText satellites_shown;       // " %02d"
  std::array<NumberText, 3> extras;  // "%8.3f" each
};

// `sentence` is the one `fix` was parsed from. A text is empty when the
// format has no such field or the field could not be read.
GpsFixTexts fix_display_texts(const GpsFix& fix, std::string_view sentence);

}  // namespace quelor
