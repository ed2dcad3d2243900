#include "app/survey_start.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/logging/display_windows.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_session.h"
#include "app/logging/profile_drawing.h"
#include "app/logging/status_panel.h"
#include "app/logging/survey_ports.h"
#include "app/logging/target_cue_win.h"
#include "app/map/live_map_win.h"
#include "app/procedures/procedure_actions.h"
#include "app/readers/reader_shared.h"
#include "platform/win32/win32_message_box.h"
#include "display/scale_settings.h"
#include "procedures/normalisation.h"
#include "survey/instrument_context.h"
#include "app/logging/instrument_handlers_win.h"
#include "setup/em61_start_mode.h"
#include "survey/survey_context.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr int kOpenTries = 4;
constexpr std::uint32_t kOpenGapMs = 10;
constexpr std::uint32_t kShowWaitMs = 20;
constexpr std::uint32_t kTiltCloseWaitMs = 200;

void tell(HWND owner, const OperatorMessage& m) {
  Win32MessageBox box(owner);
  box.show(m);
}

// Steps 7-9: both ports or neither.
bool open_ports(const StartPlan& plan) {
  int errors = 0;
  bool instrument_open = false;
  if (plan.instrument_used) {
    instrument_open = open_instrument_port_with_tries(kOpenTries, kOpenGapMs);
    errors += instrument_open ? 0 : 1;
  }
  bool gps_open = false;
  if (plan.gps_used) {
    gps_open = open_survey_gps_port();
    errors += gps_open ? 0 : 1;
  }
  if (errors == 0) return true;
  if (instrument_open) close_survey_instrument();
  if (gps_open) close_survey_gps();
  return false;
}

void close_after_failed_start(bool tilt) {
  close_survey_instrument();
  if (tilt) {
    busy_wait_ms(kTiltCloseWaitMs);
    close_survey_tilt();
    busy_wait_ms(kTiltCloseWaitMs);
  }
  close_survey_gps();
}

bool start_with_first_record(const InstrumentStart& start, int record_length, bool polled) {
  const std::uint32_t before = published_records();
  if (!start_survey_reader(start.instrument_type, record_length, polled, false, false)) return false;
  busy_wait_ms(start.wait_before_first_record_ms);
  if (start.first_record_wait_ms > 0 && !wait_first_record(before, start.first_record_wait_ms)) return false;
  return true;
}

enum class StartFailure { kNone, kInstrument, kTiltMeter };

// Step 10 by the instrument's start row. Only the tilt meter's own failure
// is reported as the tilt meter's.
StartFailure start_instrument(const InstrumentStart& start, bool polled) {
  int record_length = 12;
  if (start.em61_handshake) {
    if (!em61_handshake()) return StartFailure::kInstrument;
    busy_wait_ms(start.wait_after_handshake_ms);
  }
  if (start.em38_check) {
    const std::optional<int> length = detect_em38_length_on_port();
    if (!length) return StartFailure::kInstrument;
    record_length = *length;
  }
  if (!start_with_first_record(start, record_length, polled)) return StartFailure::kInstrument;
  if (start.second_em61_thread && !start_survey_reader(start.instrument_type, 12, false, true, true))
    return StartFailure::kInstrument;
  busy_wait_ms(start.wait_after_ms);
  if (start.tilt_meter) {
    if (!open_survey_tilt_port() || !tilt_meter_check(start.tilt_rate_index) || !start_survey_tilt_reader())
      return StartFailure::kTiltMeter;
  }
  return StartFailure::kNone;
}

}  // namespace

