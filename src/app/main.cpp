// Program entry: register the window classes, create the setup window, run
// the message loop.
#include <windows.h>

#include "app/main_window.h"
#include "app/window_classes.h"

#ifndef QUELOR_NO_WINMAIN
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  const int registration = quelor::register_window_classes(instance);
  if (registration != 0) return registration;
  MSG msg{};
  // A main window that destroyed itself while being created (a child window
  // could not be made) has posted its quit: the loop ends on it normally.
  if (!quelor::create_main_window(instance, show_command) &&
      !PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
    return 16;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
#endif
