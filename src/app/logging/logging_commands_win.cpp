#include "app/logging/logging_commands_win.h"
#include "app/logging/logging_handlers.h"

#include "app/app_state.h"
#include "app/background/background_actions.h"
#include "app/logging/line_actions.h"
#include "app/logging/logging_actions.h"
#include "app/logging/profile_drawing.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_menu.h"
#include "app/logging/logging_session.h"
#include "app/logging/status_panel.h"
#include "app/logging/survey_ports.h"
#include "app/logging/write_failure_win.h"
#include "app/map/live_map_win.h"
#include "app/procedures/procedure_actions.h"
#include "app/readers/reader_shared.h"
#include "app/sound/sound_player.h"
#include "datafile/create_data_file.h"
#include "gps/projection.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_local_time.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_save_dialog.h"
#include "settings/settings_file.h"
#include "survey/channel_selectors.h"
#include "survey/command_table.h"
#include "survey/logging_keys.h"
#include "survey/survey_context.h"

namespace quelor {

namespace {

void save_settings() {
  Win32FileSystem fs;
  settings_file_operation(kSaveSettings, g_settings, g_variant, fs);
}

}  // namespace

CommandContext logging_command_context() {
  const LoggingSession& s = logging_session();
  CommandContext c = command_context_from_settings(g_settings, g_variant, GetTickCount());
  c.instrument_used = s.instrument_used;
  c.gps_used = s.gps_used;
  c.tilt_used = s.tilt_used;
  c.em61_polled = s.em61_polled;
  return c;
}

namespace {

void show_core_message(HWND window, const OperatorMessage& m) {
  Win32MessageBox box(GetParent(window));
  box.show(m);
}

// The survey has ended: the Monitoring buttons come back for the next
// survey (the background files stay loaded) and the setup window returns to
// the front.
void hide_logging_window(HWND window) {
  LoggingSession& s = logging_session();
  reset_popup_menu_use();
  s.survey.map_review = false;
  s.active = false;
  ShowWindow(window, SW_HIDE);
  for (HWND b : g_setup_buttons)
    if (b) ShowWindow(b, SW_SHOW);
  g_setup_state = kSetupInFront;
  // A procedure may have left them disabled.
  for (HWND b : s.children.buttons)
    if (b) EnableWindow(b, TRUE);
  if (s.children.pause) EnableWindow(s.children.pause, TRUE);
  show_button_set(kStateMonitoring);
  HWND main = GetParent(window);
  InvalidateRect(main, nullptr, TRUE);
  SetFocus(main);
}

void close_ports(const CommandOutcome& o) {
  if (o.stop_timer) KillTimer(g_log_window, kConnectionTimer);
  if (o.close_gps) close_survey_gps();
  if (o.close_tilt) {
    close_survey_tilt();
    busy_wait_ms(100);
  }
  if (o.close_instrument) close_survey_instrument();
}

void file_command_win(HWND window) {
  LoggingSession& s = logging_session();
  if (s.gps_used && !IsWindowEnabled(s.children.buttons[0])) return;  // no position yet
  Win32FileSystem fs;
  Win32SaveFileChooser chooser(GetParent(window));
  Win32MessageBox box(GetParent(window));
  Win32LocalTime local_time;
  Win32Clock clock;
  CreateDataFileContext create{
      g_variant,
      g_settings,
      fs,
      chooser,
      box,
      s.sink,
      s.writer(),
      local_time,
      clock,
      with_previous_constants(survey_header_fields(g_settings, g_variant.instrument_type, s.survey)),
      current_line_block(s.survey, g_settings),
      save_settings};
  AppendSituation situation;
  situation.have_valid_fix = s.survey.first_fix_done;
  situation.current_zone = s.survey.reference_zone;
  situation.first_latitude = s.survey.reference_latitude;
  situation.first_longitude = s.survey.reference_longitude;
  situation.project = [](double latitude, double longitude, int zone) {
    const GridPoint p = project_to_utm(latitude, longitude, zone);
    return GridPosition{p.easting, p.northing};
  };
  // The scan of a continued file measures it against the live map's frame
  // (its origin is the survey's first position).
  MapFrame frame = live_map_state().map.frame;
  if (!live_map_state().map.initialised) {
    frame.origin_easting = s.survey.reference_easting;
    frame.origin_northing = s.survey.reference_northing;
  }
  const CommandOutcome o = file_command(s.survey, create, situation, frame, logging_command_context());
  if (!o.ok && s.survey.state == kStateMonitoring) s.sink.close();
  apply_command_outcome(window, o);
}

void press_focused_button(HWND window) {
  run_logging_command(window, command_of_control(kFirstLoggingButtonId + logging_session().focused_button, 0));
}

CommandSituation command_situation() {
  const LoggingSession& s = logging_session();
  CommandSituation c;
  c.state = s.survey.state;
  c.instrument_type = g_variant.instrument_type;
  c.instrument_used = s.instrument_used;
  c.gps_used = s.gps_used;
  c.map_shown = current_logging_layout().map_shown;
  c.selector_count = s.children.selector_count;
  return c;
}

void focus_next_button(int state) {
  LoggingSession& s = logging_session();
  const ButtonSet set = button_set(state, g_variant.instrument_type);
  if (set.count <= 1 || set.pause) return;
  HWND old = s.children.buttons[static_cast<std::size_t>(s.focused_button)];
  SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  s.focused_button = (s.focused_button + 1) % set.count;
  HWND now = s.children.buttons[static_cast<std::size_t>(s.focused_button)];
  SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void handle_key(HWND window, WPARAM key) {
  const LoggingSession& s = logging_session();
  KeyContext k;
  k.state = s.survey.state;
  k.pause_key = g_settings.pause_key;
  k.instrument_type = g_variant.instrument_type;
  k.review = s.survey.map_review;
  k.popup_menu = popup_menu_open();
  k.soft_marker_keys = g_settings.soft_marker_key_option != 0;
  const KeyDecision d = decode_logging_key(k, static_cast<std::uint32_t>(key));
  switch (d.effect) {
    case KeyEffect::kCommand: run_logging_command(window, d.command); break;
    case KeyEffect::kFocusNextButton: focus_next_button(s.survey.state); break;
    case KeyEffect::kPressFocusedButton: press_focused_button(window); break;
    case KeyEffect::kSoftMarker: reader_shared().survey.marker.store(true); break;
    default: break;
  }
}

}  // namespace

void apply_command_outcome(HWND window, const CommandOutcome& o) {
  LoggingSession& s = logging_session();
  Win32LocalTime local_time;
  // The readers see the new state first: the GPS reader stops logging
  // before the file closes.
  if (o.records_per_reading) s.survey.records_per_reading = *o.records_per_reading;
  sync_reader_survey();
  if (o.wheel == WheelAction::kStartWheel) switch_em61_to_wheel();
  if (o.wheel == WheelAction::kStopWheel) {
    switch_em61_to_timed();
    restart_connection_wait(GetTickCount());
  }
  if (s.data_file_open()) write_outcome(s.writer(), o, local_time.local_time(), GetTickCount());
  if (o.close_file) {
    settle_held_records(window);
    s.sink.close();
  }
  if (o.save_settings) save_settings();
  if (o.sound) play_sound_named(o.sound);
  for (const OperatorMessage& m : o.notices) show_core_message(window, m);
  if (o.timer_period_ms) SetTimer(window, kConnectionTimer, *o.timer_period_ms, nullptr);
  if (o.poll_timeout_ms) reader_shared().survey.polling_timeout_ms.store(*o.poll_timeout_ms);
  // A poll is pending: the polled reader is idle, so the next tick asks for a reading.
  if (o.poll_pending) reader_shared().polled_idle.store(true);
  if (o.reading_count_text) s.display.reading_count_text = *o.reading_count_text;
  close_ports(o);
  if (o.hide_window) {
    hide_logging_window(window);
    return;
  }
  show_button_set(s.survey.state);
  if (o.channel_selectors) show_channel_selectors(*o.channel_selectors);
  InvalidateRect(window, nullptr, TRUE);
  if (o.redraw) invalidate_profile_windows();
  SetFocus(window);
}

void file_action(HWND window, int) { file_command_win(window); }

void go_action(HWND window, int) {
  LoggingSession& s = logging_session();
  // Records held since a failed write go to the file first, or Go waits.
  if (s.survey.state == kStateStandBy && !write_held_records(window)) return;
  // After battery save was answered No the instrument port is reopened first.
  if (s.battery_saved && s.survey.state == kStateStandBy && s.survey.map_full != kMapMustGrow)
    reconnect_after_battery_save(window);
  apply_command_outcome(window, go_command(s.survey, logging_command_context()));
}

void pause_action(HWND window, int) {
  apply_command_outcome(window, pause_command(logging_session().survey, logging_command_context()));
}

void quick_line_action(HWND window, int) {
  LoggingSession& s = logging_session();
  Win32MessageBox box(GetParent(window));
  const CommandOutcome o = quick_line_command(s.survey, g_settings, logging_command_context(), ask_with(box));
  if (o.ok) restart_footprint();
  apply_command_outcome(window, o);
}

void exit_action(HWND window, int) { exit_logging(window, false); }

void menu_action(HWND window, int) { open_popup_menu(window); }

void hide_menu_action(HWND window, int) { forget_popup_menu(window); }

// A channel selector: the mapped channel, kept in the settings.
void channel_selector_action(HWND, int code) {
  LoggingSession& s = logging_session();
  const int channel = channel_of_selector(g_variant.instrument_type, code - kCmdFirstChannel);
  if (channel == 0) return;
  select_channel(g_settings, g_variant.instrument_type, channel);
  save_settings();
  set_mapped_view(s.decode, g_settings);
  s.fix_context.selected_channel = channel;
  show_channel_selectors(s.survey.state != kStateLogging);
  show_colour_bar();  // its scale follows the mapped component
  invalidate_profile_windows();
  redraw_whole_map();  // the survey so far on the new channel
}

// One command code: its action by the command table, or the notice of what
// it needs. The command-busy flag keeps the reading handlers from drawing on
// the map meanwhile; the focus returns to the logging window afterwards.
void run_logging_command(HWND window, int command) {
  LoggingSession& s = logging_session();
  const CommandStep step = dispatch_command(command, command_situation());
  const bool was_busy = s.command_busy;
  s.command_busy = true;
  if (step.refusal) {
    show_core_message(window, *step.refusal);
  } else if (LoggingActionFn run = find_logging_action(step.action)) {
    run(window, command);
  }
  s.command_busy = was_busy;
  if (!was_busy && s.active) catch_up_live_map();
  if (!was_busy && s.active && s.children.map) InvalidateRect(s.children.map, nullptr, TRUE);
  // After an exit the setup window keeps the focus it was given.
  if (s.active) SetFocus(window);
}

LRESULT logging_command_handler(HWND window, UINT message, WPARAM w, LPARAM) {
  if (!logging_session().active) return 0;
  if (message == WM_COMMAND) {
    run_logging_command(window, command_of_control(LOWORD(w), logging_session().children.selector_count));
    return 0;
  }
  handle_key(window, w);
  return 0;
}

LRESULT logging_keyup_handler(HWND window, UINT, WPARAM w, LPARAM) {
  if (!logging_session().active) return 0;
  SetFocus(window);
  if (key_up_ends_soft_marker(g_settings.soft_marker_key_option != 0, static_cast<std::uint32_t>(w)))
    reader_shared().survey.marker.store(false);
  return 0;
}

bool exit_logging(HWND window, bool forced) {
  LoggingSession& s = logging_session();
  Win32MessageBox box(GetParent(window));
  const CommandOutcome o = exit_command(s.survey, logging_command_context(), forced, ask_with(box));
  apply_command_outcome(window, o);
  return o.ok;
}

void end_running_survey() {
  if (g_log_window && logging_session().active) exit_logging(g_log_window, true);
}

void end_survey_after_position_maximum(HWND window, const FixOutcome& outcome) {
  LoggingSession& s = logging_session();
  KillTimer(window, kConnectionTimer);
  close_survey_gps();
  close_survey_instrument();
  settle_held_records(window);
  if (s.sink.is_open()) s.writer().commit_to_disk();
  s.sink.close();
  s.survey.state = kStateMonitoring;
  sync_reader_survey();
  if (outcome.maximum_message) show_core_message(window, *outcome.maximum_message);
  forget_background_files();
  s.active = false;
  PostMessageW(GetParent(window), WM_CLOSE, 0, 0);
}

}  // namespace quelor
