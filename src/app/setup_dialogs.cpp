#include "app/setup_dialogs.h"

#include "app/app_state.h"
#include "platform/win32/win32_file_system.h"
#include "settings/settings_file.h"
#include "settings/value_text.h"
#include "shell/setup_dialog_templates.h"

namespace quelor {

namespace {

// Centred horizontally over the owner, a tenth of its height from its top.
void place_over_owner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (!owner) return;
  RECT o, d;
  GetWindowRect(owner, &o);
  GetWindowRect(dialog, &d);
  const int x = o.left + ((o.right - o.left) - (d.right - d.left)) / 2;
  const int y = o.top + (o.bottom - o.top) / 10;
  SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void save_settings() {
  Win32FileSystem fs;
  settings_file_operation(kSaveSettings, g_settings, g_variant, fs);
}

}  // namespace

std::wstring setup_dialog_template_name(int command) {
  return widen_text(setup_dialog_template(command, g_variant, g_screen.client_width));
}

INT_PTR CALLBACK setup_shell_dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      place_over_owner(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        save_settings();
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

INT_PTR open_setup_dialog(HWND setup_window, int command) {
  const std::wstring name = setup_dialog_template_name(command);
  if (name.empty()) return -1;
  const HINSTANCE instance =
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(setup_window, GWLP_HINSTANCE));
  const INT_PTR result =
      DialogBoxParamW(instance, name.c_str(), setup_window, setup_shell_dialog_procedure, 0);
  InvalidateRect(setup_window, nullptr, TRUE);
  return result;
}

}  // namespace quelor
