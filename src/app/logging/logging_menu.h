#pragma once
// The logging window's popup menu (Menu button, M, F3): the menu resource of
// the instrument and state, and whether it is open for the letter keys.

#include <windows.h>

namespace quelor {

// Opens the popup menu resource of the instrument and state at (190, 120)
// from the main window's origin, tracking the left button; the chosen item
// comes back as WM_COMMAND. The menu is destroyed after use and counts as
// open from then on, until "Hide Menu".
void open_popup_menu(HWND window);

// True once the menu was used, until "Hide Menu".
bool popup_menu_open();
// The survey ended: the next one starts with the arrows and L/R/D on the map.
void reset_popup_menu_use();
// "Hide Menu": the letter keys return to their map meanings; the logging
// window is repainted and, with GPS, the map redrawn.
void forget_popup_menu(HWND window);

// What a command needs before its dialog: "Option avaiable only when
// Instrument is enabled" and its GPS and map forms. True when the command
// may go on.
bool command_requirements_met(HWND window, int command);

}  // namespace quelor
