#include "app/map/map_actions.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_state.h"
#include "app/logging/logging_layout.h"
#include "app/logging/logging_session.h"
#include "app/map/live_map_win.h"
#include "app/map/map_dialog_ids.h"
#include "app/sound/sound_player.h"
#include "io/file_system.h"
#include "map/colour_views.h"
#include "map/map_scale.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_object.h"
#include "setup/accelerators.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_box.h"
#include "settings/settings_file.h"
#include "survey/logging_keys.h"
#include "survey/start_plan.h"
#include "variant/instrument.h"

#undef MessageBox

namespace quelor {

namespace {

constexpr const wchar_t* kUnitWords[] = {L"meters", L"feet", L"US feet"};
constexpr const wchar_t* kUnitNames[] = {L"meters", L"feet", L"US Survey Feet"};
constexpr const wchar_t* kBands[] = {L"10", L"15", L"20", L"25", L"30", L"35", L"40"};
constexpr const wchar_t* kSwaths31[] = {L"0.25", L"0.5", L"1.0", L"2.0", L"3.0", L"4.0", L"5.0", L"10.0"};
constexpr const wchar_t* kSwaths61[] = {L"50%",  L"60%",  L"70%",  L"80%",  L"90%",  L"100%",
                                        L"110%", L"120%", L"130%", L"140%", L"150%", L"200%"};
constexpr const wchar_t* kSwaths601[] = {L"0.25", L"0.50", L"0.75", L"1.00", L"1.25", L"1.50", L"1.75", L"2.00"};

void save_settings() {
  Win32FileSystem fs;
  settings_file_operation(kSaveSettings, g_settings, g_variant, fs);
}

void tell(HWND window, const OperatorMessage& m) {
  Win32MessageBox box(GetParent(window));
  box.show(m);
}

std::wstring text_of(HWND dialog, int id) {
  wchar_t text[64] = {};
  GetDlgItemTextW(dialog, id, text, 64);
  return text;
}

void set_number(HWND dialog, int id, const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  SetDlgItemTextA(dialog, id, text);
}

void fill_combo(HWND dialog, int id, std::span<const wchar_t* const> items, int selected) {
  HWND combo = GetDlgItem(dialog, id);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const wchar_t* item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int combo_selection(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

// The interval labels as shown, with their underlined letter.
std::wstring interval_label() {
  return with_accelerator(g_settings.map.parallel_lines ? L"Guide Lines Interval:" : L"Grid Lines Interval:", L"I");
}

std::wstring display_interval_label(bool parallel_lines) {
  return with_accelerator(parallel_lines ? L"Lines Interval:" : L"Grid Interval:", L"v");
}

// The whole map again at the settings' scale and grid. A map whose track
// fits again is no longer full, and the map watches its edge afresh.
void rebuild_map(bool size_changed, bool track_fits) {
  LiveMap& live = live_map_state();
  if (size_changed) set_map_size(live.map, g_settings.map.map_size);
  if (size_changed || track_fits) {
    logging_session().survey.map_full = kMapNotFull;
    live.map.map_full = false;
  }
  live.map.cursor_band = cursor_band_width(g_settings.map.cursor_band_index, live.map.tile_width + 2);
  redraw_whole_map();
  if (HWND log = g_log_window) InvalidateRect(log, nullptr, TRUE);
}

INT_PTR CALLBACK map_size_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  const int unit = std::clamp(g_settings.map_units, 0, 2);
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemInt(dialog, QUELOR_MAPSCALE_SIZE_ID, static_cast<UINT>(g_settings.map.map_size), FALSE);
      SetDlgItemTextW(dialog, QUELOR_MAPSCALE_INTERVAL_LABEL_ID, interval_label().c_str());
      set_number(dialog, QUELOR_MAPSCALE_INTERVAL_ID, "%.2f", g_settings.map.lines_interval);
      SetDlgItemTextW(dialog, QUELOR_MAPSCALE_SIZE_UNIT_ID, kUnitWords[unit]);
      SetDlgItemTextW(dialog, QUELOR_MAPSCALE_INTERVAL_UNIT_ID, kUnitWords[unit]);
      fill_combo(dialog, QUELOR_MAPSCALE_BAND_ID, kBands, std::clamp(g_settings.map.cursor_band_index, 0, 6));
      return TRUE;
    case WM_COMMAND:
      // Any notification of either edit box puts a size of 0 or less back to 1 at once.
      if ((LOWORD(w) == QUELOR_MAPSCALE_SIZE_ID || LOWORD(w) == QUELOR_MAPSCALE_INTERVAL_ID) &&
          (HIWORD(w) == EN_CHANGE || HIWORD(w) == EN_UPDATE || HIWORD(w) == EN_KILLFOCUS || HIWORD(w) == EN_SETFOCUS) &&
          std::wcstol(text_of(dialog, QUELOR_MAPSCALE_SIZE_ID).c_str(), nullptr, 10) <= 0)
        SetDlgItemTextW(dialog, QUELOR_MAPSCALE_SIZE_ID, L"1");
      if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) {
        EndDialog(dialog, LOWORD(w));
        return TRUE;
      }
      if (LOWORD(w) == IDOK) return TRUE;
      break;
    default: break;
  }
  return FALSE;
}

// The values typed into the Map Size dialog, read before it closes.
MapScaleEntry g_typed;

INT_PTR CALLBACK map_size_reading_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_COMMAND && LOWORD(w) == IDOK) {
    g_typed.map_size = typed_map_size(std::wcstol(text_of(dialog, QUELOR_MAPSCALE_SIZE_ID).c_str(), nullptr, 10));
    g_typed.lines_interval = std::wcstod(text_of(dialog, QUELOR_MAPSCALE_INTERVAL_ID).c_str(), nullptr);
    g_typed.cursor_band_index = std::max(0, combo_selection(dialog, QUELOR_MAPSCALE_BAND_ID));
  }
  return map_size_procedure(dialog, message, w, l);
}

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

