#pragma once
// Background files in the live map's grid layer: drawn into every grid tile
// the map makes or redraws (the tiles' grid decoration), a file just loaded
// into the tiles already made, and the whole-map redraw after a removal.

#include "background/draw_plan.h"
#include "map/tile_store.h"

namespace quelor {

// A new survey's tiles get the background decoration: the files loaded in
// an earlier survey stay loaded and are drawn in the new survey's frame.
void reset_background_layer(TileSurface& tiles);

// The live map's frame (origin, scale, tile size).
MapFrame live_background_frame();

// The loaded files' point files changed (converted again, or removed): the
// layer is planned afresh before its next tile.
void background_table_changed();

void draw_new_background_file(const BackgroundDrawing& drawing);
void redraw_whole_map_for_background();

}  // namespace quelor
