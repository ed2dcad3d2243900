#include "variant/variant.h"

#include <array>
#include <string>

namespace quelor {

namespace {

constexpr std::array<VariantRow, 9> kVariants{{
    {kEm31Mk2, "EM31-MK2", {{"Zelko31", "2.30", "Zelko31MK2"}, {"Qyn31", "2.20", "Qyn31MK2"}}},
    {kEm38, "EM38", {{"Zelko38", "2.15", "Zelko38"}, {"Qyn38", "2.00", "Qyn38"}}},
    {kEm34_3, "EM34-3", {{"Zelko34-3", "2.14", "Zelko34-3"}, {"Qyn34-3", "2.15", "Qyn34-3"}}},
    {kEm38Mk2, "EM38-MK2", {{"Zelko38MK2", "2.29", "Zelko38MK2"}, {"Qyn38MK2", "2.20", "Qyn38MK2"}}},
    {kEm38_4, "EM38-4", {{"Zelko38-4", "1.00", "Zelko38-4"}, {"Qyn38-4", "1.00", "Qyn38-4"}}},
    {kCs21, "DualEM CS-21", {{"ZelkoCS-21", "1.00", "ZelkoCS-21"}, {"QynCS-21", "1.00", "QynCS-21"}}},
    {kGrad601, "Grad601", {{"Zelko601", "1.01", "Zelko601"}, {"Qyn601", "1.10", "Qyn601"}}},
    {kEm61Lx2, "EM61-LX2", {{"Zelko61LX2", "1.09", "Zelko61LX2"}, {"Qyn61LX2", "1.00", "Qyn61LX2"}}},
    {kEm61Mk2, "EM61-MK2", {{"Zelko61MK2", "2.28", "Zelko61MK2"}, {"Qyn61MK2", "2.25", "Qyn61MK2"}}},
}};

}  // namespace

std::span<const VariantRow> variant_table() { return kVariants; }

std::optional<InstrumentType> instrument_type_from_number(int number) {
  for (const VariantRow& row : kVariants)
    if (row.instrument_type == number) return row.instrument_type;
  return std::nullopt;
}

const VariantRow* find_variant_row(InstrumentType instrument_type) {
  for (const VariantRow& row : kVariants)
    if (row.instrument_type == instrument_type) return &row;
  return nullptr;
}

bool is_valid_variant(const Variant& v) {
  return find_variant_row(v.instrument_type) != nullptr &&
         (v.navigation_mode == kRealTimeMap || v.navigation_mode == kNavigation);
}

const ProductNames& product_names(const Variant& v) {
  return find_variant_row(v.instrument_type)->line[v.navigation_mode];
}

std::string version_digits(std::string_view version) {
  std::string digits;
  for (char c : version)
    if (c != '.') digits += c;
  return digits;
}

}  // namespace quelor
