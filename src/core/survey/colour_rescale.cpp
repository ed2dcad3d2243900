#include "survey/colour_rescale.h"

#include <array>

#include "reading/decode_context.h"

namespace quelor {

namespace {

const std::array<double, 2>& mapped_scale(const Settings& s, InstrumentType instrument_type) {
  return mapped_view_uses_scale_2(instrument_type, s.colour_map_view) ? s.profile_scale_2 : s.profile_scale_1;
}

}  // namespace

bool readings_scale_recolours_map(const Settings& before, const Settings& after, InstrumentType instrument_type) {
  if (after.colour_map_view < 1) return false;
  return mapped_scale(before, instrument_type) != mapped_scale(after, instrument_type);
}

}  // namespace quelor
