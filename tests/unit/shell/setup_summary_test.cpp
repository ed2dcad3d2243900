#include "shell/setup_summary_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/instrument_defaults.h"
#include "settings/settings_text.h"

namespace quelor {
namespace {

std::vector<std::string> labels(const std::vector<SummaryRow>& rows) {
  std::vector<std::string> out;
  for (const SummaryRow& r : rows) out.push_back(r.label);
  return out;
}

// The value of `label`, or "<missing>".
std::string value(const std::vector<SummaryRow>& rows, const std::string& label) {
  for (const SummaryRow& r : rows)
    if (r.label == label) return r.value;
  return "<missing>";
}

std::string any_value(const SettingsSummary& s, const std::string& label) {
  const std::string v = value(s.survey, label);
  return v != "<missing>" ? v : value(s.system, label);
}

using Labels = std::vector<std::string>;

struct LabelCase {
  InstrumentType type;
  Labels survey;
  Labels system;
};

const Labels kHead{"Survey Mode:", "Update Rate:"};
const Labels kTail{"Survey Line:", "Line Increment:", "Start Station:", "Station Increment:",
                   "Swath bar:",   "GPS X offset:",   "GPS Y offset:"};
const Labels kSystemTail{"Pause Key:", "GPS Input:", "GPS Data:"};

Labels join(const Labels& a, const Labels& b, const Labels& c) {
  Labels out = a;
  out.insert(out.end(), b.begin(), b.end());
  out.insert(out.end(), c.begin(), c.end());
  return out;
}

TEST(SetupSummary, RowsOfEachInstrumentInOrder) {
  const LabelCase cases[] = {
      {kEm31Mk2, join(kHead, {"Dipole Mode:"}, kTail), join({"EM31-MK2 Port:", "EM31-MK2 Type:"}, {}, kSystemTail)},
      {kEm38, join(kHead, {"Dipole Mode:", "EM38 Component:"}, kTail), join({"EM38 Port:"}, {}, kSystemTail)},
      {kEm34_3, join(kHead, {"EM34-3 Mode:", "Dipole Mode:", "Reference:"}, kTail),
       join({"EM34-3 Port:"}, {}, kSystemTail)},
      {kEm38Mk2, join(kHead, {"Dipole Mode:"}, kTail), join({"EM38-MK2 Port:", "EM38-MK2 Type:"}, {}, kSystemTail)},
      {kEm38_4, join(kHead, {}, kTail), join({"EM38-4 Port:", "EM38-4 State:", "Inphase Units:"}, {}, kSystemTail)},
      {kCs21, join(kHead, {}, kTail), join({"DualEM Port:"}, {}, kSystemTail)},
      {kGrad601, join(kHead, {"Number of Sensors:", "Sensors Separation:"}, kTail),
       join({"Grad601 Port:"}, {}, kSystemTail)},
      {kEm61Lx2, join(kHead, {"Number of Sensors:"}, kTail),
       join({"EM61-LX2 Port:", "EM61-LX2 Type:"}, {}, kSystemTail)},
      {kEm61Mk2, join(kHead, {"Sensor Size:"}, kTail),
       join({"EM61-MK2 Port:", "EM61-MK2 Type:", "Tilt Meter:"}, {}, kSystemTail)},
  };
  for (const LabelCase& c : cases)
    for (int nav : {0, 1}) {
      SCOPED_TRACE(c.type);
      const Variant v{c.type, nav};
      const SettingsSummary s = settings_summary(initial_settings(v), v);
      EXPECT_EQ(labels(s.survey), c.survey);
      EXPECT_EQ(labels(s.system), c.system);
    }
}

TEST(SetupSummary, DefaultValuesOfTheDeliveredProgram) {
  const Variant v{kEm31Mk2, kNavigation};
  const SettingsSummary s = settings_summary(initial_settings(v), v);
  const std::vector<SummaryRow> survey{{"Survey Mode:", "AUTO"},
                                       {"Update Rate:", "5.00 Hz"},
                                       {"Dipole Mode:", "Vertical"},
                                       {"Survey Line:", "1"},
                                       {"Line Increment:", "1.00"},
                                       {"Start Station:", "0.000"},
                                       {"Station Increment:", "1.000"},
                                       {"Swath bar:", "1.00 m"},
                                       {"GPS X offset:", value(s.survey, "GPS X offset:")},
                                       {"GPS Y offset:", value(s.survey, "GPS Y offset:")}};
  EXPECT_EQ(s.survey, survey);
  const std::vector<SummaryRow> system{{"EM31-MK2 Port:", "COM4"},
                                       {"EM31-MK2 Type:", "Standard"},
                                       {"Pause Key:", "any key"},
                                       {"GPS Input:", "COM6"},
                                       {"GPS Data:", "GGA"}};
  EXPECT_EQ(s.system, system);
}

// One setting changed from the defaults, the row that shows it.
struct ValueCase {
  const char* name;
  InstrumentType type;
  int nav;
  void (*change)(Settings&);
  const char* label;
  const char* expected;
};

// The program's settings file of `type` with `line` for the reading
// interval, read into `s`.
void read_interval_line(Settings& s, InstrumentType type, const char* line) {
  const Variant v{type, kNavigation};
  Settings written = s;
  written.reading_interval = 0.123456;
  std::string text = settings_values_text(written, v);
  text.replace(text.find("0.123456"), 8, line);
  read_settings_text(text, s, v);
}

const ValueCase kValueCases[] = {
    {"wheel", kEm61Mk2, 1, [](Settings& s) { s.survey_mode = 1; }, "Survey Mode:", "WHEEL"},
    {"manual", kEm61Mk2, 1, [](Settings& s) { s.survey_mode = 2; }, "Survey Mode:", "MANUAL"},
    {"disabled mode", kEm38, 1, [](Settings& s) { s.instrument_state = 0; }, "Survey Mode:", "N/A"},
    {"bad mode", kEm38, 1, [](Settings& s) { s.survey_mode = 7; }, "Survey Mode:", "N/A"},
    {"rate", kEm38, 1, [](Settings& s) { s.reading_interval = 0.1; }, "Update Rate:", "10.00 Hz"},
    {"rate 3", kEm38, 0, [](Settings& s) { s.reading_interval = 0.3; }, "Update Rate:", "3.33 Hz"},
    {"rate wheel", kEm61Mk2, 1, [](Settings& s) { s.survey_mode = 1; }, "Update Rate:", "N/A"},
    {"rate disabled", kEm31Mk2, 1, [](Settings& s) { s.instrument_state = 0; }, "Update Rate:", "N/A"},
    {"rate zero", kEm31Mk2, 1, [](Settings& s) { s.reading_interval = 0.0; }, "Update Rate:", "N/A"},
    {"rate read subnormal", kEm38, 1, [](Settings& s) { read_interval_line(s, kEm38, "1e-310"); },
     "Update Rate:", "1.00 Hz"},
    {"rate read nan", kEm31Mk2, 1, [](Settings& s) { read_interval_line(s, kEm31Mk2, "nan"); },
     "Update Rate:", "1.00 Hz"},
    {"rate read", kEm31Mk2, 1, [](Settings& s) { read_interval_line(s, kEm31Mk2, "0.25"); }, "Update Rate:", "4.00 Hz"},
    {"rate 38-4", kEm38_4, 1, [](Settings& s) { s.em38_4_rate = 2; }, "Update Rate:", "3.3 Hz"},
    {"rate cs21", kCs21, 0, [](Settings& s) { s.em38_4_rate = 8; }, "Update Rate:", "0.1 Hz"},
    {"rate cs21 bad", kCs21, 0, [](Settings& s) { s.em38_4_rate = 9; }, "Update Rate:", "N/A"},
    {"sensors", kGrad601, 1, [](Settings& s) { s.number_of_sensors = 0; }, "Number of Sensors:", "1"},
    {"sensors lx2", kEm61Lx2, 0, [](Settings& s) { s.number_of_sensors = 1; }, "Number of Sensors:", "2"},
    {"separation", kGrad601, 1, [](Settings& s) { s.sensor_separation = 0.755; }, "Sensors Separation:", "0.76 m"},
    {"em34 manual", kEm34_3, 1, [](Settings& s) { s.survey_mode = 2; }, "EM34-3 Mode:", "Manual"},
    {"em34 horizontal", kEm34_3, 1, [](Settings& s) { s.dipole_mode = 4; }, "Dipole Mode:", "Horizontal"},
    {"em34 vertical 40", kEm34_3, 1, [](Settings& s) { s.dipole_mode = 2; }, "Dipole Mode:", "Vertical"},
    {"em34 manual dipole", kEm34_3, 1,
     [](Settings& s) {
       s.survey_mode = 2;
       s.dipole_mode = 4;
     },
     "Dipole Mode:", "N/A"},
    {"reference", kEm34_3, 0, [](Settings& s) { s.em34_3_reference = 2; }, "Reference:", "EM34-3 Center"},
    {"trailing", kEm34_3, 0, [](Settings& s) { s.em34_3_reference = 1; }, "Reference:", "Trailing Coil"},
    {"horizontal", kEm31Mk2, 1, [](Settings& s) { s.dipole_mode = 1; }, "Dipole Mode:", "Horizontal"},
    {"inphase", kEm38, 1, [](Settings& s) { s.component = 1; }, "EM38 Component:", "Inphase"},
    {"hand held", kEm61Mk2, 0, [](Settings& s) { s.sensor_size = 4; }, "Sensor Size:", "Hand Held"},
    {"bad size", kEm61Mk2, 0, [](Settings& s) { s.sensor_size = 9; }, "Sensor Size:", "N/A"},
    {"line", kEm31Mk2, 1, [](Settings& s) { s.survey_line = "North 12"; }, "Survey Line:", "North 12"},
    {"line increment", kEm31Mk2, 1, [](Settings& s) { s.line_increment = 2.5; }, "Line Increment:", "2.50"},
    {"start", kEm31Mk2, 1, [](Settings& s) { s.start_station = -12.3456; }, "Start Station:", "-12.346"},
    {"wheel increment", kEm61Mk2, 1, [](Settings& s) { s.survey_mode = 1; }, "Station Increment:", "0.200"},
    {"manual increment", kEm61Mk2, 1, [](Settings& s) { s.survey_mode = 2; }, "Station Increment:", "2.000"},
    {"swath", kEm38, 1, [](Settings& s) { s.swath_option = 7; }, "Swath bar:", "10.00 m"},
    {"swath bad", kEm38, 1, [](Settings& s) { s.swath_option = 11; }, "Swath bar:", "0.00 m"},
    {"swath em61 half", kEm61Mk2, 1,
     [](Settings& s) {
       s.sensor_size = 1;
       s.swath_option = 5;
     },
     "Swath bar:", "0.50 m"},
    {"swath em61 factor 2", kEm61Mk2, 1,
     [](Settings& s) {
       s.sensor_size = 2;
       s.swath_option = 11;
     },
     "Swath bar:", "2.00 m"},
    {"swath hand held", kEm61Mk2, 1,
     [](Settings& s) {
       s.sensor_size = 4;
       s.swath_option = 5;
     },
     "Swath bar:", "0.20 m"},
    {"swath lx2 two", kEm61Lx2, 1,
     [](Settings& s) {
       s.number_of_sensors = 1;
       s.swath_option = 5;
     },
     "Swath bar:", "2.06 m"},
    {"swath lx2 one", kEm61Lx2, 1,
     [](Settings& s) {
       s.number_of_sensors = 0;
       s.swath_option = 11;
     },
     "Swath bar:", "2.06 m"},
    {"swath grad two", kGrad601, 1,
     [](Settings& s) {
       s.number_of_sensors = 1;
       s.sensor_separation = 0.5;
     },
     "Swath bar:", "1.00 m"},
    {"swath grad one", kGrad601, 1,
     [](Settings& s) {
       s.number_of_sensors = 0;
       s.swath_option = 3;
     },
     "Swath bar:", "1.00 m"},
    {"x offset", kEm38, 1, [](Settings& s) { s.gps_x_offset = -0.3; }, "GPS X offset:", "-0.30 m"},
    {"y offset", kEm38, 1, [](Settings& s) { s.gps_y_offset = 1.005; }, "GPS Y offset:", "1.00 m"},
    {"port", kGrad601, 1, [](Settings& s) { s.instrument_port = 11; }, "Grad601 Port:", "COM12"},
    {"port lx2", kEm61Lx2, 1, [](Settings& s) { s.instrument_port = 0; }, "EM61-LX2 Port:", "COM1"},
    {"short", kEm31Mk2, 1, [](Settings& s) { s.instrument_model = 1; }, "EM31-MK2 Type:", "Short"},
    {"mk2-1", kEm38Mk2, 1, [](Settings& s) { s.em38mk2_model = 1; }, "EM38-MK2 Type:", "EM38MK2-1"},
    {"38-4 off", kEm38_4, 1, [](Settings& s) { s.instrument_state = 0; }, "EM38-4 State:", "Disabled"},
    {"38-4 on", kEm38_4, 1, [](Settings&) {}, "EM38-4 State:", "Enabled"},
    {"units", kEm38_4, 1, [](Settings& s) { s.em38_4.inphase_units = 1; }, "Inphase Units:", "mS/m"},
    {"hp", kEm61Mk2, 1, [](Settings& s) { s.em61_model = 1; }, "EM61-MK2 Type:", "High Power"},
    {"hp ncc", kEm61Mk2, 1, [](Settings& s) { s.em61_model = 3; }, "EM61-MK2 Type:", "HP N.C.C."},
    {"ncc", kEm61Mk2, 1, [](Settings& s) { s.em61_model = 2; }, "EM61-MK2 Type:", "Standard N.C.C"},
    {"lx2 ncc", kEm61Lx2, 1, [](Settings& s) { s.em61_model = 1; }, "EM61-LX2 Type:", "Standard N.C.C"},
    {"lx2 bad", kEm61Lx2, 1, [](Settings& s) { s.em61_model = -1; }, "EM61-LX2 Type:", "N/A"},
    {"tilt on", kEm61Mk2, 0, [](Settings& s) { s.tilt_meter = 1; }, "Tilt Meter:", "Enabled"},
    {"tilt off", kEm61Mk2, 0, [](Settings& s) { s.tilt_meter = 0; }, "Tilt Meter:", "Disabled"},
    {"tilt nav", kEm61Mk2, 1, [](Settings& s) { s.tilt_meter = 1; }, "Tilt Meter:", "N/A"},
    {"pause p", kEm31Mk2, 1, [](Settings& s) { s.pause_key = 3; }, "Pause Key:", "<P>"},
    {"pause space", kEm31Mk2, 1, [](Settings& s) { s.pause_key = 2; }, "Pause Key:", "<Space Bar>"},
    {"pause bad", kEm31Mk2, 1, [](Settings& s) { s.pause_key = 4; }, "Pause Key:", "N/A"},
    {"gps off", kEm31Mk2, 1, [](Settings& s) { s.gps_enabled = 0; }, "GPS Input:", "Disabled"},
    {"gps port", kEm31Mk2, 1, [](Settings& s) { s.gps_port = 98; }, "GPS Input:", "COM99"},
    {"gps data off", kEm31Mk2, 1, [](Settings& s) { s.gps_enabled = 0; }, "GPS Data:", "N/A"},
    {"gga gsa", kEm31Mk2, 1, [](Settings& s) { s.gps_sentence = 0; }, "GPS Data:", "GGA/GSA"},
    {"llq", kEm31Mk2, 1, [](Settings& s) { s.gps_sentence = 4; }, "GPS Data:", "LLQ"},
    {"slam", kEm31Mk2, 1,
     [](Settings& s) {
       s.gps_sentence = 7;
       s.pseudo_gga_variant = 1;
     },
     "GPS Data:", "p-GGA SLAM"},
    {"pseudo gga", kEm31Mk2, 1, [](Settings& s) { s.gps_sentence = 7; }, "GPS Data:", "Pseudo GGA"},
    {"pseudo gll", kEm31Mk2, 1, [](Settings& s) { s.gps_sentence = 8; }, "GPS Data:", "Pseudo GLL"},
    {"bad format", kEm31Mk2, 1, [](Settings& s) { s.gps_sentence = 9; }, "GPS Data:", "N/A"},
};

TEST(SetupSummary, ValueTexts) {
  for (const ValueCase& c : kValueCases) {
    const Variant v{c.type, c.nav};
    Settings s = initial_settings(v);
    c.change(s);
    EXPECT_EQ(any_value(settings_summary(s, v), c.label), c.expected) << c.name;
  }
}

TEST(SetupSummary, InvalidVariantHasNoRows) {
  const SettingsSummary s = settings_summary(Settings{}, Variant{kEm38, 3});
  EXPECT_TRUE(s.survey.empty());
  EXPECT_TRUE(s.system.empty());
  EXPECT_TRUE(settings_summary(Settings{}, Variant{kEm38, 3}).survey.empty());
}

// Settings straight from a damaged file: every row still has a value.
TEST(SetupSummary, OutOfRangeIndexesNeverCrashOrLeaveEmptyValues) {
  const InstrumentType types[] = {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2};
  for (InstrumentType type : types)
    for (int bad : {-2147483647 - 1, -1, 99, 2147483647}) {
      Settings s;
      s.survey_mode = s.pause_key = s.sensor_size = s.em34_3_reference = s.component = bad;
      s.dipole_mode = s.instrument_model = s.em38mk2_model = s.em61_model = s.tilt_meter = bad;
      s.em38_4_rate = s.em38_4.inphase_units = s.gps_sentence = s.swath_option = bad;
      s.number_of_sensors = 1;
      const SettingsSummary summary = settings_summary(s, {type, 0});
      for (const auto* rows : {&summary.survey, &summary.system})
        for (const SummaryRow& r : *rows) {
          if (r.label == "Survey Line:") continue;
          EXPECT_FALSE(r.value.empty()) << type << r.label;
        }
    }
}

}  // namespace
}  // namespace quelor
