#include "app/logging/logging_handlers.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/background/background_actions.h"
#include "app/logging/box_hold.h"
#include "app/logging/display_windows.h"
#include "app/logging/instrument_reconnect_win.h"
#include "app/logging/logging_commands_win.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_session.h"
#include "app/logging/profile_drawing.h"
#include "app/logging/status_panel.h"
#include "app/logging/survey_ports.h"
#include "app/procedures/procedure_actions.h"
#include "app/map/live_map_win.h"
#include "app/readers/gps_reader_thread.h"
#include "app/readers/instrument_reader.h"
#include "app/readers/reader_shared.h"
#include "app/sound/sound_player.h"
#include "platform/win32/device_context.h"
#include "platform/win32/win32_message_box.h"
#include "serial/reading_messages.h"
#include "survey/connection_monitor.h"
#include "survey/em34_station_group.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

void remember_reading(DisplayValues& d, const ReadingOutcome& o) {
  d.have_reading = true;
  d.first_value = o.first_value;
  d.second_value = o.second_value;
  d.has_second_value = o.has_second_value;
  d.dipole = o.meaning.dipole;
  d.range = o.meaning.full_scale;
  d.inphase_record = o.meaning.inphase_record;
  if (has_trait(g_variant.instrument_type, Trait::kCoilConfigurations))
    d.coil_spacing_m = em34_spacing_of_slot(o.meaning.identity);
  d.marker = o.marker_shown;
  std::copy(d.history.begin() + 1, d.history.end(), d.history.begin());
  d.history.back() = o.first_value;
  d.history_count = std::min(d.history_count + 1, kProfileHistory);
}

// "Connecting... Please wait" in the numbers area while the port reopens.
void draw_connecting_notice(HWND numbers) {
  if (!numbers) return;
  WindowDc dc(numbers);
  RECT r;
  GetClientRect(numbers, &r);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const std::wstring text = widen(kConnectingText);
  DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
}

}  // namespace

// EM34-3 battery save, Yes (or Go after No): "Connecting... Please wait", the
// port reopened, the reader restarted and the monitor's timer running again.
// A port that cannot be reopened leaves the monitor reporting the break.
void reconnect_after_battery_save(HWND window) {
  LoggingSession& s = logging_session();
  const BatterySaveOutcome o = battery_save_reconnection();
  draw_connecting_notice(s.children.numbers);
  busy_wait_ms(o.wait_before_open_ms);
  s.instrument_port_open = open_instrument_port_with_tries(o.open_tries, o.try_gap_ms) &&
                           start_survey_reader(g_variant.instrument_type, 12, false, false, false);
  s.battery_saved = false;
  // The time-out counts from the reconnection, not from the last reading before it.
  restart_connection_wait(GetTickCount());
  SetTimer(window, kConnectionTimer, o.timer_period_ms, nullptr);
  invalidate_reading_displays();
}

namespace {

// EM34-3 battery save: the port is closed and the operator asked. No leaves
// Stand By (a file open) or Monitoring with the port closed; Go reconnects.
void battery_save(HWND window) {
  LoggingSession& s = logging_session();
  KillTimer(window, kConnectionTimer);
  close_survey_instrument();
  s.instrument_port_open = false;
  Win32MessageBox box(GetParent(window));
  const bool yes = box.show(battery_save_question()) == 1;
  const BatterySaveOutcome o = answer_battery_save(s.survey, yes, logging_command_context());
  if (o.remark) write_survey_remark(*o.remark, GetTickCount());
  if (o.pause) {
    s.battery_saved = true;
    apply_command_outcome(window, *o.pause);
    return;
  }
  if (o.reconnect)
    reconnect_after_battery_save(window);
  else
    s.battery_saved = true;
  sync_reader_survey();
  show_button_set(s.survey.state);
  InvalidateRect(window, nullptr, TRUE);
  SetFocus(window);
}

// EM34-3 Manual: a full station group is listed; OK writes it, Cancel drops it.
// The readers are held while the box is open; the readings framed before it
// are handled after it.
void confirm_station(HWND window) {
  LoggingSession& s = logging_session();
  std::string text;
  for (const std::string& line : station_group_lines(s.em34_group)) text += (text.empty() ? "" : "\r\n") + line;
  const bool ok =
      show_box_holding_readings(GetParent(window), {"Station Readings", text, DialogTemplate::kOkCancel}, false) == 1;
  if (ok) {
    const ConfirmedStation station = confirm_station_group(s.survey, s.em34_group);
    if (s.data_file_open()) {
      for (const HeldSentence& h : station.sentences) s.writer().write_gps_sentence(h.text, h.tick, kGpsForwarded);
      s.writer().write_readings(station.inputs());
    }
    map_confirmed_station(s.survey, s.decode, station);
  } else {
    drop_station_group(s.em34_group);
  }
  s.display.reading_count_text = station_group_count_text(s.em34_group);
  invalidate_status_area(window);
  SetFocus(window);
}

}  // namespace

// Every waiting reading, oldest first, each once: a message may find the
// queue empty when an earlier one took its record. Readings dropped on a full
// queue are reported once in a remark.
// A dialog shown by a handler runs a message loop: a reading message
// dispatched there leaves its record waiting for the outer loop.
void drain_instrument_records(HWND window, void (*handle)(HWND, const QueuedRecord&)) {
  LoggingSession& s = logging_session();
  // No reading is handled while a box holds the readers: what waits is
  // handled after it, or dropped and counted by it.
  if (s.handling_readings || reading_box_open()) return;
  s.handling_readings = true;
  while (std::optional<QueuedRecord> r = take_instrument_record()) {
    if (s.active && r->record.length > 0) handle(window, *r);
  }
  s.handling_readings = false;
  if (const std::uint32_t dropped = take_dropped_readings(); dropped > 0 && s.active)
    write_survey_remark(dropped_readings_remark(dropped), GetTickCount());
  if (s.active) report_discarded_readings();
}

