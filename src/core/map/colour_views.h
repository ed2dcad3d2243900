#pragma once
// The colour map views of each instrument ("Map Display Options"): entry 0
// is the positions view, entry k >= 1 the k-th mapped reading value.

#include <span>
#include <string_view>

namespace quelor {

std::span<const std::string_view> colour_view_names(int instrument_type);

// Number of entries (positions view included).
int colour_view_count(int instrument_type);

}  // namespace quelor
