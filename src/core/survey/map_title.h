#pragma once
// The title strip over the map: the name of the mapped reading by instrument
// and colour map view, or in map review "Review" with the channel.

#include <string>

#include "variant/variant.h"

namespace quelor {

// Blank when nothing is mapped (view 0) or the view has no name here.
std::string map_title(InstrumentType instrument_type, int colour_map_view, bool review);

// The Grad601 profile heading.
inline constexpr const char* kGradientHeading = "Gradient [nT/m]";

// The EM61-LX2 alarm indicator letter of the monitored channel (0 E, 1 L,
// 2 F); 0 outside.
char alarm_channel_letter(int monitored_channel);

}  // namespace quelor
