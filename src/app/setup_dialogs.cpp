#include "app/setup_dialogs.h"

#include <memory>
#include <vector>

#include "app/app_state.h"
#include "app/dialog_form_win32.h"
#include "app/map/map_actions.h"
#include "platform/win32/dialog_state.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_box.h"
#include "settings/settings_file.h"
#include "settings/value_text.h"
#include "setup/accelerators.h"
#include "setup/alarm_setup.h"
#include "setup/control_ids.h"
#include "setup/geometry_setup.h"
#include "setup/gps_setup.h"
#include "setup/survey_setup.h"
#include "setup/system_setup.h"
#include "shell/setup_dialog_templates.h"
#include "app/logging/display_dialogs.h"
#include "shell/setup_keys.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

// Settings changed by a dialog: derived values again, then the file.
void settings_changed() {
  g_settings_derived = derive_settings(g_settings, g_variant);
  Win32FileSystem fs;
  settings_file_operation(kSaveSettings, g_settings, g_variant, fs);
}

bool is_change(WPARAM w) {
  const WORD code = HIWORD(w);
  return code == CBN_SELCHANGE || code == BN_CLICKED;
}

void show_messages(HWND owner, const std::vector<OperatorMessage>& messages) {
  Win32MessageBox box(owner);
  for (const OperatorMessage& m : messages) box.show(m);
}

// "C" or "c" typed outside an edit field closes Survey Setup. The key
// reaches the focused control, not the dialog, so it is taken in the
// dialog's message loop.
HHOOK g_survey_key_hook = nullptr;

bool in_edit_field(HWND control) {
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  return lstrcmpiW(name, L"Edit") == 0;
}

LRESULT CALLBACK survey_key_filter(int code, WPARAM w, LPARAM l) {
  const MSG* m = reinterpret_cast<const MSG*>(l);
  if (code == MSGF_DIALOGBOX && m && m->message == WM_CHAR && (m->wParam == 'C' || m->wParam == 'c') &&
      !in_edit_field(m->hwnd)) {
    HWND dialog = GetAncestor(m->hwnd, GA_ROOT);
    if (dialog) {
      EndDialog(dialog, 0);
      return 1;
    }
  }
  return CallNextHookEx(g_survey_key_hook, code, w, l);
}

void hook_survey_keys(bool on) {
  if (on && !g_survey_key_hook)
    g_survey_key_hook = SetWindowsHookExW(WH_MSGFILTER, survey_key_filter, nullptr, GetCurrentThreadId());
  if (!on && g_survey_key_hook) {
    UnhookWindowsHookEx(g_survey_key_hook);
    g_survey_key_hook = nullptr;
  }
}

INT_PTR end_without_storing(HWND dialog) {
  EndDialog(dialog, 0);
  return TRUE;
}

}  // namespace

std::wstring setup_dialog_template_name(int command) {
  return widen_text(setup_dialog_template(command, g_variant, g_screen.client_width));
}

INT_PTR CALLBACK setup_shell_dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: place_over_owner(dialog); return TRUE;
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        settings_changed();
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) return end_without_storing(dialog);
      return FALSE;
    default: return FALSE;
  }
}

INT_PTR CALLBACK survey_setup_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  SurveySetupSession* ss = dialog_state<SurveySetupSession>(dialog);
  switch (message) {
    case WM_INITDIALOG:
      ss =
          adopt_dialog_state(dialog, std::make_unique<SurveySetupSession>(survey_setup_session(g_settings, g_variant)));
      place_over_owner(dialog);
      show_form(dialog, ss->form);
      hook_survey_keys(true);
      return TRUE;
    case WM_COMMAND:
      if (!ss) return FALSE;
      if (LOWORD(w) == IDOK) {
        read_form(dialog, ss->form);
        store_survey_setup(*ss, g_settings, g_variant);
        settings_changed();
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) return end_without_storing(dialog);
      if (LOWORD(w) == IDC_SURVEY_MODE && HIWORD(w) == CBN_SELCHANGE) {
        read_form(dialog, ss->form);
        survey_setup_mode_selected(*ss, ss->form.selection(IDC_SURVEY_MODE, 0), g_settings, g_variant);
        show_form(dialog, ss->form);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY: hook_survey_keys(false); return FALSE;
    case WM_NCDESTROY: drop_dialog_state<SurveySetupSession>(dialog); return FALSE;
    default: return FALSE;
  }
}

