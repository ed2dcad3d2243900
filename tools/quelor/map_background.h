#pragma once
// `quelor map --background FILE[,options]`: background files converted and
// drawn into the grid layer of the re-plotted map, as the program does
// (see background/option_text.h for the options).

#include <string>
#include <vector>

#include "background/tile_drawing.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor::tool {

struct MapBackgroundFile {
  std::string file;
  long points = 0;
  long unusable = 0;
  std::string message;  // "WARNING" / "STOP" text of the load, or empty
};

struct MapBackgrounds {
  BackgroundLayer layer;
  std::vector<MapBackgroundFile> files;
  std::string error;  // a file refused: nothing is drawn
};

// Each request in order, converted in the survey's zone and map unit and
// planned for the map's frame.
MapBackgrounds load_map_backgrounds(const std::vector<std::string>& requests, const Variant& variant,
                                    const Settings& settings, int zone, const MapFrame& frame);

// Draws the files into the grid tiles made so far and into every one made
// later (the tiles must outlive the backgrounds' use).
void install_map_backgrounds(const MapBackgrounds& backgrounds, TileSurface& tiles);

// The JSON array of the files: name, points, invalid points, message.
std::string map_backgrounds_json(const MapBackgrounds& backgrounds);

}  // namespace quelor::tool
