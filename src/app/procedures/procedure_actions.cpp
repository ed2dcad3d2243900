#include "app/procedures/procedure_actions.h"

#include <functional>

#include "app/app_state.h"
#include "app/logging/instrument_handlers_win.h"
#include "app/logging/box_hold.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_session.h"
#include "app/logging/target_cue_win.h"
#include "app/procedures/procedure_dialog_ids.h"
#include "app/readers/gps_reader_thread.h"
#include "app/readers/instrument_reader.h"
#include "app/readers/reader_shared.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_box.h"
#include "procedures/drift_control.h"
#include "procedures/drift_reminder.h"
#include "procedures/em38_4_calibration.h"
#include "procedures/em38_4_values.h"
#include "procedures/em38mk2_calibration.h"
#include "procedures/lx2_filter_calibration.h"
#include "procedures/normalisation.h"
#include "procedures/nulling.h"
#include "procedures/remove_calibration.h"
#include "reading/procedure_reading.h"
#include "settings/settings_file.h"
#include "survey/survey_state.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

// The procedures of this run; touched on the window thread only.
struct AppProcedures {
  Em38Mk2Calibration em38mk2;
  Em38_4CalibrationRun em38_4;
  Em61Procedures em61;
  DriftControl drift;
  DriftReminder reminder;
  bool reminder_started = false;
  std::vector<std::string> lines;
  std::optional<std::array<double, 6>> em38mk2_replaced;  // by the last calibration or removal
  bool box_open = false;
  bool gps_paused = false;
  std::vector<HWND> gps_windows_hidden;  // by the calibration, shown again at its end
};

AppProcedures& procedures() {
  static AppProcedures p;
  return p;
}

Win32Clock& clock() {
  static Win32Clock c;
  return c;
}

using AnswerFn = std::function<ProcedureStep(int answer)>;

bool running(const AppProcedures& p) {
  return em38mk2_calibrating(p.em38mk2) || em38_4_calibrating(p.em38_4) || em61_procedure_running(p.em61) ||
         drift_collecting(p.drift);
}

void save_settings() {
  Win32FileSystem fs;
  settings_file_operation(kSaveSettings, g_settings, g_variant, fs);
}

// The decoders take the values the procedures stored (the status panel
// shows the calibration the settings hold).
void refresh_decoders() { refresh_decode_context(); }

// Every button but Exit, which stays usable while a procedure runs. With
// the GPS in use File, Map Size (or Null) and Menu wait for its first fix.
void enable_logging_buttons(bool enable) {
  const LoggingSession& s = logging_session();
  const LoggingChildren& c = s.children;
  const bool position_buttons = !enable || !s.gps_used || s.survey.first_fix_done;
  for (std::size_t i = 0; i < c.buttons.size(); ++i)
    if (i != 2 && c.buttons[i] != nullptr && position_buttons) EnableWindow(c.buttons[i], enable);
  if (c.pause != nullptr) EnableWindow(c.pause, enable);
  if (position_buttons) enable_channel_selectors(enable);
}

// The windows that show the GPS (the map, its buttons and the speed bar) are
// hidden while the GPS is held, and those hidden shown again when it is let go.
void hide_gps_windows(bool hide) {
  AppProcedures& p = procedures();
  const LoggingChildren& c = logging_session().children;
  if (!hide) {
    // Unless the view was toggled meanwhile and the map is no longer laid out.
    for (HWND w : p.gps_windows_hidden)
      if (w == c.speed || current_logging_layout().map_shown) ShowWindow(w, SW_SHOW);
    p.gps_windows_hidden.clear();
    return;
  }
  std::vector<HWND> shown{c.map, c.speed};
  shown.insert(shown.end(), c.map_buttons.begin(), c.map_buttons.end());
  for (HWND w : shown) {
    if (w == nullptr || !IsWindowVisible(w)) continue;
    ShowWindow(w, SW_HIDE);
    p.gps_windows_hidden.push_back(w);
  }
}

// The GPS reader stops reading at its next look (it may be inside a data-file
// write, so it is never frozen from outside); on resume it purges its port
// and restarts its silence wait.
void pause_gps(bool pause) {
  AppProcedures& p = procedures();
  if (pause == p.gps_paused || !logging_session().gps_used) return;
  p.gps_paused = pause;
  gps_reader_control().paused.store(pause);
  hide_gps_windows(pause);
  if (!pause) clock().wait_ms(5);
}

