#pragma once
// The logging window's commands with dialogs of their own: New Line, New
// Station, Comment (each writes to the data file), Audio Options and
// Coordinates Display Units, and Toggle View.

#include <windows.h>

namespace quelor {

void new_line_action(HWND window, int code);
void new_station_action(HWND window, int code);
void comment_action(HWND window, int code);
void audio_options_action(HWND window, int code);
void coordinates_units_action(HWND window, int code);
void toggle_view_action(HWND window, int code);

// A new line or station ends the swath being painted: the next fix starts a
// new one, as the re-plot of the data file does at 'L' and 'S' records.
void restart_footprint();

}  // namespace quelor
