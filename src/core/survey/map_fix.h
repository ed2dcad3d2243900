#pragma once
// The map's part of the GPS-fix handler: the map origin at the first fix,
// the position update of the view, the footprint painter while logging (reset
// when logging starts), and the swath records for the data-file writer.

#include <array>
#include <cstdint>

#include "datafile/writer.h"
#include "map/map_painter.h"
#include "reading/decode_context.h"
#include "settings/settings.h"
#include "survey/gps_fix_handler.h"
#include "variant/variant.h"

namespace quelor {

struct LiveMap {
  MapState map;
  PainterState painter;
  bool was_logging = false;
  std::uint32_t closings_seen = 0;  // the file's swath-closing records the painter has followed
};

// Map state for a tile size from the settings: map size, grid, cursor band.
MapState map_state_from_settings(const Settings& s, int tile_width, int window_width);

// The grid of the settings at the map's scale.
GridSpec grid_from_settings(const Settings& s, double pixels_per_unit);

// What the painter needs from the settings and the survey record.
struct MapFixContext {
  InstrumentType instrument_type = kEm31Mk2;
  int colour_map_view = 0;
  int position_size = 4;
  KindColours position_colours{};  // position_mark_colours
  bool two_values = false;
  bool two_sensors = false;
  bool manual_em34 = false;  // three separations
  std::array<FootprintGeometry, kFootprintKinds> geometry{};
  // Swath-closing records written to the data file so far
  // (DataFileWriter::swath_closings): a new one restarts the footprint, as
  // the re-plot closes its swath there (a GPS break, a pause, a line block,
  // a new station).
  std::uint32_t swath_closings = 0;
};

// The mapped view and the packing of two values come from the readings'
// decode context, so the painter draws what the handlers put in the buffer.
// `tilt_inline` and `tilt_lateral` are added to the in-line offset and the
// half-widths (map units).
MapFixContext map_fix_context(const Settings& s, const DecodeContext& decode, const SurveyRecord& survey,
                              double tilt_inline = 0.0, double tilt_lateral = 0.0);

struct MapFixResult {
  PositionStep step;
  FixPaintResult paint;
  bool positioned = false;  // the fix was usable and reached the map
};

// After handle_gps_fix. `painting` is false in map review or while a command
// runs: the footprint records are computed all the same.
MapFixResult map_fix(LiveMap& live, TileSurface& tiles, const SurveyRecord& survey, const MapFixContext& c,
                     const FixOutcome& fix, bool painting);

// Writes the footprint start record and each four-record group, one call each.
void write_footprint_records(DataFileWriter& writer, const FixPaintResult& paint);

}  // namespace quelor