void pan(int direction) {
  LiveMap& live = live_map_state();
  TileSurface* tiles = live_map_tiles();
  if (!tiles) return;
  if (map_pan(live.map, tiles->touched(), direction)) {
    make_view_tiles(*tiles, live.map, shown_view(live.map));
    InvalidateRect(logging_session().children.map, nullptr, TRUE);
  }
}

void zoom_or_fit(int code) {
  LiveMap& live = live_map_state();
  if (!live.map.in_review) return;
  if (code == kCmdZoomIn) set_map_size(live.map, zoom_in_size(live.map.map_size));
  if (code == kCmdZoomOut) set_map_size(live.map, zoom_out_size(live.map.map_size));
  if (code == kCmdFitAll) map_fit(live.map, g_settings.map.cursor_band_index);
  if (code != kCmdFitAll) {  // keep the middle of the window where it was
    const MapView& v = live.map.review;
    live.map.review = view_at(v.left, v.top, live.map.tile_width, live.map.tile_height);
  }
  redraw_whole_map();
}

// The view mapped when review began, back in the settings, the decoding,
// the fix painter and the selectors.
void restore_mapped_view(int view) {
  LoggingSession& s = logging_session();
  g_settings.colour_map_view = view;
  set_mapped_view(s.decode, g_settings);
  s.fix_context.selected_channel = g_settings.colour_map_view;
  show_channel_selectors(s.survey.state != kStateLogging);
}

}  // namespace

void map_view_action(HWND window, int code) {
  LoggingSession& s = logging_session();
  LiveMap& live = live_map_state();
  if (!s.sink.is_open() || !live.map.initialised) return;  // a survey data file and a position are needed
  switch (code) {
    case kCmdMapLeft: pan(kPanLeft); break;
    case kCmdMapRight: pan(kPanRight); break;
    case kCmdMapUp: pan(kPanUp); break;
    case kCmdMapDown: pan(kPanDown); break;
    case kCmdZoomIn:
    case kCmdZoomOut:
    case kCmdFitAll: zoom_or_fit(code); break;
    case kCmdEnterReview:
      if (live.map.in_review) break;
      enter_review(live.map, g_settings.colour_map_view);
      s.survey.map_review = true;
      show_map_buttons();
      break;
    case kCmdExitReview:
      if (!live.map.in_review) break;
      restore_mapped_view(exit_review(live.map));
      s.survey.map_review = false;
      show_map_buttons();
      redraw_whole_map();
      break;
    default: break;
  }
  InvalidateRect(window, nullptr, TRUE);
}

