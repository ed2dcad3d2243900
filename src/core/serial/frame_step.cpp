#include "serial/frame_step.h"

namespace quelor {

bool count_sound(FrameCounters& counters, const SoundRule& rule, const FrameContext& ctx) {
  if (!rule.enabled || !ctx.sound_on || !ctx.logging) return false;
  if (rule.not_manual && ctx.survey_mode == 2) return false;
  if (rule.auto_only && ctx.survey_mode != 0) return false;
  const int every = rule.every > 0 ? rule.every : ctx.sound_every;
  if (every <= 0) return false;
  if (++counters.sound_counter < every) return false;
  counters.sound_counter = 0;
  return true;
}

bool count_record(FrameCounters& counters, const FrameContext& ctx) {
  // A factor below 1 would never be reached: treat it as 1.
  const int factor = ctx.records_per_reading > 0 ? ctx.records_per_reading : 1;
  if (++counters.record_counter < factor) return false;
  counters.record_counter = 0;
  return true;
}

}  // namespace quelor
