#include "shell/setup_summary_rows.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "gps/formats.h"
#include "map/footprint.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr std::string_view kNotApplicable = "N/A";

// The text of list index `index`, or "N/A" outside the list.
template <std::size_t N>
std::string choice(const std::array<std::string_view, N>& texts, int index) {
  if (index < 0 || index >= static_cast<int>(N)) return std::string(kNotApplicable);
  return std::string(texts[static_cast<std::size_t>(index)]);
}

std::string format(const char* pattern, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

std::string com_port(int index) { return "COM" + std::to_string(index + 1); }

constexpr std::array<std::string_view, 3> kSurveyModes{"AUTO", "WHEEL", "MANUAL"};
constexpr std::array<std::string_view, 4> kPauseKeys{"any key", "<Enter>", "<Space Bar>", "<P>"};
constexpr std::array<std::string_view, 4> kEm61Types{"Standard", "High Power", "Standard N.C.C", "HP N.C.C."};
// The EM61-LX2 model list has only the standard coil, plain or N.C.C.
constexpr std::array<std::string_view, 2> kLx2Types{"Standard", "Standard N.C.C"};
constexpr std::array<std::string_view, 2> kEm31Types{"Standard", "Short"};
constexpr std::array<std::string_view, 2> kEm38Components{"Conductivity", "Inphase"};
constexpr std::array<std::string_view, 2> kEm38Mk2Types{"EM38MK2", "EM38MK2-1"};
constexpr std::array<std::string_view, 5> kSensorSizes{"1 x 0.5 m", "0.5 x 1.0 m", "1 x 1 m", "0.5 x 0.5 m",
                                                       "Hand Held"};
constexpr std::array<std::string_view, 3> kReferences{"Leading Coil", "Trailing Coil", "EM34-3 Center"};
constexpr std::array<std::string_view, 2> kInphaseUnits{"ppt", "mS/m"};
constexpr std::array<std::string_view, 2> kDipoles{"Vertical", "Horizontal"};
constexpr std::array<std::string_view, 2> kStates{"Disabled", "Enabled"};
constexpr std::array<std::string_view, 9> kSelectedRates{"10 Hz", "5 Hz",   "3.3 Hz", "2.5 Hz", "2 Hz",
                                                         "1 Hz",  "0.5 Hz", "0.2 Hz", "0.1 Hz"};
constexpr int kSwathChoices = 8;  // the Map Options swath list

// The instrument's name in its "... Port:" label, by instrument type + 4.
constexpr std::array<std::string_view, 14> kPortNames{"Grad601", "",         "EM61-LX2", "EM61-MK2", "EM31-MK2",
                                                      "",        "",         "EM38",     "EM34-3",   "",
                                                      "",        "EM38-MK2", "EM38-4",   "DualEM"};

bool instrument_enabled(const Settings& s) { return s.instrument_state > 0; }
bool gps_in_use(const Settings& s) { return s.gps_enabled > 0; }
bool has_selected_rate(InstrumentType type) { return has_trait(type, Trait::kSelectableRate); }
std::string survey_mode_text(const Settings& s) {
  if (!instrument_enabled(s)) return std::string(kNotApplicable);
  return choice(kSurveyModes, s.survey_mode);
}

std::string update_rate_text(const Settings& s, InstrumentType type) {
  if (s.survey_mode != 0 || !instrument_enabled(s)) return std::string(kNotApplicable);
  if (has_selected_rate(type)) return choice(kSelectedRates, s.em38_4_rate);
  // A zero or negative interval has no rate to show.
  if (!(s.reading_interval > 0.0)) return std::string(kNotApplicable);
  return format("%.2f Hz", 1.0 / s.reading_interval);
}

double active_station_increment(const Settings& s) {
  const int mode = s.survey_mode >= 0 && s.survey_mode <= 2 ? s.survey_mode : 0;
  return s.station_increments[static_cast<std::size_t>(mode)];
}

std::string gps_data_text(const Settings& s) {
  if (!gps_in_use(s) || !is_valid_gps_format(s.gps_sentence)) return std::string(kNotApplicable);
  return std::string(gps_format_label(s.gps_sentence, s.pseudo_gga_variant == 1));
}

// EM34-3 keeps the dipole in its coil code in Auto mode (0-2 vertical, 3-5
// horizontal); outside Auto the field counts readings per station.
std::string em34_dipole_text(const Settings& s) {
  if (s.survey_mode != 0 || s.dipole_mode < 0 || s.dipole_mode > 5) return std::string(kNotApplicable);
  return std::string(kDipoles[s.dipole_mode < 3 ? 0 : 1]);
}

std::string tilt_meter_text(const Settings& s, const Variant& v) {
  if (v.navigation_mode != kRealTimeMap) return std::string(kNotApplicable);
  return choice(kStates, s.tilt_meter);
}

void add(std::vector<SummaryRow>& rows, std::string_view label, std::string value) {
  rows.push_back({std::string(label), std::move(value)});
}

void add_instrument_survey_rows(std::vector<SummaryRow>& rows, const Settings& s, const Variant& v) {
  const InstrumentType type = v.instrument_type;
  if (has_sensor_count(type)) add(rows, "Number of Sensors:", std::to_string(s.number_of_sensors + 1));
  if (has_trait(type, Trait::kSensorSeparation))
    add(rows, "Sensors Separation:", format("%.2f m", s.sensor_separation));
  if (type == kEm34_3) {
    add(rows, "EM34-3 Mode:", s.survey_mode == 0 ? "Auto" : "Manual");
    add(rows, "Dipole Mode:", em34_dipole_text(s));
    add(rows, "Reference:", choice(kReferences, s.em34_3_reference));
  }
  if (has_trait(type, Trait::kDipoleSetting)) add(rows, "Dipole Mode:", choice(kDipoles, s.dipole_mode));
  if (type == kEm38) add(rows, "EM38 Component:", choice(kEm38Components, s.component));
  if (has_trait(type, Trait::kSensorSize)) add(rows, "Sensor Size:", choice(kSensorSizes, s.sensor_size));
}

void add_survey_rows(std::vector<SummaryRow>& rows, const Settings& s, const Variant& v) {
  add(rows, "Survey Mode:", survey_mode_text(s));
  add(rows, "Update Rate:", update_rate_text(s, v.instrument_type));
  add_instrument_survey_rows(rows, s, v);
  add(rows, "Survey Line:", s.survey_line);
  add(rows, "Line Increment:", format("%.2f", s.line_increment));
  add(rows, "Start Station:", format("%.3f", s.start_station));
  add(rows, "Station Increment:", format("%.3f", active_station_increment(s)));
  add(rows, "Swath bar:", format("%.2f m", summary_swath_width(s, v.instrument_type)));
  add(rows, "GPS X offset:", format("%.2f m", s.gps_x_offset));
  add(rows, "GPS Y offset:", format("%.2f m", s.gps_y_offset));
}

void add_instrument_system_rows(std::vector<SummaryRow>& rows, const Settings& s, const Variant& v) {
  switch (v.instrument_type) {
    case kEm31Mk2: add(rows, "EM31-MK2 Type:", choice(kEm31Types, s.instrument_model)); break;
    case kEm38Mk2: add(rows, "EM38-MK2 Type:", choice(kEm38Mk2Types, s.em38mk2_model)); break;
    case kEm38_4:
      add(rows, "EM38-4 State:", choice(kStates, s.instrument_state > 0 ? 1 : 0));
      add(rows, "Inphase Units:", choice(kInphaseUnits, s.em38_4.inphase_units));
      break;
    case kEm61Lx2:
      add(rows, "EM61-LX2 Type:",
          s.em61_model >= 0 && s.em61_model < 2 ? choice(kLx2Types, s.em61_model) : choice(kEm61Types, s.em61_model));
      break;
    case kEm61Mk2:
      add(rows, "EM61-MK2 Type:", choice(kEm61Types, s.em61_model));
      add(rows, "Tilt Meter:", tilt_meter_text(s, v));
      break;
    default: break;
  }
}

void add_system_rows(std::vector<SummaryRow>& rows, const Settings& s, const Variant& v) {
  const std::string_view name = kPortNames[static_cast<std::size_t>(type_index(v.instrument_type))];
  add(rows, std::string(name) + " Port:", com_port(s.instrument_port));
  add_instrument_system_rows(rows, s, v);
  add(rows, "Pause Key:", choice(kPauseKeys, s.pause_key));
  add(rows, "GPS Input:", gps_in_use(s) ? com_port(s.gps_port) : "Disabled");
  add(rows, "GPS Data:", gps_data_text(s));
}

}  // namespace

// The map's own swath width; a list choice beyond the list shows 0.
double summary_swath_width(const Settings& s, InstrumentType instrument_type) {
  const bool computed = is_em61(instrument_type) || (instrument_type == kGrad601 && s.number_of_sensors == 1);
  if (!computed && (s.swath_option < 0 || s.swath_option >= kSwathChoices)) return 0.0;
  return swath_width_metres(s, instrument_type);
}

SettingsSummary settings_summary(const Settings& s, const Variant& v) {
  SettingsSummary summary;
  if (!is_valid_variant(v)) return summary;
  add_survey_rows(summary.survey, s, v);
  add_system_rows(summary.system, s, v);
  return summary;
}

}  // namespace quelor