namespace {

// A dialog over one DialogForm: made from the settings, stored on OK,
// changed by its own rules in between.
struct FormDialog {
  DialogForm (*make)();
  void (*store)(HWND dialog, DialogForm& form);
  bool (*on_command)(HWND dialog, DialogForm& form, WPARAM w);  // may be null
  void (*shown)(HWND dialog) = nullptr;                         // after the form is first shown
};

INT_PTR form_dialog_message(const FormDialog& kind, HWND dialog, UINT message, WPARAM w) {
  DialogForm* form = dialog_state<DialogForm>(dialog);
  switch (message) {
    case WM_INITDIALOG:
      form = adopt_dialog_state(dialog, std::make_unique<DialogForm>(kind.make()));
      place_over_owner(dialog);
      show_form(dialog, *form);
      if (kind.shown) kind.shown(dialog);
      return TRUE;
    case WM_COMMAND:
      if (!form) return FALSE;
      if (LOWORD(w) == IDOK) {
        read_form(dialog, *form);
        kind.store(dialog, *form);
        settings_changed();
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) return end_without_storing(dialog);
      return kind.on_command && kind.on_command(dialog, *form, w) ? TRUE : FALSE;
    case WM_NCDESTROY: drop_dialog_state<DialogForm>(dialog); return FALSE;
    default: return FALSE;
  }
}

bool system_setup_rule(HWND dialog, DialogForm& form, WPARAM w) {
  const int id = LOWORD(w);
  const bool rule =
      id == IDC_INSTRUMENT_STATE || id == IDC_TILT_STATE || id == IDC_ANTENNA_RIGID || id == IDC_NUMBER_OF_SENSORS;
  if (!rule || !is_change(w)) return false;
  read_form(dialog, form);
  update_system_setup(form, g_variant);
  refresh_form(dialog, form);
  return true;
}

bool alarm_setup_rule(HWND dialog, DialogForm& form, WPARAM w) {
  if (LOWORD(w) != IDC_ALARM_TYPE || HIWORD(w) != CBN_SELCHANGE) return false;
  read_form(dialog, form);
  update_alarm_setup(form);
  refresh_form(dialog, form);
  return true;
}

// The warning mask opened from GPS Port Setup works on that dialog's
// working copy (lParam); opened from the logging window, on the settings.
INT_PTR open_mask_dialog(HWND owner, GpsPortSetup* port) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), L"GPSMASK", owner, gps_mask_procedure,
                         reinterpret_cast<LPARAM>(port));
}

const FormDialog kSystemSetup{
    [] { return system_setup_form(g_settings, g_variant); },
    [](HWND dialog, DialogForm& form) { show_messages(dialog, store_system_setup(form, g_settings, g_variant)); },
    system_setup_rule};
// EM38-4 and CS-21 share a template: the height's label names the instrument.
void label_geometry_height(HWND dialog) {
  const std::wstring label = geometry_height_label(g_variant.instrument_type);
  constexpr int kHeightLabel = IDC_THIRD_VALUE + 10000;
  if (!label.empty()) SetDlgItemTextW(dialog, kHeightLabel, label_with_accelerator(kHeightLabel, label).c_str());
}

const FormDialog kGeometrySetup{[] { return geometry_setup_form(g_settings, g_variant); },
                                [](HWND, DialogForm& form) { store_geometry_setup(form, g_settings, g_variant); },
                                nullptr, label_geometry_height};
const FormDialog kAlarmSetup{[] { return alarm_setup_form(g_settings); },
                             [](HWND, DialogForm& form) { store_alarm_setup(form, g_settings); }, alarm_setup_rule};

}  // namespace

INT_PTR CALLBACK system_setup_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  return form_dialog_message(kSystemSetup, dialog, message, w);
}

INT_PTR CALLBACK geometry_setup_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  return form_dialog_message(kGeometrySetup, dialog, message, w);
}

