#pragma once
// The display dialogs of the logging window ("Readings Scale", "Set New
// Speed Bar Scale", profile display options) and the procedure the setup
// window's Profiles Options command opens too.

#include <windows.h>

namespace quelor {

void readings_scale_action(HWND window, int code);
void speed_scale_action(HWND window, int code);
void profile_options_action(HWND window, int code);

// The profile display options on the settings record; saves the settings on OK.
INT_PTR CALLBACK profile_options_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);

}  // namespace quelor
