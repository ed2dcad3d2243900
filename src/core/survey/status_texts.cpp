#include "survey/status_texts.h"

#include <cstdio>

#include "display/speed_bar.h"
#include "procedures/em38_4_values.h"
#include "survey/palette.h"
#include "survey/survey_state.h"
#include "variant/variant.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr std::array<const char*, 3> kLostLines{"Lost", "Connection,", "trying"};
constexpr std::array<const char*, 3> kMapSizeFormats{"Map Size:%5ld m", "Map Size:%5ld ft", "Map Size:%5ld US-ft"};
constexpr int kFileSpaces = 24;

std::string format_double(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

std::string format_int(const char* format, int v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

std::string dipole_row(int dipole_mode) { return dipole_mode ? "Dipole: Horiz." : "Dipole: Vertical"; }

std::vector<std::string> em31_rows(const Settings& s) {
  constexpr std::array<const char*, 3> kComponents{"Component: Both", "Component: Inph.", "Component: Conductivity"};
  const int c = s.component >= 0 && s.component <= 2 ? s.component : 0;
  return {"Selected for file :", dipole_row(s.dipole_mode), kComponents[static_cast<std::size_t>(c)]};
}

std::vector<std::string> em34_rows(const Settings& s, int coil_spacing_m, char coil_letter) {
  if (s.survey_mode == kModeManual) return {"Survey: Manual", format_int("%4d  Readings", s.dipole_mode + 1)};
  return {"Selected for file :", coil_letter == 'H' ? "Dipole: Horiz." : "Dipole: Vertical",
          format_int("Sep: %5d m", coil_spacing_m)};
}

}  // namespace

std::string map_size_text(long map_size, int map_units) {
  const std::size_t unit = map_units >= 0 && map_units <= 2 ? static_cast<std::size_t>(map_units) : 0;
  char text[48];
  std::snprintf(text, sizeof text, kMapSizeFormats[unit], map_size);
  return text;
}

const std::array<const char*, 3>& lost_connection_lines() { return kLostLines; }

std::string dilution_label(int gps_sentence, bool slam) {
  if (gps_sentence == 1) return "HDOP:";
  if (gps_sentence == 3 || gps_sentence == 4) return "GDOP:";
  if (gps_sentence == 7 && slam) return "SLAM Conf.:";
  return "PDOP:";
}

ScaleLabels conductivity_scale_labels(InstrumentType instrument_type, double minimum, double maximum) {
  const InstrumentRow* row = find_instrument(instrument_type);
  const std::string format(row ? row->scale_format : "%0.0fmS/m");
  return {format_double(format.c_str(), maximum), format_double(format.c_str(), minimum)};
}

ScaleLabels inphase_scale_labels(InstrumentType instrument_type, int em38_4_inphase_units, double minimum,
                                 double maximum) {
  const char* format =
      has_trait(instrument_type, Trait::kInphaseUnits) && em38_4_inphase_units == 1 ? "%0.0fmS/m" : "%0.0fppt";
  return {format_double(format, maximum), format_double(format, minimum)};
}

std::vector<std::string> instrument_block_rows(const Settings& s, InstrumentType type, bool instrument_used,
                                               int coil_spacing_m, char coil_letter, bool narrow_panel) {
  if (!instrument_used) return {"Instrument", "Disabled", "GXY Mode"};
  switch (type) {
    case kEm31Mk2: return em31_rows(s);
    case kEm38:
      return {"Selected for file :", dipole_row(s.dipole_mode), s.component ? "Comp.: Inph." : "Comp.: Cond."};
    case kEm34_3: return em34_rows(s, coil_spacing_m, coil_letter);
    case kEm38Mk2: return {"Selected for file :", dipole_row(s.dipole_mode)};
    case kEm61Mk2: return {"Mode: ", "Battery: ", "Current: "};
    case kEm61Lx2:
      return narrow_panel ? std::vector<std::string>{"B:", "T:"} : std::vector<std::string>{"Battery: ", "Current: "};
    default: return {};
  }
}

GpsBlockTexts gps_block_texts(const Settings& s, const SurveyRecord& survey, bool slam) {
  GpsBlockTexts g;
  if (s.gps_enabled != 1) {
    g.disabled = true;
    return g;
  }
  g.positions_label = "Positions: ";
  g.positions = format_int("%-6d", survey.gps_position_count);
  g.dilution_label = dilution_label(s.gps_sentence, slam);
  if (s.gps_sentence != 7 && s.gps_sentence != 8)
    g.satellites_label = "Sat:";
  else
    g.quality_label = "RTS";
  const bool utm = s.coordinates_display > 0;
  const bool grid = utm || s.gps_sentence > 6;
  g.first_label = grid ? "E:" : "Lon:";
  g.second_label = grid ? "N:" : "Lat:";
  if (utm) g.height_label = "Z:";
  return g;
}

StatusTexts status_texts(const Settings& s, const SurveyRecord& survey, const StatusInput& in) {
  StatusTexts t;
  if (in.gps_used)
    t.map_size = map_size_text(in.review_map_size > 0 ? in.review_map_size : s.map.map_size, s.map_units);
  t.state = state_label(survey.state, survey.survey_mode);
  t.line = survey.line_name;
  t.station = format_double("%-11.2f", survey.station);
  t.file = survey.file_open && survey.state != kStateMonitoring ? file_label(survey.file_name)
                                                                : "File:" + std::string(kFileSpaces, ' ');
  // EM34-3 Manual counts the confirmed stations.
  const bool stations = has_trait(in.instrument_type, Trait::kStationReadings) && survey.survey_mode == kModeManual;
  t.stations = stations ? format_int("%-6d", survey.stations_in_survey) : format_int("%-7d", survey.readings_in_survey);
  t.time = elapsed_text(elapsed_logging_ms(survey, in.now));
  t.speed_row = in.gps_used;
  if (t.speed_row) {
    t.speed = speed_view({survey.speed, s.map_units, s.speed_bar_units, s.speed_scale_maximum, 0}).text;
    t.speed_maximum = format_double("%0.1f", s.speed_scale_maximum);
  }
  t.gps = gps_block_texts(s, survey, in.slam);
  t.instrument_rows = instrument_block_rows(s, in.instrument_type, in.instrument_used, in.coil_spacing_m,
                                            in.coil_letter, in.narrow_panel);
  if (has_trait(in.instrument_type, Trait::kCalibrationConstants))
    t.calibration = em38_4_calibration_text(em38_4_calibration_state(em38_4_calibration(s.em38_4)));
  return t;
}

}  // namespace quelor
