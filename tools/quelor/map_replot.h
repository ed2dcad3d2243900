#pragma once
// The re-plot of a survey data file on software tiles, as the program's
// whole-map redraw does it: shared by `quelor map` (a PNG of the touched
// tiles) and `quelor report` (the coverage map).

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "background/replot.h"
#include "background/survey_file.h"
#include "map/grid.h"
#include "map/raster_tiles.h"
#include "map_background.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor::tool {

struct ReplotFrame {
  int tile = 400;
  bool grid_lines = true;
  std::vector<std::string> backgrounds;  // --background requests, in order
};

struct MapReplot {
  std::unique_ptr<RasterTiles> tiles;
  std::unique_ptr<MapBackgrounds> backgrounds;  // drawn by the tiles: kept as long as they are
  MapOrigin origin;
  GridSpec grid;  // the grid the tiles are made with
  double pixels_per_unit = 0.0;
  TileRange range;
  ReplotCounts counts;
  int width = 0, height = 0;  // of the touched tiles' image
  double west = 0.0;          // its top-left corner, map units
  double north = 0.0;
  std::string error;  // not empty: no re-plot
};

// Reads a program's settings file into `s`; the error, or empty.
std::string load_settings_file(const std::string& path, Settings& s, const Variant& v);

// The limits of the mapped component: scale 1, or scale 2 for the views
// that map the second component.
void set_mapped_scale(Settings& s, InstrumentType instrument_type, double minimum, double maximum);

// The scale the colour map of the current view uses.
std::pair<double, double> mapped_scale(const Settings& s, InstrumentType instrument_type);

// A file's bytes, or its path when the caller has let them go: it is then
// read again when its turn comes, its first `size` bytes drawn (refused when
// it has become shorter).
struct ReplotInput {
  std::string_view bytes;
  SurveyFileInfo info;
  std::string path;      // with `bytes` empty
  std::size_t size = 0;  // of the bytes read before
};

// `s`: the settings the re-plot draws with (map size, scale, view, grid).
// Several files go on one map whose origin is the first file's first position.
MapReplot replot_data_files(std::span<const ReplotInput> files, const Settings& s, const ReplotFrame& f);

// Makes the tiles of row `ty` in the re-plot's rectangle that no strip
// touched, with their grid and backgrounds, so the whole image has them.
void make_row_tiles(const MapReplot& r, int ty);

}  // namespace quelor::tool
