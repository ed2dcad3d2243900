#pragma once
// What drawing one temporary point file puts into the grid layer: each
// point becomes world pixels of the map frame; a point whose tile lies
// outside columns or rows 3-1996, or whose easting is negative, is unusable.
// Separate symbols are drawn at every usable point; joined styles draw
// polylines that a break or an unusable point ends. The counts give the
// operator's messages.

#include <optional>
#include <string>
#include <vector>

#include "background/load_options.h"
#include "background/point_file.h"
#include "datafile/append_scan.h"
#include "datafile/message_box.h"

namespace quelor {

inline constexpr int kFirstUsableTile = 3;
inline constexpr int kLastUsableTile = 1996;

struct PlanPixel {
  long x = 0;  // grows to the east
  long y = 0;  // grows to the north
  friend bool operator==(const PlanPixel&, const PlanPixel&) = default;
};

struct BackgroundLabel {
  PlanPixel at;      // the text's left end, on the symbol's row
  std::string text;
};

struct BackgroundDrawing {
  BackgroundStyle style;
  int half_size = 1;                          // of the symbols
  std::vector<PlanPixel> symbols;            // separate styles
  std::vector<std::vector<PlanPixel>> lines; // joined styles, two points or more
  std::vector<PlanPixel> line_starts;        // joined styles: a usable point no line reaches
  std::vector<BackgroundLabel> labels;
  long points = 0;    // records that are not breaks
  long unusable = 0;
};

// px = int((E - E0) k + 0.5), int truncating toward zero.
PlanPixel plan_pixel(double easting, double northing, const MapFrame& frame);

// The tile of a world pixel lies in columns and rows 3-1996.
bool pixel_in_usable_tiles(PlanPixel p, const MapFrame& frame);

BackgroundDrawing plan_background_drawing(const std::vector<BackgroundPoint>& points, const BackgroundStyle& style,
                                          bool labels, const MapFrame& frame, int base_size = 1);

// After drawing a file just loaded: "FILE ERROR" for a file without records,
// "STOP" when no point is usable, "WARNING" with the totals when some are not.
std::optional<OperatorMessage> drawing_message(const BackgroundDrawing& drawing);

// " %s%d\r\n %s\r\n %s" of "Unexpected error B$", a number, "processing file:"
// and the file's name.
OperatorMessage unexpected_background_error(int number, const std::string& file_name);

}  // namespace quelor
