#include "survey/instrument_context.h"

namespace quelor {

InstrumentContext instrument_context_from_settings(const Settings& s, std::uint32_t now) {
  InstrumentContext c;
  c.now = now;
  c.audio_ticks = s.audio_ticks != 0;
  return c;
}

}  // namespace quelor