INT_PTR CALLBACK alarm_setup_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  return form_dialog_message(kAlarmSetup, dialog, message, w);
}

// GPS Port Setup keeps the mask it opens in its own state: OK stores both,
// Cancel neither.
INT_PTR CALLBACK gps_input_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  GpsPortSetup* p = dialog_state<GpsPortSetup>(dialog);
  switch (message) {
    case WM_INITDIALOG:
      p = adopt_dialog_state(dialog, std::make_unique<GpsPortSetup>(gps_port_setup(g_settings)));
      place_over_owner(dialog);
      show_form(dialog, p->form);
      return TRUE;
    case WM_COMMAND:
      if (!p) return FALSE;
      if (LOWORD(w) == IDOK) {
        read_form(dialog, p->form);
        store_gps_port_setup(*p, g_settings);
        settings_changed();
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) return end_without_storing(dialog);
      if (HIWORD(w) != BN_CLICKED) return FALSE;
      if (LOWORD(w) == IDC_GPS_SLAM) {
        read_form(dialog, p->form);
        update_gps_input(p->form);
        show_form(dialog, p->form);
        return TRUE;
      }
      if (LOWORD(w) == IDC_GPS_MASK_BUTTON) {
        read_form(dialog, p->form);
        if (open_mask_dialog(dialog, p) == 1) refresh_form(dialog, p->form);
        return TRUE;
      }
      return FALSE;
    case WM_NCDESTROY: drop_dialog_state<GpsPortSetup>(dialog); return FALSE;
    default: return FALSE;
  }
}

namespace {

// The mask dialog's state: its form and, from GPS Port Setup, that dialog's
// working copy.
struct MaskDialog {
  DialogForm form;
  GpsPortSetup* port = nullptr;
};

}  // namespace

INT_PTR CALLBACK gps_mask_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  MaskDialog* m = dialog_state<MaskDialog>(dialog);
  switch (message) {
    case WM_INITDIALOG: {
      GpsPortSetup* port = reinterpret_cast<GpsPortSetup*>(l);
      DialogForm form = port ? gps_port_mask_form(*port, g_settings) : gps_mask_form(g_settings);
      m = adopt_dialog_state(dialog, std::make_unique<MaskDialog>(MaskDialog{std::move(form), port}));
      place_over_owner(dialog);
      show_form(dialog, m->form);
      return TRUE;
    }
    case WM_COMMAND:
      if (!m) return FALSE;
      if (LOWORD(w) == IDOK) {
        read_form(dialog, m->form);
        if (m->port) {
          show_messages(dialog, store_gps_port_mask(*m->port, m->form));
        } else {
          show_messages(dialog, store_gps_mask(m->form, g_settings));
          settings_changed();
        }
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) return end_without_storing(dialog);
      return FALSE;
    case WM_NCDESTROY: drop_dialog_state<MaskDialog>(dialog); return FALSE;
    default: return FALSE;
  }
}

DLGPROC setup_dialog_procedure(int command) {
  switch (command) {
    case kCommandSurveySetup: return survey_setup_procedure;
    case kCommandSystemSetup: return system_setup_procedure;
    case kCommandGeometrySetup:
      return has_trait(g_variant.instrument_type, Trait::kAlarmSetup) ? alarm_setup_procedure
                                                                      : geometry_setup_procedure;
    case kCommandGpsPortSetup: return gps_input_procedure;
    case kCommandMapOptions: return map_display_options_procedure;
    case kCommandProfilesOptions: return profile_options_procedure;
    default: return setup_shell_dialog_procedure;
  }
}

INT_PTR open_setup_dialog(HWND setup_window, int command) {
  const std::wstring name = setup_dialog_template_name(command);
  if (name.empty()) return -1;
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(setup_window, GWLP_HINSTANCE));
  const INT_PTR result = DialogBoxParamW(instance, name.c_str(), setup_window, setup_dialog_procedure(command), 0);
  InvalidateRect(setup_window, nullptr, TRUE);
  return result;
}

INT_PTR open_gps_mask_dialog(HWND owner) { return open_mask_dialog(owner, nullptr); }

}  // namespace quelor
