#pragma once
// The inputs of the instrument reading handlers taken from the settings record.

#include <cstdint>

#include "settings/settings.h"
#include "survey/instrument_handler.h"

namespace quelor {

// The colour scale of a channel: EM38-MK2, EM38-4 and CS-21 in-phase channels
// (the even ones) use the second readings scale, every other the first.
ColourScale channel_colour_scale(const Settings& s, int instrument_type, int channel);

InstrumentContext instrument_context_from_settings(const Settings& s, int instrument_type, std::uint32_t now);

}  // namespace quelor
