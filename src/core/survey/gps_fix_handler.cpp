#include "survey/gps_fix_handler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "gps/fix_texts.h"
#include "survey/gsa_dilution.h"
#include "gps/gps_settings.h"
#include "gps/survey_zone.h"
#include "gps/units.h"

namespace quelor {

namespace {

constexpr double kSecondsPerDay = 86400.0;

// 8-bit (Latin-1) text: the degree sign of the geodetic read-outs stays 0xB0.
std::string narrow(std::wstring_view w) {
  std::string s;
  for (wchar_t c : w) s += c < 256 ? static_cast<char>(c) : '?';
  return s;
}

std::string format_int(const char* format, int v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

bool grid_shown(const FixContext& c) { return c.coordinates_display > 0 || c.format.format > kFormatGgk; }

FixTexts fix_texts(const FixOutcome& o, const FixContext& c, std::string_view sentence,
                   const std::string& easting_readout, const std::string& northing_readout) {
  FixTexts t;
  const GpsFix& f = o.fix;
  const GpsFixTexts shown = fix_display_texts(f, sentence);
  t.satellites = shown.satellites_shown.empty() ? format_int("%d", f.satellites) : narrow(shown.satellites_shown);
  t.quality = std::string(f.quality_label);
  t.dilution = narrow(shown.dilution);
  if (f.dilution_place.shown)
    t.dilution_cell = dilution_field_text(
        sentence.substr(std::min<std::size_t>(f.dilution_place.begin, sentence.size()), f.dilution_place.size));
  const bool grid = grid_shown(c);
  t.first_label = grid ? "E:" : "Lon:";
  t.second_label = grid ? "N:" : "Lat:";
  if (!o.usable) {
    t.first = t.second = narrow(kInvalidPositionText);
    return t;
  }
  if (grid) {
    t.first = easting_readout;
    t.second = northing_readout;
    if (f.geographic) t.zone = format_int("%-2d", f.zone);
  } else {
    t.first = narrow(shown.longitude);
    t.second = narrow(shown.latitude);
  }
  return t;
}

void first_fix(SurveyRecord& s, FixOutcome& o) {
  s.first_fix_done = true;
  s.reference_easting = o.easting;
  s.reference_northing = o.northing;
  s.reference_latitude = o.fix.latitude;
  s.reference_longitude = o.fix.longitude;
  s.reference_zone = o.fix.zone;
  s.previous_time_of_day = o.fix.time_of_day;
  o.first_fix = true;
}

void later_fix(SurveyRecord& s, FixOutcome& o) {
  o.distance = std::hypot(o.easting - s.previous_easting, o.northing - s.previous_northing);
  const double t = seconds_between_fixes(s.previous_time_of_day, o.fix.time_of_day);
  if (t > 0) {
    s.speed = o.distance / t;
    o.speed = s.speed;
  }
  s.previous_time_of_day = o.fix.time_of_day;
}

// Map segments: the first fix starts filling the colour-index buffer, every
// later one closes the segment and continues in the other row.
// Each footprint kind (the EM34-3 Manual spacings) has its own buffer.
void segment_bookkeeping(SurveyRecord& s, const FixContext& c, FixOutcome& o) {
  s.kinds_closed = s.kind_readings;
  s.kind_readings = {};
  const bool mapping = s.state == kStateLogging && c.selected_channel != 0;
  const bool closing = mapping && s.colour_index.filling;
  for (int kind = 0; kind < 3; ++kind) {
    ColourIndexBuffer& b = kind_buffer(s, kind);
    if (!mapping)
      b.filling = false;
    else if (closing)
      segment_swap(b);
    else
      segment_start(b);
  }
  o.segment_closed = closing;
}

void count_position(SurveyRecord& s, const FixContext& c, FixOutcome& o) {
  const bool connected = !c.instrument_used || !s.connection_lost;
  if (s.state != kStateLogging || !connected || s.survey_mode == kModeManual) return;
  ++s.gps_position_count;
  o.counted = true;
  o.position_count_text = format_int("%5d", s.gps_position_count);
  if (s.gps_position_count < kMaxGpsPositions) return;
  o.maximum_reached = true;
  s.state = kStateMonitoring;
  o.maximum_message = OperatorMessage{"INFORMATION",
                                      "Maximum number of GPS positions reached.\r\nCurrent data file is "
                                      "saved.\r\nPlease press OK and restart the program.",
                                      DialogTemplate::kOk};
}

}  // namespace

FixContext fix_context_from_settings(const Settings& s, InstrumentType instrument_type) {
  FixContext c;
  c.format = format_table_from_settings(s);
  c.options = fix_options_from_settings(s, instrument_type);
  c.warning = warning_limits_from_settings(s);
  c.map_units = s.map_units;
  c.coordinates_display = s.coordinates_display;
  c.warning_sound = s.gps_audio_warning != 0;
  c.instrument_used = s.instrument_state >= 1;
  c.selected_channel = s.colour_map_view;
  return c;
}

double seconds_between_fixes(double previous_time_of_day, double time_of_day) {
  const double t = time_of_day - previous_time_of_day;
  return t < 0 ? t + kSecondsPerDay : t;  // past midnight
}

FixOutcome handle_gps_fix(SurveyRecord& s, const FixContext& c, std::string_view sentence) {
  FixOutcome o;
  o.fix = parse_gps_fix(sentence, c.format, c.options);
  o.usable = o.fix.valid != 0;
  std::string easting_readout, northing_readout;
  if (o.usable) {
    if (o.fix.geographic) project_fix(s.zone, o.fix);
    const int display = c.coordinates_display > 0 ? c.coordinates_display : kDisplayMetres;
    easting_readout = grid_readout_text(o.fix.easting, display);
    northing_readout = grid_readout_text(o.fix.northing, display);
    const bool rts = !o.fix.geographic;
    o.easting = rts ? rts_metres_to_working_unit(o.fix.easting, c.map_units)
                    : metres_to_working_unit(o.fix.easting, c.map_units);
    o.northing = rts ? rts_metres_to_working_unit(o.fix.northing, c.map_units)
                     : metres_to_working_unit(o.fix.northing, c.map_units);
  }
  o.fix_good = gps_fix_is_good(o.fix, c.format.format, c.warning);
  o.warning_sound = gps_warning_sound_due(o.fix_good, c.warning_sound, c.connection_broken);
  o.texts = fix_texts(o, c, sentence, easting_readout, northing_readout);
  if (!o.usable) {
    count_position(s, c, o);  // the count covers every position sentence while logging
    return o;
  }
  if (!s.first_fix_done)
    first_fix(s, o);
  else
    later_fix(s, o);
  s.previous_easting = o.easting;
  s.previous_northing = o.northing;
  o.cursor_x = o.easting - s.reference_easting;
  o.cursor_y = o.northing - s.reference_northing;
  segment_bookkeeping(s, c, o);
  count_position(s, c, o);
  return o;
}

}  // namespace quelor