void show_lines() {
  const LoggingChildren& c = logging_session().children;
  if (c.numbers != nullptr) InvalidateRect(c.numbers, nullptr, TRUE);
  if (c.map != nullptr) InvalidateRect(c.map, nullptr, TRUE);
  if (!procedures().gps_windows_hidden.empty() && g_log_window != nullptr) {
    const RECT area = current_logging_layout().map;
    InvalidateRect(g_log_window, &area, TRUE);
  }
}

// The box with the instrument reader held; what piled up meanwhile is
// dropped and counted, and the connection monitor starts afresh.
int ask_box(HWND window, const OperatorMessage& m) {
  AppProcedures& p = procedures();
  p.box_open = true;
  const int answer = show_box_holding_readings(GetParent(window), m, true);
  p.box_open = false;
  return answer;
}

void remember_replaced(const std::vector<ConstantWrite>& writes) {
  for (const ConstantWrite& w : writes) {
    if (w.kind != ConstantWrite::Kind::kEm38Mk2Constants || w.pairs.size() != 6) continue;
    std::array<double, 6> replaced{};
    for (std::size_t i = 0; i < 6; ++i) replaced[i] = w.pairs[i].second;
    procedures().em38mk2_replaced = replaced;
  }
}

void apply(HWND window, ProcedureStep step, const AnswerFn& answer) {
  AppProcedures& p = procedures();
  LoggingSession& s = logging_session();
  while (true) {
    if (step.message) {
      p.lines = *step.message;
      show_lines();
    }
    if (step.pause_gps) pause_gps(true);
    if (step.beep) MessageBeep(MB_ICONEXCLAMATION);
    if (step.save_settings) save_settings();
    write_procedure_records(s.data_file_open() ? &s.writer() : nullptr, step.writes);
    remember_replaced(step.writes);
    if (step.clear_status_flags) reset_target_cue();  // the EM61-LX2 alarm starts afresh
    if (step.disable_buttons) enable_logging_buttons(false);
    if (step.stamp_last_record) restart_connection_wait(GetTickCount());
    if (step.resume_gps) pause_gps(false);
    if (step.ended) {
      refresh_decoders();
      p.lines.clear();
      enable_logging_buttons(true);
      show_lines();
      InvalidateRect(window, nullptr, TRUE);
      SetFocus(window);
    }
    sync_reader_survey();  // every record while a procedure runs
    if (!step.ask || !answer) return;
    const int result = ask_box(window, *step.ask);
    step = answer(result);
  }
}

AnswerFn em38_4_answers() {
  return [](int a) { return em38_4_answer(procedures().em38_4, g_settings, a, clock()); };
}
AnswerFn filter_answers() {
  return [](int a) { return filter_answer(procedures().em61, g_settings, a); };
}
AnswerFn drift_answers() {
  return [](int a) { return drift_answer(procedures().drift, a); };
}

// A procedure cut short by the end of its survey: the values it was
// replacing are put back and nothing of it carries over.
void abandon(AppProcedures& p) {
  em38mk2_abandon(p.em38mk2, g_settings);
  if (em38_4_calibrating(p.em38_4)) set_em38_4_calibration(g_settings.em38_4, p.em38_4.previous);
  const int state = p.em61.state;
  if ((state == kProcedureNulling || state == kProcedureFilterNulling) && p.em61.nulling.counter > 0)
    g_settings.channel_null_values = p.em61.nulling.previous;
  if (state == kProcedureFilterFactor) g_settings.channel_null_values = p.em61.nulling.calibration_saved;
  p.em38mk2 = {};
  p.em38_4 = {};
  p.em61.state = kProcedureNormal;
  p.drift = {};
  p.lines.clear();
  p.gps_paused = false;
  gps_reader_control().paused.store(false);
  p.gps_windows_hidden.clear();  // the next survey's layout shows them
}

void forget_if_closed() {
  AppProcedures& p = procedures();
  if (logging_session().active || !running(p)) return;
  abandon(p);
}

// What a procedure reads of a reading: the one interpretation with the
// session's context, without the offsets the procedure finds.
ReadingMeaning procedure_meaning(const ProcedureReading& r, bool own_values) {
  const DecodeContext& c = logging_session().decode;
  return interpret_reading(own_values ? without_offsets(c) : c, r.body);
}

Em61Reading em61_reading(const ProcedureReading& r, bool own_values) {
  return em61_procedure_reading(procedure_meaning(r, own_values), logging_session().decode);
}

