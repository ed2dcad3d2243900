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

// Shows the zoom, fit and Exit Review buttons in map review; outside it the
// map buttons stay hidden as the layout leaves them (their row lies over the
// speed bar; keys L, R, P, D and I work without them).
void show_review_buttons(bool review);

}  // namespace quelor
