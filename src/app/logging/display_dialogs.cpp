#include "app/logging/display_dialogs.h"

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/app_state.h"
#include "app/logging/display_dialog_ids.h"
#include "app/logging/logging_session.h"
#include "app/logging/profile_drawing.h"
#include "app/map/live_map_win.h"
#include "display/display_forms.h"
#include "display/speed_bar.h"
#include "platform/win32/dialog_state.h"
#include "platform/win32/win32_file_system.h"
#include "settings/settings_file.h"
#include "survey/colour_rescale.h"
#include "survey/instrument_context.h"
#include "survey/survey_context.h"

namespace quelor {

namespace {

void save_settings_now() {
  Win32FileSystem fs;
  settings_file_operation(kSaveSettings, g_settings, g_variant, fs);
}

HINSTANCE instance_of(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)); }

std::wstring wide(std::string_view s) { return std::wstring(s.begin(), s.end()); }

void set_number(HWND dialog, int id, double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  SetDlgItemTextW(dialog, id, wide(text).c_str());
}

double number(HWND dialog, int id) {
  wchar_t text[64] = {};
  GetDlgItemTextW(dialog, id, text, 64);
  return std::wcstod(text, nullptr);  // text that is no number reads as 0
}

void add_item(HWND dialog, int id, std::string_view text) {
  SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(text).c_str()));
}

