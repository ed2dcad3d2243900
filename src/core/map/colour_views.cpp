#include "map/colour_views.h"

#include <array>
#include <span>

#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

using Names = std::span<const std::string_view>;

constexpr std::array<std::string_view, 2> kViewsGrad601{"Sensors Positions, No Color Image",
                                                        "Color Map View of Sensors Readings"};
// With two sensors the EM61-LX2's right coil views (4-6) map the same coil
// pairs as its left coil views, and are listed by the same names.
constexpr std::array<std::string_view, 7> kViewsLx2{
    "Sensor Positions, No Color Image",      "Colour Map View of Early Channel E", "Colour Map View of Late Channel L",
    "Colour Map View of Filtered Channel F", "Colour Map View of Early Channel E", "Colour Map View of Late Channel L",
    "Colour Map View of Filtered Channel F"};
constexpr std::array<std::string_view, 5> kViewsMk2{"Sensor Positions, No Color Image", "Colour Map View of Channel 1",
                                                    "Colour Map View of Channel 2", "Colour Map View of Channel 3",
                                                    "Colour Map View of Channel 4/T"};
constexpr std::array<std::string_view, 3> kViewsEm31{"Sensor Positions, No Color Image", "Conductivity Color Map",
                                                     "Inphase Color Map"};
constexpr std::array<std::string_view, 2> kViewsEm38{"Sensor Positions, No Color Image",
                                                     "Map of Selected Component/Dipole"};
constexpr std::array<std::string_view, 2> kViewsEm34{"Sensor Positions, No Color Image", "Conductivity Color Map"};
constexpr std::array<std::string_view, 5> kViewsEm38Mk2{"Sensor Positions, No Color Image",
                                                        "Conductivity 1.0m Color Map", "Inphase 1.0m Color Map",
                                                        "Conductivity 0.5 m Color Map", "Inphase 0.5m Color Map"};
// The EM38-4's coils #1-#4; the CS-21's coil pairs in the same order (its
// 1 m and 1.1 m coils, then its 2 m and 2.1 m coils).
constexpr std::array<std::string_view, 9> kViewsCoils{
    "Sensor Positions, No Color Image", "Coil #1 Conductivity Color Map", "Coil #1 Inphase Color Map",
    "Coil #2 Conductivity Color Map",   "Coil #2 Inphase Color Map",      "Coil #3 Conductivity Color Map",
    "Coil #3 Inphase Color Map",        "Coil #4 Conductivity Color Map", "Coil #4 Inphase Color Map"};

struct ViewRow {
  InstrumentType instrument_type;
  Names names;  // the positions view and every view of the fullest set-up
};

constexpr std::array<ViewRow, 9> kRows{{
    {kEm31Mk2, kViewsEm31},
    {kEm38, kViewsEm38},
    {kEm34_3, kViewsEm34},
    {kEm38Mk2, kViewsEm38Mk2},
    {kEm38_4, kViewsCoils},
    {kCs21, kViewsCoils},
    {kEm61Mk2, kViewsMk2},
    {kEm61Lx2, kViewsLx2},
    {kGrad601, kViewsGrad601},
}};

Names names_of(InstrumentType type) {
  for (const ViewRow& r : kRows)
    if (r.instrument_type == type) return r.names;
  return kViewsEm31;
}

}  // namespace

ViewSetup view_setup(const Settings& s, InstrumentType instrument_type) {
  return {instrument_type, s.em38mk2_model, s.number_of_sensors, s.component};
}

int mapped_view_count(const ViewSetup& v) {
  switch (v.instrument_type) {
    case kEm38: return 2;
    case kEm38Mk2: return v.em38mk2_model == 1 ? 2 : 4;
    case kEm61Lx2: return v.number_of_sensors >= 1 ? 6 : 3;
    default: return static_cast<int>(names_of(v.instrument_type).size()) - 1;
  }
}

bool view_exists(const ViewSetup& v, int view) { return view >= 1 && view <= mapped_view_count(v); }

int usable_view(const ViewSetup& v, int view) {
  if (!view_exists(v, view)) return 0;
  if (has_trait(v.instrument_type, Trait::kComponentView)) return v.component == 1 ? 2 : 1;
  return view;
}

std::vector<std::string_view> colour_view_names(const ViewSetup& v) {
  const Names all = names_of(v.instrument_type);
  const int entries = has_trait(v.instrument_type, Trait::kComponentView) ? 2 : mapped_view_count(v) + 1;
  return {all.begin(), all.begin() + entries};
}

int list_entry_of_view(const ViewSetup& v, int view) {
  if (!view_exists(v, view)) return 0;
  return has_trait(v.instrument_type, Trait::kComponentView) ? 1 : view;
}

int view_of_list_entry(const ViewSetup& v, int entry) {
  if (has_trait(v.instrument_type, Trait::kComponentView)) return entry >= 1 ? usable_view(v, 1) : 0;
  return usable_view(v, entry);
}

}  // namespace quelor
