#pragma once
// The decoded values of a logged reading record, by instrument: the value
// columns (named for what they hold, and as EMagPy names the coil
// configurations of the ground-conductivity meters) and the values of one
// record, read by the one interpretation the live program uses.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reading/decode_context.h"

namespace quelor {

struct ValueColumn {
  std::string name;
  std::string emagpy_name;  // EMagPy's coil name; empty: same as `name`
  bool text = false;
};

// EM31-MK2, EM38, EM34-3, EM38-MK2, EM38-4, CS-21.

// `decode`: the instrument and its in-phase units (the EM38-4's raw
// in-phase is in mS/m, every other in-phase in ppt). `height_m`: the
// instrument's height above ground in the EMagPy names.
std::vector<ValueColumn> reading_value_columns(const DecodeContext& decode, double height_m);

// One cell per column: "%.10g" of the value interpret_reading gives (the
// numbers the program showed), the text, or empty where the record holds no
// such value; beside them the numbers themselves (nothing for a text or an
// empty cell). `body`: the record before its tick field.
struct ReadingCells {
  std::vector<std::string> values;
  std::vector<std::optional<double>> numbers;
};
ReadingCells reading_cells(const DecodeContext& decode, std::string_view body);

// The numbers of reading_cells alone, into `out` (cleared first), for a
// reader that needs no text.
void reading_numbers(const DecodeContext& decode, std::string_view body, std::vector<std::optional<double>>& out);

}  // namespace quelor