int selection(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

// ---- Readings Scale ----------------------------------------------------------

struct ScaleField {
  int min_id, max_id;
  std::array<double, 2> ReadingsScaleForm::*pair;
};
constexpr ScaleField kScaleFields[] = {
    {QUELOR_SCALE_FIRST_MIN_ID, QUELOR_SCALE_FIRST_MAX_ID, &ReadingsScaleForm::first},
    {QUELOR_SCALE_SECOND_MIN_ID, QUELOR_SCALE_SECOND_MAX_ID, &ReadingsScaleForm::second},
};

// A field left with minimum >= maximum goes back to its last accepted value.
void take_scale_edit(HWND dialog, ReadingsScaleForm& form, int id) {
  for (const ScaleField& f : kScaleFields) {
    if (id != f.min_id && id != f.max_id) continue;
    std::array<double, 2>& pair = form.*f.pair;
    const double minimum = number(dialog, f.min_id), maximum = number(dialog, f.max_id);
    if (scale_edit_accepted(minimum, maximum)) {
      pair = {minimum, maximum};
    } else {
      set_number(dialog, f.min_id, pair[0]);
      set_number(dialog, f.max_id, pair[1]);
    }
  }
}

INT_PTR CALLBACK readings_scale_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* form = dialog_parameter<ReadingsScaleForm>(dialog, message, l);
  if (message == WM_INITDIALOG) {
    for (const ScaleField& f : kScaleFields) {
      set_number(dialog, f.min_id, ((*form).*f.pair)[0]);
      set_number(dialog, f.max_id, ((*form).*f.pair)[1]);
    }
    return TRUE;
  }
  if (message != WM_COMMAND || !form) return FALSE;
  if (HIWORD(w) == EN_KILLFOCUS) {
    take_scale_edit(dialog, *form, LOWORD(w));
    return TRUE;
  }
  if (LOWORD(w) == IDOK) {
    for (const ScaleField& f : kScaleFields)  // OK reads both pairs as they stand
      (*form).*f.pair = {number(dialog, f.min_id), number(dialog, f.max_id)};
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (LOWORD(w) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

// The new scales reach the profiles, bars and the colour map's classes.
void rescale_displays(HWND window) {
  LoggingSession& s = logging_session();
  set_mapped_view(s.decode, g_settings);
  reset_reading_displays();
  const LoggingChildren& c = s.children;
  invalidate_profile_windows();
  for (HWND child : {c.colour_bar, c.map})
    if (child) InvalidateRect(child, nullptr, TRUE);
  InvalidateRect(window, nullptr, TRUE);
}

// ---- Speed bar scale -------------------------------------------------------

INT_PTR CALLBACK speed_scale_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* form = dialog_parameter<SpeedScaleForm>(dialog, message, l);
  if (message == WM_INITDIALOG) {
    SetDlgItemTextW(dialog, QUELOR_SPEED_CURRENT_ID, wide(speed_scale_text(form->current)).c_str());
    SetDlgItemTextW(dialog, QUELOR_SPEED_NEW_ID, wide(speed_scale_text(form->entered)).c_str());
    for (int u = 0; u < 4; ++u) add_item(dialog, QUELOR_SPEED_UNITS_ID, speed_unit_text(u));
    SendDlgItemMessageW(dialog, QUELOR_SPEED_UNITS_ID, CB_SETCURSEL, form->units, 0);
    return TRUE;
  }
  if (message != WM_COMMAND || !form) return FALSE;
  if (LOWORD(w) == IDOK) {
    form->entered = number(dialog, QUELOR_SPEED_NEW_ID);
    form->units = selection(dialog, QUELOR_SPEED_UNITS_ID);
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (LOWORD(w) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

// ---- Profile display options ----------------------------------------------

constexpr const char* kWidths[] = {"1 pixel", "2 pixels", "3 pixels", "4 pixels"};

void show_profile_form(HWND dialog, const ProfileOptionsForm& f) {
  const auto colours = trace_colour_choices();
  for (int i = 0; i < kProfileFormTraces; ++i) {
    const bool shown = i < f.traces;
    for (int id : {QUELOR_TRACE_LABEL_ID + i, QUELOR_TRACE_WIDTH_ID + i, QUELOR_TRACE_COLOUR_ID + i})
      ShowWindow(GetDlgItem(dialog, id), shown ? SW_SHOW : SW_HIDE);
    if (!shown) continue;
    char label[16];
    std::snprintf(label, sizeof label, "Trace &%d", i + 1);  // Alt+digit reaches the row
    SetDlgItemTextW(dialog, QUELOR_TRACE_LABEL_ID + i, wide(label).c_str());
    for (const char* w : kWidths) add_item(dialog, QUELOR_TRACE_WIDTH_ID + i, w);
    SendDlgItemMessageW(dialog, QUELOR_TRACE_WIDTH_ID + i, CB_SETCURSEL, f.width[static_cast<std::size_t>(i)] - 1, 0);
    for (const TraceColourChoice& c : colours) add_item(dialog, QUELOR_TRACE_COLOUR_ID + i, c.name);
    add_item(dialog, QUELOR_TRACE_COLOUR_ID + i, "Custom");
    SendDlgItemMessageW(dialog, QUELOR_TRACE_COLOUR_ID + i, CB_SETCURSEL,
                        trace_colour_index(f.colour[static_cast<std::size_t>(i)]), 0);
  }
  for (int id : {QUELOR_DISPLAYED_CHANNEL_LABEL_ID, QUELOR_DISPLAYED_CHANNEL_ID})
    ShowWindow(GetDlgItem(dialog, id), f.channel_choice ? SW_SHOW : SW_HIDE);
  if (f.channel_choice) {
    add_item(dialog, QUELOR_DISPLAYED_CHANNEL_ID, "None");
    for (int n = 1; n <= 8; ++n) add_item(dialog, QUELOR_DISPLAYED_CHANNEL_ID, "Channel " + std::to_string(n));
    SendDlgItemMessageW(dialog, QUELOR_DISPLAYED_CHANNEL_ID, CB_SETCURSEL, f.displayed_channel, 0);
  }
}

void read_profile_form(HWND dialog, ProfileOptionsForm& f) {
  const auto colours = trace_colour_choices();
  for (int i = 0; i < f.traces; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    f.width[k] = selection(dialog, QUELOR_TRACE_WIDTH_ID + i) + 1;
    const int c = selection(dialog, QUELOR_TRACE_COLOUR_ID + i);
    if (c >= 0 && c < static_cast<int>(colours.size())) f.colour[k] = colours[static_cast<std::size_t>(c)].colour;
  }
  if (f.channel_choice) f.displayed_channel = selection(dialog, QUELOR_DISPLAYED_CHANNEL_ID);
}

}  // namespace

INT_PTR CALLBACK profile_options_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  auto* form = dialog_state<ProfileOptionsForm>(dialog);
  if (message == WM_INITDIALOG) {
    form = adopt_dialog_state(
        dialog, std::make_unique<ProfileOptionsForm>(profile_options_form(g_settings, g_variant.instrument_type)));
    show_profile_form(dialog, *form);
    return TRUE;
  }
  if (message == WM_NCDESTROY) {
    drop_dialog_state<ProfileOptionsForm>(dialog);
    return FALSE;
  }
  if (message != WM_COMMAND || !form) return FALSE;
  if (LOWORD(w) == IDOK) {
    read_profile_form(dialog, *form);
    store_profile_options(*form, g_settings);
    save_settings_now();
    EndDialog(dialog, 1);
    return TRUE;
  }
  if (LOWORD(w) == IDCANCEL) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

void readings_scale_action(HWND window, int) {
  ReadingsScaleForm form = readings_scale_form(g_settings, g_variant.instrument_type);
  const std::wstring name = wide(readings_scale_template(g_variant.instrument_type));
  if (DialogBoxParamW(instance_of(window), name.c_str(), GetParent(window), readings_scale_procedure,
                      reinterpret_cast<LPARAM>(&form)) != IDOK)
    return;
  const Settings before = g_settings;
  store_readings_scale(form, g_settings);
  save_settings_now();
  rescale_displays(window);
  // The strips painted before take the classes of the new scale.
  if (readings_scale_recolours_map(before, g_settings, g_variant.instrument_type)) redraw_whole_map();
}

void speed_scale_action(HWND window, int) {
  SpeedScaleForm form = speed_scale_form(g_settings);
  if (DialogBoxParamW(instance_of(window), L"SPEEDSCALE", GetParent(window), speed_scale_procedure,
                      reinterpret_cast<LPARAM>(&form)) != IDOK)
    return;
  store_speed_scale(form, g_settings);
  save_settings_now();
  if (HWND speed = logging_session().children.speed) InvalidateRect(speed, nullptr, TRUE);
  InvalidateRect(window, nullptr, TRUE);
}

void profile_options_action(HWND window, int) {
  const std::wstring name = wide(profile_options_template(g_variant.instrument_type));
  if (DialogBoxParamW(instance_of(window), name.c_str(), GetParent(window), profile_options_procedure, 0) != 1) return;
  reset_reading_displays();
  invalidate_profile_windows();
}

}  // namespace quelor
