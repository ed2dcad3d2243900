#include "app/readers/reader_shared.h"

namespace quelor {

ReaderShared& reader_shared() {
  static ReaderShared shared;
  return shared;
}

void set_reading_window(HWND window) { reader_shared().log_window.store(window); }

std::optional<QueuedRecord> take_instrument_record() {
  ReaderShared& shared = reader_shared();
  if (auto r = shared.instrument_records.pop()) return r;
  return shared.second_mode_records.pop();
}

std::uint32_t take_dropped_readings() {
  ReaderShared& shared = reader_shared();
  return shared.instrument_records.take_dropped() + shared.second_mode_records.take_dropped();
}
RecordBytes tilt_sentence() { return reader_shared().tilt_sentence.latest(); }
RecordBytes gps_sentence() { return reader_shared().gps_sentence.latest(); }

void restart_connection_wait(std::uint32_t now) {
  ReaderShared& shared = reader_shared();
  shared.last_record_tick.store(now);
  shared.arrival_tick.store(now);
}

FrameContext reader_frame_context() {
  const ReaderSurvey& s = reader_shared().survey;
  FrameContext ctx;
  ctx.records_per_reading = s.records_per_reading.load();
  ctx.sound_on = s.sound_on.load();
  ctx.logging = s.logging.load();
  ctx.survey_mode = s.survey_mode.load();
  ctx.sound_every = s.sound_every.load();
  ctx.marker = s.marker.load();
  return ctx;
}

}  // namespace quelor
