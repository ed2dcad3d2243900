#pragma once
// Background files in the map's grid layer: a file just loaded, and the
// whole-map redraw after files were removed.

#include "background/draw_plan.h"

namespace quelor {

void draw_new_background_file(const BackgroundDrawing& drawing);
void redraw_whole_map_for_background();

}  // namespace quelor
