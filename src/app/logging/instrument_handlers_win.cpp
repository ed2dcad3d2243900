#include "app/logging/instrument_handlers_win.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/logging/display_windows.h"
#include "app/logging/logging_handlers.h"
#include "app/logging/logging_session.h"
#include "app/logging/profile_drawing.h"
#include "app/logging/status_panel.h"
#include "app/logging/target_cue_win.h"
#include "app/logging/write_failure_win.h"
#include "app/procedures/procedure_actions.h"
#include "app/readers/reader_shared.h"
#include "app/sound/sound_player.h"
#include "survey/tilt_handler.h"

namespace quelor {

namespace {

void show_reading(DisplayValues& d, const InstrumentOutcome& o) {
  d.have_reading = true;
  d.channels = o.channels;
  d.channel_count = o.channel_count;
  d.first_value = o.channels[0];
  d.second_value = o.channels[1];
  d.has_second_value = o.channel_count > 1;
  if (o.dipole != 0) d.dipole = o.dipole;
  d.marker = o.marker;
  if (!o.battery_text.empty()) d.battery_text = o.battery_text;
  if (!o.current_text.empty()) d.current_text = o.current_text;
  std::copy(d.history.begin() + 1, d.history.end(), d.history.begin());
  d.history.back() = o.channels[0];
  d.history_count = std::min(d.history_count + 1, kProfileHistory);
}

void instrument_reading(HWND window, const QueuedRecord& r) {
  LoggingSession& s = logging_session();
  InstrumentContext& c = s.instrument_context;
  c.now = GetTickCount();
  c.procedure = s.procedure;
  const InstrumentOutcome o = handle_instrument_reading(s.survey, s.instrument_state, c, s.decode, r.record, r.tick);
  if (o.to_procedure) {
    // The drift control's readings are drawn as they are collected.
    if (procedure_draws_readings())
      draw_reading_step({std::span<const double>(o.channels.data(), static_cast<std::size_t>(o.channel_count)),
                         o.trace_identity, true});
    return;
  }
  if (o.mode_switched) {
    sync_reader_survey();
    refresh_decode_context();
    invalidate_state_label(window);
  }
  if (o.logged && s.data_file_open()) {
    write_manual_position();
    s.writer().write_reading(o.reading_input());
  }
  if (o.result_sound) play_sound(Sound::kResult);
  const bool values_changed = o.battery_text != s.display.battery_text || o.current_text != s.display.current_text;
  show_reading(s.display, o);
  run_target_cue(o);
  draw_reading_step({std::span<const double>(o.channels.data(), static_cast<std::size_t>(o.channel_count)),
                     o.trace_identity, true, reading_steps_profile(s.survey.state == kStateLogging, o.logged)});
  invalidate_reading_displays();
  if (o.logged || values_changed) invalidate_status_area(window);
}

}  // namespace

LRESULT instrument_reading_handler(HWND window, UINT, WPARAM, LPARAM) {
  drain_instrument_records(window, instrument_reading);
  return 0;
}

namespace {

enum ReaderNotice : WPARAM { kTiltSilent = 0, kGpsReconnecting = 1, kRecordsBack = 2, kWriteFailed = 3 };

// Runs on a reader thread: only posts.
void post_notice(WPARAM notice) {
  if (HWND window = reader_shared().log_window.load()) PostMessageW(window, WM_READER_NOTICE, notice, 0);
}

}  // namespace

void post_write_failure_notice() { post_notice(kWriteFailed); }

void install_reader_notices() {
  ReaderHooks& h = reader_shared().hooks;
  h.blank_tilt_fields.store(+[] { post_notice(kTiltSilent); });
  h.blank_gps_fields.store(+[] { post_notice(kGpsReconnecting); });
  h.repaint_status_area.store(+[] { post_notice(kRecordsBack); });
}

// A silent tilt meter: its angles leave the screen and stop correcting the
// footprint. A reconnecting GPS: the six GPS fields are blanked.
LRESULT reader_notice_handler(HWND window, UINT, WPARAM notice, LPARAM) {
  LoggingSession& s = logging_session();
  if (!s.active) return 0;
  if (notice == kWriteFailed) {
    report_write_failure(window);
    return 0;
  }
  if (notice == kTiltSilent) {
    s.tilt_inline_offset = 0.0;
    s.tilt_lateral_offset = 0.0;
    s.display.tilt_first_text.clear();
    s.display.tilt_second_text.clear();
    if (HWND numbers = s.children.numbers) InvalidateRect(numbers, nullptr, FALSE);
  }
  if (notice == kGpsReconnecting) s.display.fix = FixTexts{};
  invalidate_status_area(window);
  return 0;
}

void refresh_decode_context() {
  LoggingSession& s = logging_session();
  s.decode = decode_context_from_settings(g_settings, g_variant.instrument_type, s.survey.survey_mode == kModeManual,
                                          ring_enabled(s.instrument_state.current_ring));
}

LRESULT tilt_reading_handler(HWND window, UINT, WPARAM, LPARAM) {
  LoggingSession& s = logging_session();
  const RecordBytes sentence = tilt_sentence();
  if (!s.active || sentence.length == 0) return 0;
  const TiltOutcome o = handle_tilt_sentence(s.survey, sentence.text(), g_settings.antenna_height, g_settings.map_units,
                                             reader_shared().tilt_tick.load());
  s.tilt_inline_offset = o.inline_offset;
  s.tilt_lateral_offset = o.lateral_offset;
  s.display.tilt_first_text = o.first_text;
  s.display.tilt_second_text = o.second_text;
  if (o.write && s.data_file_open()) s.writer().write_tilt(o.first_angle, o.second_angle, o.tick);
  if (HWND numbers = s.children.numbers) InvalidateRect(numbers, nullptr, FALSE);
  invalidate_status_area(window);
  return 0;
}

}  // namespace quelor
