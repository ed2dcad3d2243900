#pragma once
// The inputs of the binary and line instruments' handler taken from the
// settings record; their decode context comes from decode_context_from_settings.

#include <cstdint>

#include "settings/settings.h"
#include "survey/instrument_handler.h"

namespace quelor {

InstrumentContext instrument_context_from_settings(const Settings& s, std::uint32_t now);

}  // namespace quelor
