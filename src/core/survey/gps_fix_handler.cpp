#include "survey/gps_fix_handler.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "gps/fix_texts.h"
#include "gps/gps_settings.h"
#include "gps/survey_zone.h"
#include "gps/units.h"

namespace quelor {

namespace {

constexpr double kSecondsPerDay = 86400.0;

struct SpeedUnit {
  const char* format;
  double from_metres;  // factor from metres per second
  double from_feet;    // factor from feet per second
};
constexpr std::array<SpeedUnit, 4> kSpeedUnits{{
    {"%5.2f m/s", 1.0, 0.3048},
    {"%5.2f ft/s", 3.28084, 1.0},
    {"%5.2f km/h", 3.6, 1.0973},
    {"%5.2f mph", 2.2369, 0.6818},
}};

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

void later_fix(SurveyRecord& s, const FixContext& c, FixOutcome& o) {
  o.distance = std::hypot(o.easting - s.previous_easting, o.northing - s.previous_northing);
  double t = o.fix.time_of_day - s.previous_time_of_day;
  if (t < 0) t += kSecondsPerDay;  // past midnight
  if (t > 0) {
    s.speed = o.distance / t;
    o.speed = s.speed;
  }
  s.previous_time_of_day = o.fix.time_of_day;
  o.speed_text = speed_text(s.speed, c.map_units, c.speed_bar_units);
  o.speed_bar = c.speed_scale_maximum - s.speed;
}

// Map segments: the first fix starts filling the colour-index buffer, every
// later one closes the segment and continues in the other row.
void segment_bookkeeping(SurveyRecord& s, const FixContext& c, FixOutcome& o) {
  ColourIndexBuffer& b = s.colour_index;
  if (s.state != kStateLogging || c.selected_channel == 0) {
    b.filling = false;
    return;
  }
  if (!b.filling) {
    segment_start(b);
    return;
  }
  segment_swap(b);
  o.segment_closed = true;
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
  o.maximum_message = OperatorMessage{
      "INFORMATION",
      "Maximum number of GPS positions reached.\r\nCurrent data file is saved.\r\nPlease press OK and restart the program.",
      DialogTemplate::kOk};
}

}  // namespace

FixContext fix_context_from_settings(const Settings& s, int instrument_type) {
  FixContext c;
  c.format = format_table_from_settings(s);
  c.options = fix_options_from_settings(s, instrument_type);
  c.warning = warning_limits_from_settings(s);
  c.map_units = s.map_units;
  c.coordinates_display = s.coordinates_display;
  c.speed_bar_units = s.speed_bar_units;
  c.speed_scale_maximum = s.speed_scale_maximum;
  c.warning_sound = s.gps_audio_warning != 0;
  c.instrument_used = s.instrument_state >= 1;
  c.selected_channel = s.colour_map_view;
  return c;
}

std::string speed_text(double speed, int map_units, int speed_bar_units) {
  const std::size_t unit =
      speed_bar_units >= 0 && speed_bar_units < static_cast<int>(kSpeedUnits.size()) ? speed_bar_units : 0;
  const SpeedUnit& u = kSpeedUnits[unit];
  const double factor = map_units == kUnitMetres ? u.from_metres : u.from_feet;
  char text[48];
  std::snprintf(text, sizeof text, u.format, speed * factor);
  return text;
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
    later_fix(s, c, o);
  s.previous_easting = o.easting;
  s.previous_northing = o.northing;
  o.cursor_x = o.easting - s.reference_easting;
  o.cursor_y = o.northing - s.reference_northing;
  segment_bookkeeping(s, c, o);
  count_position(s, c, o);
  return o;
}

}  // namespace quelor
