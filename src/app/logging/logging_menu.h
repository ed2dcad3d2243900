#pragma once
// The logging window's popup menu (Menu button, M, F3) and the commands
// whose dialogs live elsewhere: their requirements are checked here.

#include <windows.h>

#include <span>

namespace quelor {

struct MenuItem {
  int id;             // 501..521
  const wchar_t* text;
  bool stand_by_only; // only in the Stand By and Logging menus
};

// The items of the popup menu of an instrument in a state, in menu order.
std::span<const MenuItem> popup_menu_items();
bool menu_item_shown(const MenuItem& item, int instrument_type, int state);

// Opens the popup menu at (190, 120) from the main window's origin; the
// chosen item comes back as WM_COMMAND. Marks the menu as open.
void open_popup_menu(HWND window);

// True once the menu was used, until "Hide Menu".
bool popup_menu_open();
void forget_popup_menu(HWND window);

// What the commands need before their dialog: "Option avaiable only when
// Instrument is enabled" and its GPS and map forms. True when the command
// may go on.
bool command_requirements_met(HWND window, int command);

}  // namespace quelor
