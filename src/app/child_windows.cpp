#include "app/child_windows.h"

#include "platform/win32/device_context.h"

namespace quelor {

namespace {

void begin_and_end_paint(HWND window) { PaintDc paint(window); }

}  // namespace

LRESULT create_returns_zero(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT map_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  begin_and_end_paint(window);
  return 0;
}

LRESULT profile_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  begin_and_end_paint(window);
  return 0;
}

LRESULT colour_bar_paint_handler(HWND window, UINT, WPARAM, LPARAM) {
  begin_and_end_paint(window);
  return 0;
}

}  // namespace quelor