namespace {

void t_reading(HWND window, const QueuedRecord& r) {
  LoggingSession& s = logging_session();
  s.reading_context.now = GetTickCount();
  const ReadingOutcome o = handle_t_reading(s.survey, s.reading_context, s.decode, r.record.view(), r.tick);
  if (o.held) hold_em34_sentences(s.em34_group, manual_gps_buffers().take_pending());
  if (o.logged && s.data_file_open()) {
    write_manual_position();
    s.writer().write_reading(o.reading_input());
  }
  remember_reading(s.display, o);
  if (!o.reading_count_text.empty()) s.display.reading_count_text = o.reading_count_text;
  const double values[] = {o.first_value, o.second_value};
  draw_reading_step({std::span<const double>(values, o.has_second_value ? 2u : 1u), o.meaning.identity, o.redraw_bars,
                     reading_steps_profile(s.survey.state == kStateLogging, o.logged || o.held),
                     o.meaning.inphase_record});
  if (o.group_full) confirm_station(window);
  invalidate_reading_displays();
  if (o.logged) invalidate_status_area(window);
}

}  // namespace

LRESULT t_reading_handler(HWND window, UINT, WPARAM, LPARAM) {
  drain_instrument_records(window, t_reading);
  return 0;
}

LRESULT gps_position_handler(HWND window, UINT, WPARAM, LPARAM) {
  LoggingSession& s = logging_session();
  const RecordBytes sentence = gps_sentence();
  if (!s.active || s.ending_survey || sentence.length == 0) return 0;
  s.fix_context.connection_broken = gps_reader_control().connection_broken.load();
  const FixOutcome o = handle_gps_fix(s.survey, s.fix_context, sentence.text());
  // The survey's zone is known from its first position: backgrounds kept
  // from a survey of another zone or map unit are converted for this one
  // before the map first draws them.
  if (o.first_fix) refresh_background_files(window);
  live_map_fix(o);
  DisplayValues& d = s.display;
  d.fix = o.texts;
  if (o.texts.dilution_cell) d.dilution = *o.texts.dilution_cell;
  if (o.usable) {
    d.have_fix = true;
    d.cursor_x = o.cursor_x;
    d.cursor_y = o.cursor_y;
    if (o.speed) d.speed = *o.speed;
  }
  if (o.first_fix) {
    // Also while the normalisation of the survey's start fills its ring: a
    // data file may be made meanwhile (its readings are logged once it ends).
    enable_position_buttons(true);
    show_channel_selectors(s.survey.state != kStateLogging);
  }
  if (o.warning_sound) play_sound(Sound::kGpsWarning);
  if (o.maximum_reached) {
    // This runs inside the GPS reader's SendMessageW: the reader can only be
    // stopped once it has returned, so the survey ends from a posted message.
    s.ending_survey = true;
    s.end_outcome = o;
    PostMessageW(window, WM_END_SURVEY, 0, 0);
    return 0;
  }
  // While a command runs the map waits; the command's end redraws it.
  if (!s.command_busy) InvalidateRect(s.children.map, nullptr, TRUE);
  InvalidateRect(s.children.speed, nullptr, TRUE);
  invalidate_status_area(window);
  return 0;
}

LRESULT end_survey_handler(HWND window, UINT, WPARAM, LPARAM) {
  LoggingSession& s = logging_session();
  if (!s.ending_survey) return 0;
  s.ending_survey = false;
  end_survey_after_position_maximum(window, s.end_outcome);
  return 0;
}

LRESULT connection_timer_handler(HWND window, UINT, WPARAM w, LPARAM) {
  LoggingSession& s = logging_session();
  if (w != kConnectionTimer || !s.active) return 0;
  // A box of a handler or procedure holds the readers: no break meanwhile.
  if (reading_box_open()) return 0;
  report_discarded_readings();
  procedure_timer_tick(window);
  if (procedure_box_open()) return 0;
  MonitorInput in;
  in.instrument_type = g_variant.instrument_type;
  in.now = GetTickCount();
  in.last_record_tick = monitored_record_tick(in.instrument_type, reader_shared().last_record_tick.load(),
                                              reader_shared().arrival_tick.load());
  in.audio_alarm = g_settings.disconnection_alarm != 0;
  in.em61_polled = s.em61_polled;
  in.poll_pending = reader_shared().polled_idle.load();
  in.poll_unanswered = !reader_shared().poll_answered.load();
  in.em38_4_procedure = procedure_running();
  in.em38_4_timeout_ms = em38_4_connection_timeout_ms(g_settings.em38_4_rate);
  in.instrument_port_open = s.instrument_port_open;
  in.port_failing = reader_shared().instrument_port_failing.load();
  in.excused = monitor_tick_excused(s.monitor_clock, in.now);
  const bool was_lost = s.survey.connection_lost;
  const MonitorActions a = monitor_tick(s.survey, in);
  reader_shared().connection_lost.store(s.survey.connection_lost);
  if (a.send_poll) request_poll();
  if (a.battery_save_prompt) {
    battery_save(window);
    return 0;
  }
  if (a.remark) write_survey_remark(*a.remark, in.now);
  if (a.show_lost_notice) draw_lost_connection_notice(window);
  if (a.ring) play_sound(Sound::kRing);
  reconnect_instrument_tick(a, in.now);
  if (a.restored || (was_lost && !s.survey.connection_lost)) {
    InvalidateRect(window, nullptr, TRUE);
    invalidate_reading_displays();  // the notice over the profile goes
  }
  return 0;
}

}  // namespace quelor
