#pragma once
// ColorBarWnd: the colour bar (or two) of the colour map with its labels.

#include <windows.h>

namespace quelor {

void paint_colour_bar(HDC dc, const RECT& client);

}  // namespace quelor
