#include "app/logging/line_actions.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/command_dialog_ids.h"
#include "app/logging/logging_commands_win.h"
#include "app/logging/logging_layout.h"
#include "app/logging/profile_drawing.h"
#include "app/logging/logging_session.h"
#include "app/logging/status_panel.h"
#include "app/map/live_map_win.h"
#include "app/readers/reader_shared.h"
#include "platform/win32/dialog_state.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_box.h"
#include "map/map_painter.h"
#include "settings/settings_file.h"
#include "survey/line_commands.h"

namespace quelor {

namespace {

constexpr const wchar_t* kDirections[] = {L"West", L"South", L"North", L"East"};

std::wstring item_text(HWND dialog, int id) {
  wchar_t text[128] = {};
  GetDlgItemTextW(dialog, id, text, 128);
  return text;
}

// 8-bit text of an edit; characters outside 32-126 become 0x7F, which no
// check accepts.
std::string item_narrow(HWND dialog, int id) {
  std::string out;
  for (wchar_t c : item_text(dialog, id)) out += c >= 32 && c <= 126 ? static_cast<char>(c) : '\x7f';
  return out;
}

// Stations and increments as "%.3f", as the setup dialogs show them.
void set_number(HWND dialog, int id, double value) {
  wchar_t text[64];
  swprintf(text, 64, L"%.3f", value);
  SetDlgItemTextW(dialog, id, text);
}

void show_notice(HWND owner, const OperatorMessage& m) { Win32MessageBox(owner).show(m); }

HINSTANCE instance_of(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)); }

// Opens a template with `state` as its parameter; true for OK.
bool run_dialog(HWND window, const wchar_t* name, DLGPROC procedure, void* state) {
  return DialogBoxParamW(instance_of(window), name, GetParent(window), procedure, reinterpret_cast<LPARAM>(state)) ==
         IDOK;
}

