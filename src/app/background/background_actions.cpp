#include "app/background/background_actions.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/background/background_dialog_ids.h"
#include "app/background/background_drawing.h"
#include "app/logging/box_hold.h"
#include "app/logging/logging_session.h"
#include "app/setup_dialogs.h"
#include "background/point_file.h"
#include "platform/win32/dialog_state.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_box.h"
#include "settings/settings_file.h"

namespace quelor {

namespace {

constexpr const wchar_t* kTemporaryBase = L"C:\\ProgramData\\Quelor\\Temp\\";

// This program's own folder of point files, made when first needed.
const std::wstring& temporary_folder() {
  static const std::wstring folder =
      program_temporary_folder(kTemporaryBase, product_names(g_variant).program_name, GetCurrentProcessId());
  return folder;
}

struct ComboList {
  int id;
  std::span<const std::string_view> texts;
  int BackgroundLoadOptions::*member;
};

std::vector<ComboList> combo_lists() {
  const int nav = g_variant.navigation_mode;
  return {
      {QUELOR_BG_TYPE_ID, background_file_type_texts(nav), &BackgroundLoadOptions::file_type},
      {QUELOR_BG_COORDINATES_ID, background_coordinates_texts(), &BackgroundLoadOptions::coordinates},
      {QUELOR_BG_EASTING_ID, background_column_texts(), &BackgroundLoadOptions::easting_column},
      {QUELOR_BG_NORTHING_ID, background_column_texts(), &BackgroundLoadOptions::northing_column},
      {QUELOR_BG_LABELS_ID, background_column_texts(), &BackgroundLoadOptions::labels_column},
      {QUELOR_BG_DELIMITER_ID, background_delimiter_texts(), &BackgroundLoadOptions::delimiter},
      {QUELOR_BG_DISPLAY_ID, background_display_texts(nav), &BackgroundLoadOptions::display_type},
  };
}

void show(HWND owner, const OperatorMessage& m) { Win32MessageBox(owner).show(m); }

void save_settings_file() {
  Win32FileSystem fs;
  settings_file_operation(kSaveSettings, g_settings, g_variant, fs);
}

int selection(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

// The notes and the enabled parameters follow the chosen type.
void show_type(HWND dialog) {
  const int type = selection(dialog, QUELOR_BG_TYPE_ID);
  const auto notes = background_type_notes(type);
  SetDlgItemTextW(dialog, QUELOR_BG_NOTE1_ID, widen_text(std::string(notes[0])).c_str());
  SetDlgItemTextW(dialog, QUELOR_BG_NOTE2_ID, widen_text(std::string(notes[1])).c_str());
  const bool text = type != kBackgroundDataFile;
  for (int id : {QUELOR_BG_COORDINATES_ID, QUELOR_BG_EASTING_ID, QUELOR_BG_NORTHING_ID, QUELOR_BG_DELIMITER_ID})
    EnableWindow(GetDlgItem(dialog, id), text);
  if (HWND labels = GetDlgItem(dialog, QUELOR_BG_LABELS_ID)) EnableWindow(labels, type == kBackgroundLabelledText);
}

INT_PTR CALLBACK load_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* options = dialog_parameter<BackgroundLoadOptions>(dialog, message, l);
  if (message == WM_INITDIALOG) {
    SetDlgItemInt(dialog, QUELOR_BG_COUNT_ID, static_cast<UINT>(background_files().files.size()), FALSE);
    for (const ComboList& c : combo_lists()) {
      if (!GetDlgItem(dialog, c.id)) continue;
      for (std::string_view t : c.texts)
        SendDlgItemMessageW(dialog, c.id, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(widen_text(std::string(t)).c_str()));
      SendDlgItemMessageW(dialog, c.id, CB_SETCURSEL, (*options).*(c.member), 0);
    }
    show_type(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(w) == QUELOR_BG_TYPE_ID && HIWORD(w) == CBN_SELCHANGE) {
    show_type(dialog);
    return TRUE;
  }
  if (LOWORD(w) == IDOK) {
    BackgroundLoadOptions typed = *options;
    for (const ComboList& c : combo_lists())
      if (GetDlgItem(dialog, c.id) && selection(dialog, c.id) >= 0) typed.*(c.member) = selection(dialog, c.id);
    *options = typed;
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (LOWORD(w) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

// A row of the remove list as its check box shows it: "&" before the last
// digit of its number (Alt+1 ... Alt+9, Alt+0 for the tenth), an "&" of the
// file name shown as itself.
std::wstring remove_row_shown(const std::wstring& row) {
  std::wstring shown;
  const std::size_t dot = row.find(L'.');
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (i + 1 == dot)
      shown += L'&';
    else if (row[i] == L'&')
      shown += L'&';
    shown += row[i];
  }
  return shown;
}

struct RemoveState {
  std::vector<std::wstring> rows;
  std::vector<bool> selected;
};

INT_PTR CALLBACK remove_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* state = dialog_parameter<RemoveState>(dialog, message, l);
  if (message == WM_INITDIALOG) {
    for (int i = 0; i < kMaxBackgroundFiles; ++i) {
      HWND box = GetDlgItem(dialog, QUELOR_BG_REMOVE_FIRST_ID + i);
      if (i < static_cast<int>(state->rows.size()))
        SetWindowTextW(box, remove_row_shown(state->rows[i]).c_str());
      else
        ShowWindow(box, SW_HIDE);
    }
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(w) == QUELOR_BG_REMOVE_ALL_ID) {
    const UINT all = IsDlgButtonChecked(dialog, QUELOR_BG_REMOVE_ALL_ID);
    for (std::size_t i = 0; i < state->rows.size(); ++i)
      CheckDlgButton(dialog, QUELOR_BG_REMOVE_FIRST_ID + static_cast<int>(i), all);
    return TRUE;
  }
  if (LOWORD(w) == IDOK) {
    state->selected.assign(state->rows.size(), false);
    for (std::size_t i = 0; i < state->rows.size(); ++i)
      state->selected[i] = IsDlgButtonChecked(dialog, QUELOR_BG_REMOVE_FIRST_ID + static_cast<int>(i)) == BST_CHECKED;
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (LOWORD(w) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

HINSTANCE instance_of(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)); }

std::optional<std::wstring> choose_background_file(HWND owner, int file_type) {
  const std::wstring filter = background_open_filter_text(file_type);
  std::vector<wchar_t> name(MAX_PATH + 1, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = g_settings.background_folder.empty() ? nullptr : g_settings.background_folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return std::wstring(name.data());
}

}  // namespace

BackgroundFileTable& background_files() {
  static BackgroundFileTable table;
  return table;
}

std::wstring background_open_filter_text(int file_type) {
  const OpenFilter f = background_open_filter(file_type);
  std::wstring text = widen_text(std::string(f.name));
  text.push_back(L'\0');
  text += widen_text(std::string(f.patterns));
  text.push_back(L'\0');
  text.push_back(L'\0');
  return text;
}

MapFrame background_map_frame() { return live_background_frame(); }

void enter_background_action(HWND window, int) {
  LoggingSession& s = logging_session();
  HWND owner = GetParent(window);
  if (const auto refused = check_enter_background(background_files(), s.survey.first_fix_done)) {
    show(owner, *refused);
    return;
  }
  BackgroundLoadOptions options = load_options_from_settings(g_settings.background_display, g_variant.navigation_mode);
  const wchar_t* name = g_variant.navigation_mode ? L"BACKGROUNDFILELOAD" : L"BACKGROUNDFILELOADRT";
  if (DialogBoxParamW(instance_of(window), name, owner, load_procedure, reinterpret_cast<LPARAM>(&options)) != IDOK)
    return;
  g_settings.background_display = load_options_to_settings(options);
  save_settings_file();
  if (const auto fault = check_background_columns(options)) {
    show(owner, *fault);
    return;
  }
  const std::optional<std::wstring> chosen = choose_background_file(owner, options.file_type);
  SetFocus(window);
  if (!chosen) return;
  g_settings.background_folder = folder_part(*chosen);
  save_settings_file();

  Win32FileSystem fs;
  make_temporary_folder(temporary_folder(), fs);
  const BackgroundLoad load = load_background_file(background_files(), *chosen, options, current_background_survey(),
                                                   background_map_frame(), temporary_folder(), fs);
  if (load.added) draw_new_background_file(load.drawing);
  if (load.message) show(owner, *load.message);
}

BackgroundSurvey current_background_survey() {
  const SurveyRecord& survey = logging_session().survey;
  BackgroundSurvey b;
  b.map_units = g_settings.map_units;
  b.zone = survey.zone.fixed ? survey.zone.zone : survey.reference_zone;
  b.rts_units = g_settings.rts_units;
  b.instrument_type = g_variant.instrument_type;
  b.navigation_mode = g_variant.navigation_mode;
  return b;
}

void refresh_background_files(HWND window) {
  if (background_files().files.empty()) return;
  Win32FileSystem fs;
  const BackgroundReconversion r = reconvert_background_files(background_files(), current_background_survey(), fs);
  if (r.converted == 0 && r.removed.empty()) return;
  background_table_changed();
  if (r.message) show_box_holding_readings(GetParent(window), *r.message, false);
}

void remove_background_action(HWND window, int) {
  HWND owner = GetParent(window);
  if (const auto none = check_background_to_remove(background_files())) {
    show(owner, *none);
    return;
  }
  RemoveState state;
  state.rows = background_remove_rows(background_files());
  if (DialogBoxParamW(instance_of(window), L"BACKGROUNDFILEREMOVE", owner, remove_procedure,
                      reinterpret_cast<LPARAM>(&state)) != IDOK)
    return;
  Win32FileSystem fs;
  if (remove_background_files(background_files(), state.selected, fs) > 0) redraw_whole_map_for_background();
}

void alarm_settings_action(HWND window, int) {
  DialogBoxParamW(instance_of(window), L"ALARMLX2", GetParent(window), alarm_setup_procedure, 0);
}

void forget_background_files() {
  Win32FileSystem fs;
  clear_background_files(background_files(), fs);
  RemoveDirectoryW(temporary_folder().c_str());  // only when empty
}

}  // namespace quelor
