#pragma once
// The decoded values of a logged reading record, by instrument: the value
// columns (named for what they hold, and as EMagPy names the coil
// configurations of the ground-conductivity meters) and the values of one
// record, decoded with the same decoders the live program uses.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quelor {

// What the header and the constant records tell about the readings.
struct ReadingSetup {
  int survey_mode = 0;   // Manual (2): EM31-type mode letter always "N"
  int component = 0;     // 1: EM31-MK2 in-phase only
  int em61_model = 0;    // EM61 coil type
  bool two_sensors = false;  // Grad601 two sensors, EM61-LX2 two coils
  std::array<double, 4> null_values{};  // EM61: the latest 'O' records
};

struct ValueColumn {
  std::string name;
  std::string emagpy_name;  // EMagPy's coil name; empty: same as `name`
  bool text = false;
};

// EM31-MK2, EM38, EM34-3, EM38-MK2, EM38-4, CS-21.
bool is_conductivity_meter(int instrument_type);

// `height_m`: the instrument's height above ground in the EMagPy names.
std::vector<ValueColumn> reading_value_columns(int instrument_type, double height_m);

// One cell per column: "%.10g" of the value, the text, or empty where the
// record holds no such value. `body`: the record before its tick field.
std::vector<std::string> reading_values(int instrument_type, std::string_view body, const ReadingSetup& setup);

}  // namespace quelor
