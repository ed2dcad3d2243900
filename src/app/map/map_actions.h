#pragma once
// The map commands of the logging window: Map Size (110), Map Display
// Options (111), pan, zoom, fit and review (113-121); and the dialog
// procedure of "Map Display Options", shared with the setup window.

#include <windows.h>

namespace quelor {

void map_size_action(HWND window, int code);
void map_display_options_action(HWND window, int code);
// 113-121: Lf, Rt, Up, Dn, Zm+, Zm-, Fit All, Enter Review, Exit Review.
void map_view_action(HWND window, int code);

INT_PTR CALLBACK map_display_options_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l);

}  // namespace quelor