// True when the reading is the procedure's alone. While logging, a reading
// of the normalisation (the decoder has put its current into the ring) is
// written as well: a survey started during it loses none of its readings.
bool take_em61(HWND window, AppProcedures& p, const ProcedureReading& r) {
  const LoggingSession& s = logging_session();
  if (p.em61.state == kProcedureNormalisation) {
    apply(window, normalisation_on_reading(p.em61, s.instrument_state.current_ring), nullptr);
    return s.survey.state != kStateLogging;
  }
  if (p.em61.state == kProcedureFilterFactor) {
    apply(window, filter_on_reading(p.em61, g_settings, em61_reading(r, false)), filter_answers());
    return true;
  }
  const Em61Reading e = em61_reading(r, true);
  const bool writes = s.survey.state == kStateStandBy && s.data_file_open();
  apply(window, nulling_on_reading(p.em61, g_settings, e, g_variant.instrument_type, writes), filter_answers());
  // From the start reading on, the decoder subtracts the offsets of the nulling.
  refresh_decode_context();
  return true;
}

// The reading display shows the values the calibration averages (read
// without its offsets), as the normal display shows a reading.
void show_calibration_values(const ReadingMeaning& m) {
  DisplayValues& d = logging_session().display;
  d.channel_count = m.channel_count;
  for (std::size_t i = 0; i < static_cast<std::size_t>(m.channel_count); ++i) d.channels[i] = m.channels[i];
  d.have_reading = true;
  if (HWND numbers = logging_session().children.numbers) InvalidateRect(numbers, nullptr, TRUE);
}

bool take(void*, const ProcedureReading& r) {
  forget_if_closed();
  AppProcedures& p = procedures();
  if (!running(p)) return false;
  if (p.box_open) return true;
  const HWND window = g_log_window;
  switch (r.instrument_type) {
    case kEm38Mk2: {  // a calibration finds the offsets: the instrument's own values
      const ReadingMeaning m = procedure_meaning(r, em38mk2_calibrating(p.em38mk2));
      show_calibration_values(m);
      apply(window, em38mk2_on_reading(p.em38mk2, g_settings, em38mk2_procedure_reading(m), clock()), nullptr);
      break;
    }
    case kEm38_4: {  // the drift control watches the calibrated values
      const Em38_4Reading m = em38_4_procedure_reading(procedure_meaning(r, em38_4_calibrating(p.em38_4)));
      if (drift_collecting(p.drift))
        apply(window, drift_on_reading(p.drift, m), drift_answers());
      else
        apply(window, em38_4_on_reading(p.em38_4, g_settings, m, clock()), em38_4_answers());
      break;
    }
    case kEm61Mk2:
    case kEm61Lx2: return take_em61(window, p, r);
    default: return false;
  }
  return true;
}

void install_hook() {
  logging_session().procedure = ProcedureHook{nullptr, take};
  sync_reader_survey();
}

bool idle_for_a_new_procedure() {
  forget_if_closed();
  return !running(procedures()) && logging_session().active;
}

INT_PTR CALLBACK drift_reminder_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  static int* choice = nullptr;
  switch (message) {
    case WM_INITDIALOG: {
      choice = reinterpret_cast<int*>(l);
      HWND list = GetDlgItem(dialog, QUELOR_DRIFT_REMINDER_LIST_ID);
      for (const char* label : drift_reminder_labels())
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(label).c_str()));
      SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(*choice), 0);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        const LRESULT sel = SendDlgItemMessageW(dialog, QUELOR_DRIFT_REMINDER_LIST_ID, CB_GETCURSEL, 0, 0);
        if (sel >= 0) *choice = static_cast<int>(sel);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
    default: break;
  }
  return FALSE;
}

void start_drift_control(HWND window) {
  const InstrumentType type = g_variant.instrument_type;
  const bool ok = ask_box(window, drift_start_question(type)) == 1;
  install_hook();
  apply(window, drift_start(procedures().drift, type, drift_sample_count(g_settings), ok), drift_answers());
  drift_reminder_restart(procedures().reminder, g_settings.drift_reminder, GetTickCount());
}

}  // namespace

void nulling_action(HWND window, int) {
  const InstrumentType type = g_variant.instrument_type;
  const LoggingSession& s = logging_session();
  if (!is_em61(type) || !s.instrument_used || !idle_for_a_new_procedure()) return;
  if (s.survey.state == kStateStandBy && ask_box(window, nulling_question()) != 1) return;
  install_hook();
  const int samples = type == kEm61Mk2 ? kMk2NullingSamples : kLx2NullingSamples;
  apply(window, nulling_start(procedures().em61, samples), filter_answers());
}

