#pragma once
// The setup screen's "CURRENT PROGRAM SETTINGS" block.

#include <windows.h>

namespace quelor {

// Draws the block in `area` (title, "SURVEY PARAMETERS", "SYSTEM SETUP" and
// the rows of the current instrument, labels and values in the text font, one
// line height apart) and returns the rectangle it took.
RECT paint_settings_summary(HDC dc, const RECT& area);

// The width and height the block takes, without drawing it.
SIZE measure_settings_summary(HDC dc);

}  // namespace quelor
