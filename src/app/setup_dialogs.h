#pragma once
// The setup window's dialog commands: Survey Setup, System Setup, Geometry
// (or Alarm) Setup, GPS Port Setup, Map Display Options and Profiles Options.

#include <windows.h>

#include <string>

namespace quelor {

// The template name the command opens in this program at the current client
// width, as a wide string (empty for a command without dialog).
std::wstring setup_dialog_template_name(int command);

// The procedure of the dialog shells: placed centred over the owner a tenth of
// its height from its top; OK saves the settings file and ends with 1,
// Cancel ends with 0.
INT_PTR CALLBACK setup_shell_dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);

// Opens the command's dialog modally over the setup window, then invalidates
// the setup window so that the summary is repainted. Returns the dialog's
// result (1 OK, 0 Cancel, -1 when it could not be shown).
INT_PTR open_setup_dialog(HWND setup_window, int command);

}  // namespace quelor
