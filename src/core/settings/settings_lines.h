#pragma once
// The line order of the settings files: one table of rows per family
// (EM31-MK2 / EM38 / EM34-3 / EM38-MK2, EM61-MK2, EM61-LX2, Grad601,
// EM38-4 / CS-21). The writer and the reader walk the same table, so a
// family's order is stated once. The value's format follows from its type:
// int "%d", long and COLORREF "%ld", double "%f", strings "%s".

#include <span>
#include <string>
#include <variant>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

using FieldRef = std::variant<int*, long*, ColorRef*, double*, std::wstring*, std::string*>;

struct SettingsLine {
  FieldRef (*field)(Settings&, int index) = nullptr;  // the value of line `index`
  int first = 0;                                      // first index of an array
  int count = 1;                                      // lines of this row
  bool (*present)(const Variant&) = nullptr;          // nullptr: in every file
  bool zero_in_navigation = false;                    // written as 0 in Qyn
  // A number row's own rule for the value read, non-finite ones included
  // (nullptr: a non-finite value leaves the value in force).
  double (*read_rule)(double read) = nullptr;
};

// The rows of the family of this instrument type (empty for an unknown type).
std::span<const SettingsLine> settings_lines(InstrumentType instrument_type);

// Number of value lines after the version line in this variant's file.
int settings_line_count(const Variant& v);

}  // namespace quelor
