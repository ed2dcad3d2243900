#include "app/logging/box_hold.h"

#include "app/app_state.h"
#include "app/logging/logging_session.h"
#include "app/readers/instrument_reader.h"
#include "app/readers/reader_shared.h"
#include "platform/win32/win32_message_box.h"
#include "serial/instrument_framer.h"
#include "serial/record_queue.h"

namespace quelor {

namespace {

int g_boxes_open = 0;  // window thread only

}  // namespace

int show_box_holding_readings(HWND owner, const OperatorMessage& m, bool discard_queued) {
  ReaderShared& shared = reader_shared();
  // Only the holds asked for here are let go: the wheel keeps the timed reader held.
  const bool hold_timed = !shared.instrument_hold.requested.load();
  const bool hold_second = shared.second_mode_thread.load() != nullptr && !shared.second_mode_hold.requested.load();
  ++g_boxes_open;
  if (hold_timed) hold_reader(ReaderRole::kTimed);
  if (hold_second) hold_reader(ReaderRole::kSecondMode);
  Win32MessageBox box(owner);
  const int answer = box.show(m);
  if (discard_queued) {
    std::uint32_t queued = 0;
    const bool manual = logging_session().survey.survey_mode == kModeManual;
    while (const std::optional<QueuedRecord> r = take_instrument_record())
      if (!manual || record_triggered(g_variant.instrument_type, r->record)) ++queued;
    shared.discarded_readings.fetch_add(queued);
  }
  if (hold_timed) release_reader(ReaderRole::kTimed, true);
  if (hold_second) release_reader(ReaderRole::kSecondMode, true);
  restart_connection_wait(GetTickCount());
  --g_boxes_open;
  return answer;
}

bool reading_box_open() { return g_boxes_open > 0; }

void report_discarded_readings() {
  const std::uint32_t discarded = reader_shared().discarded_readings.exchange(0);
  if (discarded > 0 && logging_session().survey.state == kStateLogging)
    write_survey_remark(discarded_readings_remark(discarded), GetTickCount());
}

}  // namespace quelor