void procedures_at_survey_start(HWND window) {
  AppProcedures& p = procedures();
  abandon(p);  // a procedure still running when the last survey ended
  p.reminder_started = false;
  const LoggingSession& s = logging_session();
  if (!s.instrument_used || !idle_for_a_new_procedure()) return;
  const CurrentRing& ring = s.instrument_state.current_ring;
  if (!ring_enabled(ring)) return;
  install_hook();
  apply(window, normalisation_start(procedures().em61, ring), nullptr);
}

void calibration_action(HWND window, int) {
  const InstrumentType type = g_variant.instrument_type;
  AppProcedures& p = procedures();
  if (!logging_session().instrument_used || !idle_for_a_new_procedure()) return;
  if (has_trait(type, Trait::kFilterFactors)) {
    install_hook();
    apply(window,
          filter_calibration_start(p.em61, logging_session().decode.two_sensors, kLx2NullingSamples, kLx2FilterSamples),
          filter_answers());
    return;
  }
  if (!in_family(type, InstrumentFamily::kBinaryFF)) return;
  em38mk2_prepare(p.em38mk2, g_settings);
  const bool yes = ask_box(window, calibration_start_question(type)) == 1;
  install_hook();
  if (has_trait(type, Trait::kCalibrationOffsets))
    apply(window, em38mk2_start(p.em38mk2, yes, clock()), nullptr);
  else
    apply(window, em38_4_start(p.em38_4, g_settings, yes, clock()), em38_4_answers());
}

void remove_calibration_action(HWND window, int) {
  const InstrumentType type = g_variant.instrument_type;
  if (!in_family(type, InstrumentFamily::kBinaryFF) || !idle_for_a_new_procedure()) return;
  if (ask_box(window, remove_calibration_question()) != 1) return;
  ProcedureStep step = remove_calibration(g_settings, type);
  step.ended = true;
  apply(window, step, nullptr);
}

void drift_reminder_action(HWND window, int) {
  int choice = g_settings.drift_reminder;
  if (choice < 0 || choice > kDriftReminderNever) choice = kDriftReminderNever;
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  if (DialogBoxParamW(instance, L"DRIFTREMINDER", GetParent(window), drift_reminder_procedure,
                      reinterpret_cast<LPARAM>(&choice)) != 1)
    return;
  g_settings.drift_reminder = choice;
  save_settings();
  drift_reminder_restart(procedures().reminder, choice, GetTickCount());
  procedures().reminder_started = true;
  SetFocus(window);
}

void drift_control_action(HWND window, int) {
  const InstrumentType type = g_variant.instrument_type;
  if (!runs_drift_control(type) || !idle_for_a_new_procedure()) return;
  start_drift_control(window);
}

void procedure_timer_tick(HWND window) {
  forget_if_closed();
  AppProcedures& p = procedures();
  if (p.box_open) return;
  const InstrumentType type = g_variant.instrument_type;
  if (em38mk2_calibrating(p.em38mk2)) apply(window, em38mk2_on_tick(p.em38mk2, g_settings, clock()), nullptr);
  if (em38_4_calibrating(p.em38_4)) apply(window, em38_4_on_tick(p.em38_4, g_settings, clock()), em38_4_answers());
  if (!has_trait(type, Trait::kDriftReminder)) return;
  if (!p.reminder_started) {
    drift_reminder_restart(p.reminder, g_settings.drift_reminder, GetTickCount());
    p.reminder_started = true;
  }
  const bool drift_control = runs_drift_control(type);
  const std::optional<OperatorMessage> due = drift_reminder_due(p.reminder, GetTickCount(), running(p), drift_control);
  if (due && ask_box(window, *due) == 1 && drift_control) start_drift_control(window);
}

// O1-O6 pair each value with the saved copy: the values the last calibration
// or removal of this program run replaced, zeros before any.
HeaderFields with_previous_constants(HeaderFields f) {
  const std::array<double, 6> saved = procedures().em38mk2_replaced.value_or(std::array<double, 6>{});
  for (std::size_t i = 0; i < f.em38mk2_constants.size(); ++i) f.em38mk2_constants[i].second = saved[i];
  return f;
}

bool procedure_box_open() { return procedures().box_open; }

bool procedure_running() { return running(procedures()); }

bool procedure_draws_readings() { return drift_collecting(procedures().drift); }

const std::vector<std::string>& procedure_lines() { return procedures().lines; }

std::optional<RECT> procedure_message_area() {
  if (procedures().gps_windows_hidden.empty() || procedures().lines.empty()) return std::nullopt;
  return current_logging_layout().map;
}

}  // namespace quelor
