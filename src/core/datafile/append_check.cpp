#include "datafile/append_check.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "datafile/file_header.h"
#include "datafile/record_cursor.h"
#include "datafile/record_layout.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

enum class Family { kEm31, kEm61Mk2, kEm61Lx2, kGrad601, kNone };

Family family_of(InstrumentType type) {
  switch (type) {
    case kEm31Mk2:
    case kEm38:
    case kEm34_3:
    case kEm38Mk2: return Family::kEm31;
    case kEm61Mk2: return Family::kEm61Mk2;
    case kEm61Lx2: return Family::kEm61Lx2;
    case kGrad601: return Family::kGrad601;
    default: return Family::kNone;
  }
}

const char* code_start(InstrumentType type) {
  switch (type) {
    case kEm31Mk2: return "ZLK31";
    case kEm38Mk2: return "ZLK38MK2";
    case kEm61Mk2: return "ZLKMK2";
    case kEm61Lx2: return "ZLKLX";
    case kGrad601: return "ZLK601";
    default: return "";
  }
}

const char* instrument_label(InstrumentType type) {
  switch (type) {
    case kEm31Mk2: return "EM31-MK2";
    case kEm61Mk2: return "EM61-MK2";
    case kEm61Lx2: return "EM61-LX2";
    case kGrad601: return "Grad601";
    default: return "EM38-MK2";
  }
}

std::string join_lines(const std::vector<std::string>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
  return out;
}

AppendCheckResult refuse(std::string text) {
  AppendCheckResult r;
  r.message = OperatorMessage{"WARNING", std::move(text), DialogTemplate::kOk};
  return r;
}

AppendCheckResult invalid_record(int n) {
  return refuse(join_lines(
      {"Invalid File Format.", "File Record # " + std::to_string(n) + " invalid.", "The file will be closed."}));
}

// A record of the file at this variant's length, or empty when the file is shorter.
std::string_view record(std::string_view head, int n, int length) {
  DataFile file;
  file.bytes = head;
  file.record_length = length;
  RecordCursor cursor = record_cursor(file, n);
  const std::optional<DataRecord> r = next_record(cursor);
  return r ? r->bytes : std::string_view();
}

// A digit of the file's set-up; anything else matches no setting.
int setup_digit(std::string_view rec, std::size_t column) { return digit_at(rec, column).value_or(-1); }

const char* name_of(const std::vector<const char*>& names, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < names.size() ? names[static_cast<std::size_t>(index)] : "";
}

// " %s %s\r\n %s %s\r\n %s": file label and value, selected label and value.
std::optional<AppendCheckResult> compare_setting(int in_file, int selected, const char* file_label,
                                                 const char* selected_label, const std::vector<const char*>& names) {
  if (in_file == selected) return std::nullopt;
  return refuse(format_text(" %s %s\r\n %s %s\r\n %s", file_label, name_of(names, in_file), selected_label,
                            name_of(names, selected), "Please adjust the configuration. "));
}

std::optional<AppendCheckResult> compare_em31_setup(const Variant& v, std::string_view rec1, const Settings& s) {
  static const std::vector<const char*> kComponents{"Both", "Inphase"};
  static const std::vector<const char*> kDipoles{"Vertical", "Horizontal"};
  if (has_trait(v.instrument_type, Trait::kInphaseOnlyComponent))
    if (auto r = compare_setting(setup_digit(rec1, 18), s.component,
                                 "Component in the file: ", "Selected   Component: ", kComponents))
      return r;
  if (auto r = compare_setting(setup_digit(rec1, 16), s.dipole_mode,
                               "Component in the file: ", "Selected   Component: ", kDipoles))
    return r;
  if (v.instrument_type == kEm31Mk2)
    return compare_setting(setup_digit(rec1, 19), s.instrument_model,
                           "EM31-MK2 Type in the file: ", "Selected  EM31-MK2  Type:", {"Standard", "Short"});
  int in_file = setup_digit(rec1, 19);
  int selected = s.em38mk2_model;
  if (has_trait(v.instrument_type, Trait::kModelCoilPairs)) {
    if (in_file == 2) in_file = 0;
  } else {
    // EM38 and EM34-3 files hold their own model or reference in column 19:
    // compare it with the value this program writes there.
    selected = has_trait(v.instrument_type, Trait::kCoilReference) ? s.em34_3_reference : s.instrument_model;
  }
  return compare_setting(in_file, selected,
                         "EM38-MK2 Type in the file: ", "Selected  EM38-MK2  Type:", {"EM38-MK2", "EM38-MK2-1"});
}