// A command that ends with its dialog: OK runs `accept`, which may refuse.
template <class Accept>
INT_PTR end_on_command(HWND dialog, WPARAM w, Accept accept) {
  if (LOWORD(w) == IDOK) {
    if (accept()) EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (LOWORD(w) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK new_line_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* entry = dialog_parameter<NewLineEntry>(dialog, message, l);
  if (message == WM_INITDIALOG) {
    SendDlgItemMessageW(dialog, QUELOR_NEWLINE_NAME_ID, EM_LIMITTEXT, kLineNameMax, 0);
    SetDlgItemTextW(dialog, QUELOR_NEWLINE_NAME_ID, widen(entry->line_name).c_str());
    set_number(dialog, QUELOR_NEWLINE_START_ID, entry->start_station);
    for (const wchar_t* d : kDirections)
      SendDlgItemMessageW(dialog, QUELOR_NEWLINE_DIRECTION_ID, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d));
    SendDlgItemMessageW(dialog, QUELOR_NEWLINE_DIRECTION_ID, CB_SETCURSEL, entry->line_direction, 0);
    set_number(dialog, QUELOR_NEWLINE_INCREMENT_ID, entry->station_increment);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  return end_on_command(dialog, w, [&] {
    NewLineEntry typed;
    typed.line_name = item_narrow(dialog, QUELOR_NEWLINE_NAME_ID);
    const auto start = parse_entered_number(item_narrow(dialog, QUELOR_NEWLINE_START_ID));
    const auto increment = parse_entered_number(item_narrow(dialog, QUELOR_NEWLINE_INCREMENT_ID));
    typed.start_station = start.value_or(NAN);
    typed.station_increment = increment.value_or(NAN);
    typed.line_direction =
        static_cast<int>(SendDlgItemMessageW(dialog, QUELOR_NEWLINE_DIRECTION_ID, CB_GETCURSEL, 0, 0));
    if (const auto fault = new_line_entry_fault(typed)) {
      show_notice(dialog, *fault);
      return false;
    }
    *entry = typed;
    return true;
  });
}

INT_PTR CALLBACK new_station_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* station = dialog_parameter<double>(dialog, message, l);
  if (message == WM_INITDIALOG) {
    set_number(dialog, QUELOR_NEWSTATION_STATION_ID, *station);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  return end_on_command(dialog, w, [&] {
    const auto typed = parse_entered_number(item_narrow(dialog, QUELOR_NEWSTATION_STATION_ID));
    if (!typed) {
      show_notice(dialog, {"WARNING", "Station must be a number.", DialogTemplate::kOk});
      return false;
    }
    *station = *typed;
    return true;
  });
}

INT_PTR CALLBACK comment_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* text = dialog_parameter<std::wstring>(dialog, message, l);
  if (message == WM_INITDIALOG) {
    SendDlgItemMessageW(dialog, QUELOR_COMMENT_TEXT_ID, EM_LIMITTEXT, kCommentEditMax, 0);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  return end_on_command(dialog, w, [&] {
    *text = item_text(dialog, QUELOR_COMMENT_TEXT_ID);
    return true;
  });
}

constexpr int kAudioIds[] = {QUELOR_AUDIO_TICKS_ID, QUELOR_AUDIO_ALARM_ID, QUELOR_AUDIO_GPS_WARNING_ID};

INT_PTR CALLBACK audio_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* options = dialog_parameter<AudioOptions>(dialog, message, l);
  if (message == WM_INITDIALOG) {
    const bool on[] = {options->audio_ticks, options->disconnection_alarm, options->gps_audio_warning};
    for (int i = 0; i < 3; ++i) CheckDlgButton(dialog, kAudioIds[i], on[i] ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  return end_on_command(dialog, w, [&] {
    options->audio_ticks = IsDlgButtonChecked(dialog, kAudioIds[0]) == BST_CHECKED;
    options->disconnection_alarm = IsDlgButtonChecked(dialog, kAudioIds[1]) == BST_CHECKED;
    options->gps_audio_warning = IsDlgButtonChecked(dialog, kAudioIds[2]) == BST_CHECKED;
    return true;
  });
}

INT_PTR CALLBACK coordinates_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* units = dialog_parameter<int>(dialog, message, l);
  const int first = QUELOR_COORDINATES_FIRST_ID, last = first + 3;
  if (message == WM_INITDIALOG) {
    const int checked = first + (*units >= 0 && *units <= 3 ? *units : 0);
    CheckRadioButton(dialog, first, last, checked);
    SetFocus(GetDlgItem(dialog, checked));
    return FALSE;  // the focus is set
  }
  if (message != WM_COMMAND) return FALSE;
  return end_on_command(dialog, w, [&] {
    for (int id = first; id <= last; ++id)
      if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) *units = id - first;
    return true;
  });
}

void save_settings() {
  Win32FileSystem fs;
  settings_file_operation(kSaveSettings, g_settings, g_variant, fs);
}

void redraw_survey(HWND window) {
  const LoggingSession& s = logging_session();
  invalidate_profile_windows();
  if (s.children.map) InvalidateRect(s.children.map, nullptr, TRUE);
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

// The map view on or off: the window laid out again, the profiles and the
// selectors follow.
void toggle_view_action(HWND window, int) {
  LoggingSession& s = logging_session();
  s.map_view = !s.map_view;
  lay_out_logging_window(window);
  lay_out_status_cells(window);
  show_channel_selectors(s.survey.state != kStateLogging);
  redraw_survey(window);
}

void restart_footprint() { painter_reset(live_map_state().painter); }

void new_line_action(HWND window, int) {
  LoggingSession& s = logging_session();
  NewLineEntry entry = new_line_defaults(s.survey);
  if (!run_dialog(window, L"GETNEWLINE", new_line_procedure, &entry)) return;
  const CommandOutcome o = new_line_command(s.survey, g_settings, entry);
  if (o.ok) restart_footprint();
  apply_command_outcome(window, o);
  redraw_survey(window);
}

void new_station_action(HWND window, int) {
  LoggingSession& s = logging_session();
  double station = s.survey.station;
  if (!run_dialog(window, L"NEWSTATION", new_station_procedure, &station)) return;
  const CommandOutcome o = new_station_command(s.survey, station);
  if (o.ok) restart_footprint();
  apply_command_outcome(window, o);
}

void comment_action(HWND window, int) {
  LoggingSession& s = logging_session();
  std::wstring text;
  if (!run_dialog(window, L"COMMENT", comment_procedure, &text)) return;
  apply_command_outcome(window, comment_command(s.survey, text));
}

void audio_options_action(HWND window, int) {
  AudioOptions options = audio_options_of(g_settings);
  if (!run_dialog(window, L"AUDIOFUNCTIONS", audio_procedure, &options)) return;
  if (!apply_audio_options(g_settings, options)) return;
  save_settings();
  LoggingSession& s = logging_session();
  s.fix_context.warning_sound = g_settings.gps_audio_warning != 0;
  s.instrument_context.audio_ticks = g_settings.audio_ticks != 0;  // the Grad601 ticks, from the next reading
  reader_shared().survey.disconnection_alarm.store(g_settings.disconnection_alarm != 0);
  sync_reader_survey();
}

void coordinates_units_action(HWND window, int) {
  int units = g_settings.coordinates_display;
  if (!run_dialog(window, L"COORDINATESUNITS", coordinates_procedure, &units)) return;
  if (!apply_coordinates_display(g_settings, units)) return;
  save_settings();
  logging_session().fix_context.coordinates_display = g_settings.coordinates_display;
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace quelor
