#pragma once
// The setup screen's "Geometry Setup" sketch: the instrument seen from above,
// travelling up the screen, with the GPS antenna at its offsets.

#include <windows.h>

namespace quelor {

// Draws the heading and the sketch of the current instrument family scaled
// into `area`; nothing when the area is too small to hold it.
void paint_geometry_sketch(HDC dc, const RECT& area);

}  // namespace quelor
