#pragma once
// Plain painters of the logging window's display children: profile, decay,
// bars, numbers, speed bar, map (frame and cursor) and colour bar.

#include <windows.h>

#include <string>
#include <vector>

namespace quelor {

LRESULT curve_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT decay_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT bar_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT numbers_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT speed_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT map_window_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT colour_bar_window_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// The lines of a running procedure in the logging window's own DC, where
// the map was, while the calibration keeps the GPS windows hidden.
void paint_procedure_message(HDC dc);

// Selects into `dc` the one font of the numbers window's rows: the value
// font when every row fits the window's client area in it, else the text
// font, else the text font narrowed until the widest row fits (Wine's
// substitute fonts run wider). False when even a narrowed font leaves a row
// wider than the window.
bool select_numbers_font(HDC dc, const std::vector<std::string>& rows, const RECT& client);

// Fraction 0..1 of a value within a scale (clamped; 0 for an empty scale).
double scale_fraction(double value, double minimum, double maximum);

// Pixel of a map coordinate (map units from the origin) in a window of
// `size` pixels showing `map_size` map units, the origin at its centre;
// y grows northwards.
POINT map_pixel(double x, double y, double map_size, SIZE size);

// Redraws the reading displays after a reading.
void invalidate_reading_displays();

}  // namespace quelor
