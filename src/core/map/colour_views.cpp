#include "map/colour_views.h"

#include <array>

#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::array<std::string_view, 2> kViewsGrad601{"Sensors Positions, No Color Image",
                                                   "Color Map View of Sensors Readings"};
constexpr std::array<std::string_view, 4> kViewsLx2{"Sensor Positions, No Color Image", "Colour Map View of Early Channel E",
                                               "Colour Map View of Late Channel L",
                                               "Colour Map View of Filtered Channel F"};
constexpr std::array<std::string_view, 5> kViewsMk2{"Sensor Positions, No Color Image", "Colour Map View of Channel 1",
                                               "Colour Map View of Channel 2", "Colour Map View of Channel 3",
                                               "Colour Map View of Channel 4/T"};
constexpr std::array<std::string_view, 3> kViewsEm31{"Sensor Positions, No Color Image", "Conductivity Color Map",
                                                "Inphase Color Map"};
constexpr std::array<std::string_view, 2> kViewsEm38{"Sensor Positions, No Color Image", "Map of Selected Component/Dipole"};
constexpr std::array<std::string_view, 2> kViewsEm34{"Sensor Positions, No Color Image", "Conductivity Color Map"};
constexpr std::array<std::string_view, 5> kViewsEm38Mk2{"Sensor Positions, No Color Image", "Conductivity 1.0m Color Map",
                                                   "Inphase 1.0m Color Map", "Conductivity 0.5 m Color Map",
                                                   "Inphase 0.5m Color Map"};
constexpr std::array<std::string_view, 9> kViewsEm38_4{
    "Sensor Positions, No Color Image", "Coil #1 Conductivity Color Map", "Coil #1 Inphase Color Map",
    "Coil #2 Conductivity Color Map",   "Coil #2 Inphase Color Map",      "Coil #3 Conductivity Color Map",
    "Coil #3 Inphase Color Map",        "Coil #4 Conductivity Color Map", "Coil #4 Inphase Color Map"};

}  // namespace

std::span<const std::string_view> colour_view_names(int type) {
  switch (type) {
    case kGrad601: return kViewsGrad601;
    case kEm61Lx2: return kViewsLx2;
    case kEm61Mk2: return kViewsMk2;
    case kEm38: return kViewsEm38;
    case kEm34_3: return kViewsEm34;
    case kEm38Mk2: return kViewsEm38Mk2;
    case kEm38_4: return kViewsEm38_4;
    default: return kViewsEm31;  // EM31-MK2; CS-21: its conductivity and in-phase pairs
  }
}

int colour_view_count(int type) { return static_cast<int>(colour_view_names(type).size()); }

}  // namespace quelor
