#pragma once
// The setup window's dialog commands: Survey Setup, System Setup, Geometry
// (or Alarm) Setup, GPS Port Setup, Map Display Options and Profiles Options,
// and the GPS warning mask dialog they share with the logging commands.

#include <windows.h>

#include <string>

namespace quelor {

// The template name the command opens in this program at the current client
// width, as a wide string (empty for a command without dialog).
std::wstring setup_dialog_template_name(int command);

// The procedure of the dialog shells (Map Display Options and Profiles
// Options until they have their own): placed over the owner; OK saves the
// settings file and ends with 1, Cancel ends with 0.
INT_PTR CALLBACK setup_shell_dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);

// One procedure per dialog family. Each fills its controls from the
// settings record on WM_INITDIALOG (lParam unused), keeps its entries
// until OK stores them and saves the settings file (ends with 1); Cancel
// and Escape end with 0 and change nothing. Survey Setup also closes on
// "C" or "c" typed outside an edit field.
INT_PTR CALLBACK survey_setup_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);
INT_PTR CALLBACK system_setup_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);
INT_PTR CALLBACK geometry_setup_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);
INT_PTR CALLBACK alarm_setup_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);
INT_PTR CALLBACK gps_input_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);
INT_PTR CALLBACK gps_mask_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);

// The procedure that serves a command's template in this program.
DLGPROC setup_dialog_procedure(int command);

// Opens the command's dialog modally over the setup window, then invalidates
// the setup window so that the summary is repainted. Returns the dialog's
// result (1 OK, 0 Cancel, -1 when it could not be shown).
INT_PTR open_setup_dialog(HWND setup_window, int command);

// The GPS warning mask dialog "GPSMASK" over `owner` (1 OK, 0 Cancel).
INT_PTR open_gps_mask_dialog(HWND owner);

}  // namespace quelor