void map_size_action(HWND window, int) {
  g_typed = map_scale_entry(g_settings);
  const Settings before = g_settings;
  if (DialogBoxParamW(instance(), L"MAPSCALE", GetParent(window), map_size_reading_procedure, 0) != IDOK) {
    g_settings = before;  // Cancel restores every value
    return;
  }
  const LiveMap& live = live_map_state();
  const MapScaleOutcome o = apply_map_scale(g_settings, g_typed, live.map.initialised ? &live.map : nullptr);
  if (o.ring) play_sound_named("SOUND_RING");
  if (o.message) tell(window, *o.message);
  if (!o.accepted) return;
  save_settings();
  rebuild_map(o.size_changed, true);  // accepted: the track fits the map
}

// ---- Map Display Options ----

namespace {

struct DisplayDraft {
  Settings settings;
};
DisplayDraft g_draft;

std::span<const wchar_t* const> swath_list() {
  switch (g_variant.instrument_type) {
    case kEm61Mk2:
    case kEm61Lx2: return kSwaths61;
    case kGrad601: return kSwaths601;
    default: return kSwaths31;
  }
}

void show_view_note(HWND dialog) {
  const int view = combo_selection(dialog, QUELOR_DISPLAY_VIEW_ID);
  const auto names = colour_view_names(view_setup(g_draft.settings, g_variant.instrument_type));
  std::wstring note;
  if (view >= 0 && view < static_cast<int>(names.size()))
    note.assign(names[static_cast<std::size_t>(view)].begin(), names[static_cast<std::size_t>(view)].end());
  SetDlgItemTextW(dialog, QUELOR_DISPLAY_NOTE_ID, note.c_str());
}

void fill_display_options(HWND dialog) {
  const Settings& s = g_draft.settings;
  CheckRadioButton(dialog, QUELOR_DISPLAY_CURSOR_FIRST_ID, QUELOR_DISPLAY_CURSOR_FIRST_ID + 5,
                   QUELOR_DISPLAY_CURSOR_FIRST_ID + std::clamp(s.map.cursor_size, 0, 5));
  CheckRadioButton(dialog, QUELOR_DISPLAY_POSITION_FIRST_ID, QUELOR_DISPLAY_POSITION_FIRST_ID + 5,
                   QUELOR_DISPLAY_POSITION_FIRST_ID + std::clamp(s.map.position_size, 0, 5));
  fill_combo(dialog, QUELOR_DISPLAY_UNITS_ID, kUnitNames, std::clamp(s.map_units, 0, 2));
  const auto swaths = swath_list();
  fill_combo(dialog, QUELOR_DISPLAY_SWATH_ID, swaths,
             std::clamp(s.swath_option, 0, static_cast<int>(swaths.size()) - 1));
  if (g_variant.instrument_type == kGrad601 && s.number_of_sensors > 0) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", 2 * s.sensor_separation);
    HWND combo = GetDlgItem(dialog, QUELOR_DISPLAY_SWATH_ID);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
  }
  SetDlgItemTextW(dialog, QUELOR_DISPLAY_SWATH_NOTE_ID,
                  g_variant.instrument_type == kGrad601
                      ? L"Map Swath - selection valid for one sensor system only, it is fixed (double separation) "
                        L"for two sensors."
                      : L"");
  const bool closed = logging_session().survey.state == kStateClosed || !logging_session().active;
  EnableWindow(GetDlgItem(dialog, QUELOR_DISPLAY_UNITS_ID), closed);
  EnableWindow(GetDlgItem(dialog, QUELOR_DISPLAY_SWATH_ID), closed && g_variant.instrument_type != kEm61Lx2);
  SetDlgItemInt(dialog, QUELOR_DISPLAY_SIZE_ID, static_cast<UINT>(s.map.map_size), FALSE);
  CheckRadioButton(dialog, QUELOR_DISPLAY_BASIC_ID, QUELOR_DISPLAY_PARALLEL_ID,
                   s.map.parallel_lines ? QUELOR_DISPLAY_PARALLEL_ID : QUELOR_DISPLAY_BASIC_ID);
  SetDlgItemTextW(dialog, QUELOR_DISPLAY_INTERVAL_LABEL_ID, display_interval_label(s.map.parallel_lines).c_str());
  set_number(dialog, QUELOR_DISPLAY_INTERVAL_ID, "%.2f", s.map.lines_interval);
  set_number(dialog, QUELOR_DISPLAY_ANGLE_ID, "%.2f", s.map.lines_angle);
  EnableWindow(GetDlgItem(dialog, QUELOR_DISPLAY_ANGLE_ID), s.map.parallel_lines != 0);
  HWND views = GetDlgItem(dialog, QUELOR_DISPLAY_VIEW_ID);
  SendMessageW(views, CB_RESETCONTENT, 0, 0);
  const ViewSetup setup = view_setup(s, g_variant.instrument_type);
  for (std::string_view name : colour_view_names(setup))
    SendMessageA(views, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(name).c_str()));
  const bool navigation = g_variant.navigation_mode == kNavigation;
  SendMessageW(views, CB_SETCURSEL, static_cast<WPARAM>(navigation ? 0 : list_entry_of_view(setup, s.colour_map_view)),
               0);
  EnableWindow(views, !navigation);
  show_view_note(dialog);
}

