#pragma once
// The program variant: instrument type and product line, fixed at build time.
// Everything that differs between the 18 programs is looked up here.

#include <optional>
#include <span>
#include <string_view>

namespace quelor {

enum InstrumentType : int {
  kEm31Mk2 = 0,
  kEm38 = 3,
  kEm34_3 = 4,
  kEm38Mk2 = 7,
  kEm38_4 = 8,
  kCs21 = 9,
  kGrad601 = -4,
  kEm61Lx2 = -2,
  kEm61Mk2 = -1,
};

// The instrument type of a number read from outside (a settings file, a
// data-file header, a command line): nullopt for a number no instrument has.
std::optional<InstrumentType> instrument_type_from_number(int number);

// 0 real-time map line ("Zelko"), 1 navigation line ("Qyn").
enum NavigationMode : int { kRealTimeMap = 0, kNavigation = 1 };

struct Variant {
  InstrumentType instrument_type = kEm31Mk2;
  int navigation_mode = kNavigation;
};

// One product line's names of one instrument.
struct ProductNames {
  std::string_view program_name;   // window title, "Zelko31"
  std::string_view version;        // "2.30"
  std::string_view settings_stem;  // "Zelko31MK2"
};

struct VariantRow {
  InstrumentType instrument_type;
  std::string_view instrument;  // "EM31-MK2"
  ProductNames line[2];         // indexed by navigation mode
};

std::span<const VariantRow> variant_table();

// nullptr for an instrument type outside the table.
const VariantRow* find_variant_row(InstrumentType instrument_type);

bool is_valid_variant(const Variant& v);

// The names of a valid variant (callers check is_valid_variant first).
const ProductNames& product_names(const Variant& v);

// "2.30" -> "230"
std::string version_digits(std::string_view version);

// Instrument type + 4: the 0..13 index many tables are keyed on.
constexpr int type_index(int instrument_type) { return instrument_type + 4; }

}  // namespace quelor
