// Program entry: register the window classes, create the setup window, run
// the message loop.
#include <windows.h>

#include "app/main_window.h"
#include "app/window_classes.h"

#ifndef QUELOR_NO_WINMAIN
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  const int registration = quelor::register_window_classes(instance);
  if (registration != 0) return registration;
  if (!quelor::create_main_window(instance, show_command)) return 16;
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
#endif