void choose_colour(HWND dialog, ColorRef& colour) {
  static COLORREF custom[16] = {};
  CHOOSECOLORW c{};
  c.lStructSize = sizeof c;
  c.hwndOwner = dialog;
  c.rgbResult = colour;
  c.lpCustColors = custom;
  c.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (ChooseColorW(&c)) colour = c.rgbResult;
  InvalidateRect(GetDlgItem(dialog, QUELOR_DISPLAY_PREVIEW_ID), nullptr, TRUE);
}

// The preview: a bar and a dot in the position colour, the cursor cross.
void paint_preview(HWND dialog) {
  HWND preview = GetDlgItem(dialog, QUELOR_DISPLAY_PREVIEW_ID);
  RECT r;
  GetClientRect(preview, &r);
  WindowDc dc(preview);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const Settings& s = g_draft.settings;
  const int cy = r.bottom / 2;
  {
    const UniquePen pen(CreatePen(PS_SOLID, 2, s.map.position_colour));
    const UniqueBrush brush(CreateSolidBrush(s.map.position_colour));
    SelectedObject op(dc, pen.get()), ob(dc, brush.get());
    for (int i = 0; i < 5; ++i) {
      const int x = 12 + i * 14;
      if (s.map.position_size >= 4) {
        MoveToEx(dc, x, cy - 10, nullptr);
        LineTo(dc, x, cy + 10);
      } else {
        const int q = s.map.position_size;
        Ellipse(dc, x - q, cy - q, x + q + 2, cy + q + 2);
      }
    }
  }
  const UniquePen cursor(CreatePen(PS_SOLID, 1, s.map.cursor_colour));
  SelectedObject op(dc, cursor.get());
  const int i = std::clamp(s.map.cursor_size, 0, 5), half = i == 5 ? 9 : i + 3, cx = r.right - 25;
  MoveToEx(dc, cx - half, cy, nullptr);
  LineTo(dc, cx + half + 1, cy);
  MoveToEx(dc, cx, cy - half, nullptr);
  LineTo(dc, cx, cy + half + 1);
}

void warn(HWND dialog, const char* text) {
  Win32MessageBox box(dialog);
  box.show(OperatorMessage{"WARNING", text, DialogTemplate::kOk});
}

void view_chosen(HWND dialog) {
  int view = combo_selection(dialog, QUELOR_DISPLAY_VIEW_ID);
  if (view > 0 && g_draft.settings.instrument_state == 0) {
    warn(dialog, "Only sensor position avaiable for GXY format");
    view = 0;
  } else if (view == 1 && has_trait(g_variant.instrument_type, Trait::kInphaseOnlyComponent) &&
             g_draft.settings.component == 1) {
    warn(dialog, "Inphase mode is fixed in the Survey Setup dialog");
    view = 2;
  }
  SendDlgItemMessageW(dialog, QUELOR_DISPLAY_VIEW_ID, CB_SETCURSEL, static_cast<WPARAM>(view), 0);
  show_view_note(dialog);
}

