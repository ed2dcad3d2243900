#pragma once
// The main (setup) window: creation, and its create, size and destroy
// handlers.

#include <windows.h>

namespace quelor {

// Created with the variant's program name as title, sized and placed from the
// screen; nullptr when the variant is outside the table or creation fails.
HWND create_main_window(HINSTANCE instance, int show_command);

LRESULT main_create_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT main_size_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT main_destroy_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// Moves the ten buttons to the layout of the current client size.
void lay_out_setup_buttons();

}  // namespace quelor
