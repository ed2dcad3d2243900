#pragma once
// The program's live map: the core's map state and painter over the GDI
// tiles of MapWnd, fed by the GPS-fix handler, drawn on WM_PAINT, redrawn
// whole from the data file after a change of scale or options.

#include <windows.h>
#undef MessageBox  // the survey code's MessageBox, not the Win32 macro

#include "survey/map_fix.h"

namespace quelor {

// At the start of a survey: every tile freed, the state from the settings
// and the map window's size.
void reset_live_map();

// After handle_gps_fix: the map position, the painter and the swath records.
void live_map_fix(const FixOutcome& fix);

// WM_PAINT of MapWnd: the four tiles of the shown view (grid copied, data
// ANDed), the cursor; "Waiting for ..." before the first position.
void paint_live_map(HDC dc, const RECT& client);

// The whole-map redraw: "Please Wait", the grid recomputed, every tile
// redrawn, the survey re-plotted from its data file.
void redraw_whole_map();

// After a command: the strips of the fixes that came while it ran (their
// records are in the data file) are drawn by a whole-map redraw.
void catch_up_live_map();

// The map state (review, scale) for the commands.
LiveMap& live_map_state();
TileSurface* live_map_tiles();

}  // namespace quelor