void read_display_options(HWND dialog, Settings& s) {
  for (int i = 0; i < 6; ++i) {
    if (IsDlgButtonChecked(dialog, QUELOR_DISPLAY_CURSOR_FIRST_ID + i)) s.map.cursor_size = i;
    if (IsDlgButtonChecked(dialog, QUELOR_DISPLAY_POSITION_FIRST_ID + i)) s.map.position_size = i;
  }
  if (IsWindowEnabled(GetDlgItem(dialog, QUELOR_DISPLAY_UNITS_ID)))
    s.map_units = std::max(0, combo_selection(dialog, QUELOR_DISPLAY_UNITS_ID));
  if (IsWindowEnabled(GetDlgItem(dialog, QUELOR_DISPLAY_SWATH_ID)) &&
      !(g_variant.instrument_type == kGrad601 && s.number_of_sensors > 0))
    s.swath_option = std::max(0, combo_selection(dialog, QUELOR_DISPLAY_SWATH_ID));
  s.map.map_size = typed_map_size(std::wcstol(text_of(dialog, QUELOR_DISPLAY_SIZE_ID).c_str(), nullptr, 10));
  s.map.parallel_lines = IsDlgButtonChecked(dialog, QUELOR_DISPLAY_PARALLEL_ID) ? 1 : 0;
  s.map.lines_interval = std::wcstod(text_of(dialog, QUELOR_DISPLAY_INTERVAL_ID).c_str(), nullptr);
  s.map.lines_angle = std::wcstod(text_of(dialog, QUELOR_DISPLAY_ANGLE_ID).c_str(), nullptr);
  if (g_variant.navigation_mode != kNavigation)
    s.colour_map_view =
        view_of_list_entry(view_setup(s, g_variant.instrument_type), combo_selection(dialog, QUELOR_DISPLAY_VIEW_ID));
}

}  // namespace

INT_PTR CALLBACK map_display_options_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      g_draft.settings = g_settings;
      fill_display_options(dialog);
      return TRUE;
    case WM_PAINT: paint_preview(dialog); return FALSE;
    case WM_COMMAND:
      switch (LOWORD(w)) {
        case QUELOR_DISPLAY_POSITION_COLOUR_ID:
          choose_colour(dialog, g_draft.settings.map.position_colour);
          return TRUE;
        case QUELOR_DISPLAY_CURSOR_COLOUR_ID: choose_colour(dialog, g_draft.settings.map.cursor_colour); return TRUE;
        case QUELOR_DISPLAY_BASIC_ID:
        case QUELOR_DISPLAY_PARALLEL_ID:
          g_draft.settings.map.parallel_lines = LOWORD(w) == QUELOR_DISPLAY_PARALLEL_ID;
          EnableWindow(GetDlgItem(dialog, QUELOR_DISPLAY_ANGLE_ID), g_draft.settings.map.parallel_lines);
          SetDlgItemTextW(dialog, QUELOR_DISPLAY_INTERVAL_LABEL_ID,
                          display_interval_label(g_draft.settings.map.parallel_lines).c_str());
          return TRUE;
        case QUELOR_DISPLAY_VIEW_ID:
          if (HIWORD(w) == CBN_SELCHANGE) view_chosen(dialog);
          return TRUE;
        case IDOK: {
          read_display_options(dialog, g_draft.settings);
          if (g_draft.settings.map.lines_interval < 0.5) {
            g_draft.settings.map.lines_interval = 0.5;
            Win32MessageBox box(dialog);
            box.show(OperatorMessage{"INFORMATION",
                                     "Grid Interval must be >= 0.5 of map unit. Program assumed minimum value.",
                                     DialogTemplate::kOk});
          }
          g_settings = g_draft.settings;
          save_settings();
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        default:
          if (HIWORD(w) == BN_CLICKED) {
            read_display_options(dialog, g_draft.settings);
            InvalidateRect(GetDlgItem(dialog, QUELOR_DISPLAY_PREVIEW_ID), nullptr, TRUE);
            paint_preview(dialog);
          }
          return FALSE;
      }
    default: return FALSE;
  }
}

void map_display_options_action(HWND window, int) {
  RECT r;
  GetClientRect(GetParent(window), &r);
  const bool narrow = r.right - r.left < 784;
  const bool navigation = g_variant.navigation_mode == kNavigation;
  const wchar_t* name = navigation ? (narrow ? L"DISPLAYOPTIONSNARROW" : L"DISPLAYOPTIONS")
                                   : (narrow ? L"DISPLAYOPTIONS31NARROW" : L"DISPLAYOPTIONS31");
  const long size_before = g_settings.map.map_size;
  if (DialogBoxParamW(instance(), name, GetParent(window), map_display_options_procedure, 0) != IDOK) return;
  LoggingSession& s = logging_session();
  set_mapped_view(s.decode, g_settings);
  s.fix_context.selected_channel = g_settings.colour_map_view;
  show_channel_selectors(s.survey.state != kStateLogging);  // the mapped view's selector, or none
  show_colour_bar();
  rebuild_map(g_settings.map.map_size != size_before, false);
}

}  // namespace quelor
