#pragma once
// The painted status area of the logging window: state and file labels,
// pause hint, line and station, GPS block, totals, speed row, instrument
// block, scale labels and frames; the dilution update and the
// lost-connection notice drawn between paints.

#include <windows.h>

#include <string>

#include "app/logging/logging_layout.h"
#include "survey/status_texts.h"

namespace quelor {

// The texts the status area shows now.
StatusTexts current_status_texts();

// The heights of the status blocks and the pause hint into the layout's input.
void measure_status_blocks(HWND window, LayoutInput& in);

// WM_PAINT of the logging window.
LRESULT status_paint_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// WM_GPS_GSA: the dilution of the last GSA sentence into its cell.
LRESULT gsa_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// "Lost", "Connection,", "trying" over the profile window.
void draw_lost_connection_notice(HWND window);

// The keys go to the logging window again after painting and after the
// notice, unless a dialog or another program holds the focus.
void give_focus_to_logging_window(HWND window);

// Measures the status cells in the text font (at the start of a survey).
void lay_out_status_cells(HWND window);

// The status area's value cells are redrawn (after a reading or a fix).
void invalidate_status_area(HWND window);

// The state label of the top row ("Logging (Manual)"...).
void invalidate_state_label(HWND window);

}  // namespace quelor
