#pragma once
// The scan of a continued data file: the map extent from the swath outline
// records and the number of GPS positions already logged.

#include <functional>
#include <string_view>

#include "datafile/message_box.h"
#include "io/clock.h"

namespace quelor {

// The map's frame: origin (map units), pixels per map unit, tile size in
// pixels (the map window's size).
struct MapFrame {
  double origin_easting = 0.0;
  double origin_northing = 0.0;
  double pixels_per_unit = 1.0;
  int tile_width = 500;
  int tile_height = 500;
};

struct MapExtent {
  double min_easting = 0.0, max_easting = 0.0;
  double min_northing = 0.0, max_northing = 0.0;
};

inline constexpr long kMaximumGpsPositions = 28800;
inline constexpr int kMapTiles = 2000;

struct ScanResult {
  bool ok = false;
  bool must_exit = false;  // the file holds the maximum number of positions
  long positions = 0;      // one per 'd' and 'h' swath record
  MapExtent extent;
  OperatorMessage message;  // "INFORMATION" total, or the reason of the failure
};

// Tile column and row of a world pixel (the tile grid centred on 1000, 1000).
int tile_column(long px, int tile_width);
int tile_row(long py, int tile_height);

// Reads `file` record by record (L bytes) until a short record. `busy` is
// called every 750 ms of scanning when a clock is given.
ScanResult scan_appended_file(std::string_view file, int record_length, const MapFrame& frame, Clock* clock = nullptr,
                              const std::function<void()>& busy = {});

}  // namespace quelor