std::optional<AppendCheckResult> compare_setup(const Variant& v, std::string_view rec1, const Settings& s) {
  switch (family_of(v.instrument_type)) {
    case Family::kEm31: return compare_em31_setup(v, rec1, s);
    case Family::kEm61Mk2:
      if (auto r = compare_setting(setup_digit(rec1, 16), s.sensor_size,
                                   "Sensor Size in the file: ", "Selected Sensor Size:",
                                   {"1 x 0.5 m", "0.5 x 1.0 m", "1 x 1 m", "0.5 x 0.5 m", "Hand Held"}))
        return r;
      return compare_setting(setup_digit(rec1, 18), s.em61_model, "EM61-MK2 Type in the file:",
                             "Selected EM61-MK2 Type:", {"Standard", "High Power", "Standard N.C.C", "HP N.C.C."});
    case Family::kEm61Lx2:
      return compare_setting(setup_digit(rec1, 18), s.em61_model,
                             "EM61-LX2 Type in the file:", "Selected EM61-LX2 Type:", {"Standard", "Standard N.C.C"});
    default: return std::nullopt;
  }
}

std::optional<AppendCheckResult> check_state(const Variant& v, std::string_view rec1, const Settings& s) {
  if (setup_digit(rec1, 21) == s.instrument_state) return std::nullopt;
  const std::string name = instrument_label(v.instrument_type);
  const bool selected_enabled = s.instrument_state > 0;
  return refuse(join_lines({name + " State in the file: " + (selected_enabled ? "DISABLED" : "ENABLED"),
                            name + " State  Selected: " + (selected_enabled ? "ENABLED" : "DISABLED"),
                            "Please adjust the configuration. "}));
}

std::optional<AppendCheckResult> check_sensors(const Variant& v, std::string_view rec1, const Settings& s) {
  if (!has_sensor_count(v.instrument_type)) return std::nullopt;
  const int in_file =
      setup_digit(rec1, static_cast<std::size_t>(find_instrument(v.instrument_type)->sensor_count_column));
  if (in_file == s.number_of_sensors) return std::nullopt;
  return refuse(format_text(" %s%1d\r\n %s%1d\r\n %s", "Number of sensors in the file: ", in_file + 1,
                            "Number of sensors Selected:", s.number_of_sensors + 1,
                            "Please adjust the configuration. "));
}

const char* const kSentenceNames[] = {"GGA/GSA", "GGA", "POS", "LLK", "LLQ", "GLL", "GGK", "Pseudo GGA", "Pseudo GLL"};

const char* sentence_name(int index) { return index >= 0 && index <= 8 ? kSentenceNames[index] : ""; }

