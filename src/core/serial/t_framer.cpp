#include "serial/t_framer.h"

namespace quelor {

namespace {

constexpr int kWrapAfter = 180;
constexpr SoundRule kTick{true, 6, true, false};

}  // namespace

TFramer make_t_framer(int record_length, std::uint32_t message) {
  TFramer f;
  // A record must fit the line buffer and InstrumentRecord.
  if (record_length < 1) record_length = 1;
  if (record_length > 120) record_length = 120;
  f.record_length = record_length;
  f.message = message;
  return f;
}

FrameStep frame_t_byte(TFramer& f, std::uint8_t byte, const FrameContext& ctx) {
  FrameStep step;
  ++f.n;
  f.line[f.n] = byte;
  if (f.n > kWrapAfter) {  // over-long line: start again at position 0
    f.n = -1;
    return step;
  }
  const int length = f.record_length;
  if (byte != '\r' || f.n < length) return step;
  const int start = f.n - length;
  if (f.line[start] != 'T') {  // bad line: counts toward the decimation
    count_record(f.counters, ctx);
    step.event = FrameEvent::kRejected;
    return step;
  }
  assign_record(f.record, &f.line[start], static_cast<std::size_t>(length));
  step.event = FrameEvent::kRecord;
  step.play_tick = count_sound(f.counters, kTick, ctx);
  step.deliver = count_record(f.counters, ctx);
  f.line.fill(0);
  f.n = -1;
  return step;
}

}  // namespace quelor
