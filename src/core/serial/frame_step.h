#pragma once
// What a framer reports after each byte, and what it needs to know about the
// survey to decide on decimation and the audible tick.

#include <cstdint>

namespace quelor {

enum class FrameEvent : std::uint8_t {
  kNone,      // byte stored, no record boundary
  kRecord,    // a valid record is in the framer's record
  kRejected,  // a record boundary that failed the validity test
};

struct FrameStep {
  FrameEvent event = FrameEvent::kNone;
  bool deliver = false;    // send or post the reading message now
  bool play_tick = false;  // play "SOUND_RESULT" (asynchronous, no stop)
};

// Survey values a reader reads on every byte (they change while it runs).
struct FrameContext {
  int records_per_reading = 1;  // RecordsPerReading
  bool sound_on = false;        // audio ticks option
  bool logging = false;         // survey state is Logging
  int survey_mode = 0;          // 0 Auto, 1 Wheel, 2 Manual
  int sound_every = 0;          // tick count of the survey settings (polled and second-mode EM61)
  bool marker = false;          // the logging window's marker: EM38-4 +8, EM61-LX2 marker letters
  bool line_active = false;     // EM38-4: a modem status line was active (+16)
};

// When a reader plays its tick: every `every` valid records while the
// conditions hold; `every` 0 takes the count from FrameContext::sound_every.
struct SoundRule {
  bool enabled = false;
  int every = 0;
  bool not_manual = false;  // only outside the Manual logging mode
  bool auto_only = false;   // only in the Auto logging mode
};

// RecordCounter and the sound counter of one reader.
struct FrameCounters {
  int record_counter = 0;
  int sound_counter = 0;
};

// Counts one valid record toward the tick; true when the tick is due.
bool count_sound(FrameCounters& counters, const SoundRule& rule, const FrameContext& ctx);

// Counts one line toward RecordsPerReading; true when the counter reached it
// (the counter then restarts at 0).
bool count_record(FrameCounters& counters, const FrameContext& ctx);

}  // namespace quelor