AppendCheckResult check_gps(std::string_view rec1, std::string_view rec3, std::string_view rec4, const Settings& s,
                            const AppendSituation& situation) {
  if (!situation.have_valid_fix)
    return refuse(
        join_lines({"Valid GPS position must be", "received to append file.", "Check settings and GPS performance."}));
  const int units = setup_digit(rec1, 15);
  if (units != s.map_units) {
    static const std::vector<const char*> kUnits{" Meters", " Feet", " US Survey Feet"};
    return refuse(join_lines(
        {std::string("Map units in the file:") + name_of(kUnits, units), "Select the same units in the program"}));
  }
  if (s.instrument_state > 0) {
    // Record 3 holds the offsets in the file's map unit; the settings in metres.
    const double unit = metres_per_map_unit(units);
    const double x = number_at(rec3, 1, 7).value_or(0.0) * unit;
    const double y = number_at(rec3, 8, 7).value_or(0.0) * unit;
    // Offsets are stored with three decimals: a difference of 0.01 is a
    // difference, whatever the last bit of the binary value says.
    const double limit = 0.01 - 1e-9;
    if (std::fabs(x - s.gps_x_offset) >= limit || std::fabs(y - s.gps_y_offset) >= limit)
      return refuse(
          join_lines({"GPS antenna offsets in the file: " + format_text("X=%.2f Y=%.2f", x, y),
                      "GPS antenna offsets specified: " + format_text("X=%.2f Y=%.2f", s.gps_x_offset, s.gps_y_offset),
                      "Please adjust offsets or create the new data file."}));
  }
  const int sentence = header_gps_sentence(rec3);
  if (sentence != s.gps_sentence)
    return refuse(join_lines({std::string("GPS NMEA Data in the file: ") + sentence_name(sentence),
                              std::string("Selected in the program: ") + sentence_name(s.gps_sentence),
                              std::string("Please select ") + sentence_name(sentence) + " to append file."}));
  AppendCheckResult passed;
  passed.passed = true;
  if (sentence == 3 || sentence == 4 || sentence == 7) return passed;
  const int file_zone = std::atoi(std::string(rec4.substr(16, 2)).c_str());
  if (file_zone == situation.current_zone) return passed;
  if (!zones_compatible(file_zone, situation.current_zone))
    return refuse(join_lines({"Distance between gps current position and position",
                              "in the file is greater than 6 degrees longitude.",
                              "Therefore the program cannot append this file."}));
  passed.adopted_zone = file_zone;
  if (situation.project) {
    GridPosition p = situation.project(situation.first_latitude, situation.first_longitude, file_zone);
    const double unit = metres_per_map_unit(s.map_units);
    passed.origin = GridPosition{p.easting / unit, p.northing / unit};
  }
  return passed;
}

}  // namespace

double metres_per_map_unit(int map_units) {
  if (map_units == 1) return 0.3048;
  if (map_units == 2) return 0.304800609601219;
  return 1.0;
}

bool zones_compatible(int file_zone, int current_zone) {
  if (file_zone == current_zone) return true;
  if ((file_zone == 1 && current_zone == 60) || (file_zone == 60 && current_zone == 1)) return true;
  return std::abs(file_zone - current_zone) == 1;
}

AppendCheckResult check_append(const Variant& v, std::string_view head, const Settings& s,
                               const AppendSituation& situation) {
  const Family family = family_of(v.instrument_type);
  if (family == Family::kNone) return AppendCheckResult{true, std::nullopt, std::nullopt, std::nullopt};
  const int length = record_length(v);
  const std::string_view rec1 = record(head, 1, length);
  if (rec1.empty() || !rec1.starts_with(code_start(v.instrument_type))) return invalid_record(1);
  if ((family == Family::kEm31 || family == Family::kEm61Mk2) && rec1[9] <= '1')
    return refuse(join_lines(
        {"Append file option is not avaiable", "for files created with Version 1.xx", "The file will be closed."}));
  if (auto r = check_state(v, rec1, s)) return *r;
  if (auto r = check_sensors(v, rec1, s)) return *r;
  const std::string_view rec2 = record(head, 2, length);
  if (rec2.empty() || rec2[0] != 'H') return invalid_record(2);
  const std::string_view rec3 = record(head, 3, length);
  if (rec3.empty() || rec3[0] != 'G') return invalid_record(3);
  const std::string_view rec4 = record(head, 4, length);
  if (rec4.empty() || rec4[0] != 'G') return invalid_record(4);
  if (s.instrument_state > 0)
    if (auto r = compare_setup(v, rec1, s)) return *r;
  const bool file_gps = rec3[20] == '1';
  const bool program_gps = s.gps_enabled > 0;
  if (program_gps && file_gps) return check_gps(rec1, rec3, rec4, s, situation);
  if (program_gps)
    return refuse(join_lines(
        {"GPS state in the file: DISABLED", "Selected GPS state: ENABLED", "Please adjust the configuration. "}));
  if (file_gps)
    return refuse(join_lines(
        {"GPS state in the file: ENABLED", "Selected GPS state: DISABLED ", "Please adjust the configuration. "}));
  return AppendCheckResult{true, std::nullopt, std::nullopt, std::nullopt};
}

}  // namespace quelor
