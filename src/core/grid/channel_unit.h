#pragma once
// The unit of a channel, from the ending of its name as the export names
// its columns ("conductivity_vertical_mS_m": "mS/m"); empty when the name
// says none (an auxiliary input).

#include <string>
#include <string_view>

namespace quelor {

std::string channel_unit(std::string_view channel);

}  // namespace quelor
