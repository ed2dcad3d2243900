#include "app/background/background_drawing.h"

#include <windows.h>

#include "app/logging/logging_session.h"

namespace quelor {

void draw_new_background_file(const BackgroundDrawing&) {
  if (HWND map = logging_session().children.map) InvalidateRect(map, nullptr, TRUE);
}

void redraw_whole_map_for_background() {
  if (HWND map = logging_session().children.map) InvalidateRect(map, nullptr, TRUE);
}

}  // namespace quelor
