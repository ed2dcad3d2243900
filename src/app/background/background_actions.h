#pragma once
// The logging window's background-file commands ("Enter Background Files",
// "Remove Background Files") and "Alarm Settings", and the table of loaded
// background files of the running program.

#include <windows.h>
#undef MessageBox  // the survey code's MessageBox, not the Win32 macro

#include "background/file_table.h"
#include "background/loader.h"

namespace quelor {

void enter_background_action(HWND window, int code);
void remove_background_action(HWND window, int code);
void alarm_settings_action(HWND window, int code);

// The files loaded in this run (window thread only).
BackgroundFileTable& background_files();

// The map's frame as the background files are drawn in it.
MapFrame background_map_frame();

// What the running survey's point files are converted for: its map unit,
// UTM zone and RTS units.
BackgroundSurvey current_background_survey();

// At a survey's first position: the files kept from an earlier survey of
// another map unit or zone are converted again (or, their source gone,
// removed with a box over `window`).
void refresh_background_files(HWND window);

// Removes every loaded file and its temporary file (end of a survey).
void forget_background_files();

// The open dialog's filter for a type: name, NUL, patterns, NUL, NUL.
std::wstring background_open_filter_text(int file_type);

}  // namespace quelor
