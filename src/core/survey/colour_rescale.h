#pragma once
// Whether new readings scales recolour the map: the colour classes of the
// strips already painted follow the mapped reading's scale, so a change of
// that scale redraws the whole map from the data file.

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// True when a colour view is mapped and the scale it takes its classes from
// (profile scale 1, or 2 for the in-phase views) has another minimum or
// maximum in `after` than in `before`.
bool readings_scale_recolours_map(const Settings& before, const Settings& after, InstrumentType instrument_type);

}  // namespace quelor
