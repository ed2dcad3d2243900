#include "survey/map_fix.h"

#include "map/segment_buffer.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

GridSpec grid_from_settings(const Settings& s, double k) {
  return grid_spec(s.map.lines_interval, s.map.parallel_lines != 0, s.map.lines_angle, k);
}

MapState map_state_from_settings(const Settings& s, int tile_width, int window_width) {
  const long size = std::max(1L, s.map.map_size);
  const double k = pixels_per_unit(tile_width, static_cast<double>(size));
  return make_map_state(tile_width, tile_width, size, grid_from_settings(s, k),
                        cursor_band_width(s.map.cursor_band_index, window_width));
}

MapFixContext map_fix_context(const Settings& s, const DecodeContext& decode, const SurveyRecord& survey,
                              double tilt_inline, double tilt_lateral) {
  MapFixContext c;
  const InstrumentType type = decode.instrument_type;
  c.instrument_type = type;
  c.colour_map_view = decode.mapped_view;
  c.position_size = s.map.position_size;
  c.two_values = two_value_entries(decode);
  c.two_sensors = decode.two_sensors;
  c.manual_em34 = has_trait(type, Trait::kStationReadings) && survey.survey_mode == kModeManual;
  c.position_colours = position_mark_colours(s.map.position_colour, s.trace_colours, c.manual_em34);
  for (int k = 0; k < kFootprintKinds; ++k) {
    const double s_m =
        c.manual_em34 ? survey.manual_gps_y_offsets[static_cast<std::size_t>(k)] : survey.working_gps_y_offset;
    FootprintGeometry g = footprint_geometry(s, type, survey.working_gps_x_offset, s_m);
    g.inline_offset += tilt_inline;
    g.left_half += tilt_lateral;
    g.right_half -= tilt_lateral;
    c.geometry[static_cast<std::size_t>(k)] = g;
  }
  return c;
}

MapFixResult map_fix(LiveMap& live, TileSurface& tiles, const SurveyRecord& survey, const MapFixContext& c,
                     const FixOutcome& fix, bool painting) {
  MapFixResult r;
  if (!fix.usable) return r;
  MapState& m = live.map;
  if (!m.initialised) {
    m.frame.origin_easting = survey.reference_easting;
    m.frame.origin_northing = survey.reference_northing;
  }
  r.positioned = true;
  r.step = map_position(m, tiles, fix.easting, fix.northing);
  const bool logging = survey.state == kStateLogging;
  if (logging && !live.was_logging) painter_reset(live.painter);
  if (c.swath_closings != live.closings_seen) {
    live.closings_seen = c.swath_closings;
    painter_reset(live.painter);
  }
  live.was_logging = logging;
  if (!logging) return r;
  FixPaint p;
  p.antenna = {fix.easting, fix.northing};
  p.paint = painting && r.step.in_grid;
  p.kinds = c.manual_em34 ? kFootprintKinds : 1;
  p.geometry = c.geometry;
  p.colour_map_view = c.colour_map_view;
  for (int kind = 0; kind < p.kinds; ++kind)
    p.rows[static_cast<std::size_t>(kind)] =
        fix.segment_closed ? segment_closed_row(kind_buffer(survey, kind)) : std::span<const int>{};
  // EM34-3 Manual: a spacing's footprint only when one of its readings was written since the previous fix.
  if (c.manual_em34) p.kind_active = survey.kinds_closed;
  p.two_values = c.two_values;
  p.position_size = c.position_size;
  p.position_colours = c.position_colours;
  p.two_sensors = c.two_sensors;
  r.paint = paint_fix(live.painter, m, tiles, p);
  return r;
}

void write_footprint_records(DataFileWriter& writer, const FixPaintResult& paint) {
  if (paint.start_record) writer.write_swath_start();
  for (const auto& [kind, corners] : paint.groups) writer.write_swath_group(kind, corners);
}

}  // namespace quelor