void begin_logging_session(const StartPlan& plan) {
  LoggingSession& s = logging_session();
  accept_display_scales(g_settings);
  s.plan = plan;
  s.instrument_used = plan.instrument_used;
  s.gps_used = plan.gps_used;
  s.tilt_used = plan.tilt_used;
  s.fix_context = fix_context_from_settings(g_settings, g_variant.instrument_type);
  s.reading_context = reading_context_from_settings(g_settings, GetTickCount());
  s.instrument_context = instrument_context_from_settings(g_settings, GetTickCount());
  s.instrument_state = InstrumentSurveyState{};
  s.instrument_state.current_ring = make_current_ring(normalisation_size(g_settings, g_variant.instrument_type));
  refresh_decode_context();
  s.monitor_clock = MonitorClock{};
  s.ending_survey = false;
  reset_target_cue();
  reset_reading_displays();
  s.sink.close();
  s.renew_writer();
  s.em34_group = Em34StationGroup{};
  if (has_trait(g_variant.instrument_type, Trait::kStationReadings) && plan.survey.survey_mode == kModeManual) {
    const int per_station = command_context_from_settings(g_settings, g_variant, 0).readings_per_station;
    s.em34_group.size = per_station < 1 ? 1 : per_station;
    s.reading_context.station_group = &s.em34_group;
  }
  s.battery_saved = false;
  s.instrument_port_open = true;
  s.map_view = true;
  s.em61_polled = false;
  s.display = DisplayValues{};
  s.survey.records_per_reading = 1;
  reader_shared().connection_lost.store(false);
  restart_connection_wait(GetTickCount());
  sync_reader_survey();
}

void present_logging_window(HWND setup_window) {
  LoggingSession& s = logging_session();
  HWND log = g_log_window;
  for (HWND b : g_setup_buttons)
    if (b) ShowWindow(b, SW_HIDE);
  lay_out_logging_window(log);
  lay_out_status_cells(log);
  reset_live_map();
  show_button_set(kStateMonitoring);
  enable_position_buttons(!s.gps_used);
  show_channel_selectors(s.gps_used && s.survey.first_fix_done);
  InvalidateRect(setup_window, nullptr, TRUE);
  g_setup_state = kLoggingShown;
  s.active = true;
  ShowWindow(log, SW_SHOW);
  busy_wait_ms(kShowWaitMs);
  InvalidateRect(log, nullptr, TRUE);
  UpdateWindow(log);
  invalidate_reading_displays();
  SetFocus(log);
}

void start_survey_command(HWND setup_window) {
  if (!g_log_window || logging_session().active) return;
  StartInput input{g_variant, g_settings};
  input.em61_polled_mode = em61_polled_mode(g_settings, g_variant.instrument_type);
  input.polling_interval_ms = em61_polling_interval_ms(g_settings);
  const StartPlan plan = plan_survey_start(input);
  if (!plan.proceed) {
    if (plan.message) tell(setup_window, *plan.message);
    InvalidateRect(setup_window, nullptr, TRUE);
    return;
  }
  apply_start_to_settings(plan, g_settings);
  begin_logging_session(plan);
  logging_session().em61_polled = input.em61_polled_mode;
  reader_shared().survey.sound_every.store(plan.tick_divisor);
  reader_shared().survey.polling_timeout_ms.store(input.polling_interval_ms);
  set_reading_window(g_log_window);
  install_reader_hooks();
  install_reader_notices();
  if (!open_ports(plan)) return;
  const StartFailure failure = plan.start ? start_instrument(*plan.start, input.em61_polled_mode) : StartFailure::kNone;
  if (failure != StartFailure::kNone) {
    close_after_failed_start(plan.start->tilt_meter);
    tell(setup_window, connection_issue(failure == StartFailure::kTiltMeter));
    InvalidateRect(setup_window, nullptr, TRUE);
    return;
  }
  if (plan.gps_used && !create_survey_gps_reader()) {
    close_after_failed_start(plan.tilt_used);
    tell(setup_window, connection_issue(false));
    return;
  }
  if (plan.timer_period_ms) SetTimer(g_log_window, kConnectionTimer, *plan.timer_period_ms, nullptr);
  logging_session().survey.start_tick = GetTickCount();
  present_logging_window(setup_window);
  procedures_at_survey_start(g_log_window);
  if (plan.gps_used) resume_survey_gps_reader();
}

}  // namespace quelor
