#pragma once
// Fix quality labels, chosen by the first character of the quality field:
// "0" "NO FIX", "1" "AGPS", "2" "DGPS", "3"..."9" "RTK3"..."RTK9", else "UNKW".

#include <string_view>

namespace quelor {

std::string_view quality_label(std::string_view quality_field);

}  // namespace quelor
