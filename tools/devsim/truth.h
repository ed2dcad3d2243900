#pragma once
// The true response of the simulated site: what an instrument's channel
// reads, without noise, with its sensor at a grid position of the walk's
// zone. Channels are named as `quelor export` names them; the instruments
// with a truth are those `devsim survey` logs (the EM31-MK2 and the Grad601
// with one sensor).

#include <functional>
#include <optional>
#include <string_view>

#include "devsim/instrument_kind.h"
#include "devsim/readings.h"
#include "devsim/site.h"
#include "devsim/walk.h"
#include "variant/variant.h"

namespace quelor::devsim {

// The channel's value at (easting, northing), metres; nothing for a channel
// without a truth.
using TrueResponse = std::function<double(double easting, double northing)>;

std::optional<TrueResponse> true_response(const Site& site, const WalkPlan& plan, InstrumentType type,
                                          const InstrumentSetup& setup, std::string_view channel);

// The place of the walk at a grid position (along and across from the
// origin; the course along the lines).
WalkPoint walk_point_at(const WalkPlan& plan, double easting, double northing);

}  // namespace quelor::devsim
