#pragma once
// What drawing one temporary point file puts into the grid layer: each
// point becomes world pixels of the map frame, as the survey's positions do;
// a point whose tile lies outside columns or rows 3-1996, or whose easting
// is negative, is unusable.
// Separate symbols are drawn at every usable point; joined styles draw
// polylines that a break or an unusable point ends. The counts give the
// operator's messages.

#include <optional>
#include <string>
#include <vector>

#include "background/load_options.h"
#include "background/point_file.h"
#include "datafile/message_box.h"
#include "map/map_geometry.h"

namespace quelor {

struct BackgroundLabel {
  WorldPixel at;  // the text's left end, on the symbol's row
  std::string text;
};

struct BackgroundDrawing {
  BackgroundStyle style;
  int half_size = 1;                           // of the symbols
  std::vector<WorldPixel> symbols;             // separate styles
  std::vector<std::vector<WorldPixel>> lines;  // joined styles, two points or more
  std::vector<WorldPixel> line_starts;         // joined styles: a usable point no line reaches
  std::vector<BackgroundLabel> labels;
  long points = 0;  // records that are not breaks
  long unusable = 0;
};

// The tile of a world pixel lies in columns and rows 3-1996.
bool pixel_in_usable_tiles(WorldPixel p, const MapFrame& frame);

BackgroundDrawing plan_background_drawing(const std::vector<BackgroundPoint>& points, const BackgroundStyle& style,
                                          bool labels, const MapFrame& frame, int base_size = 1);

// After drawing a file just loaded: "FILE ERROR" for a file without records,
// "STOP" when no point is usable, "WARNING" with the totals when some are not.
std::optional<OperatorMessage> drawing_message(const BackgroundDrawing& drawing);

// " %s%d\r\n %s\r\n %s" of "Unexpected error B$", a number, "processing file:"
// and the file's name.
OperatorMessage unexpected_background_error(int number, const std::string& file_name);

}  // namespace quelor
