#pragma once
// The left and right edge of the swept strip relative to the GPS antenna,
// as the map draws it, from the swath choice, the sensor geometry and the
// antenna X offset.

#include <optional>

#include "settings/settings.h"

namespace quelor {

struct SwathEdges {
  double left = 0.0;
  double right = 0.0;
};

// Swath width of the Map Options choice 0..7 (0.25 .. 10 m); 1 m outside.
double swath_choice_width(int swath_option);

// EM61 coil width: EM61-MK2 by sensor size (0.5 m for "0.5 x 1.0 m" and
// "0.5 x 0.5 m", 0.2 m hand held, else 1 m); EM61-LX2 1.03 m for one sensor,
// 2.06 m for two.
double em61_base_width(const Settings& s, int instrument_type);

// EM61 swath factor: 2 for option 11, else 0.1 x option + 0.5.
double em61_swath_factor(int swath_option);

// Left = w / 2 + GPS X offset, right = w - left; EM61 edges in feet when the
// map units are not metres. Nothing for DualEM CS-21 and Grad601 (the
// Grad601 sensor layout has its own edges).
std::optional<SwathEdges> swath_edges(const Settings& s, int instrument_type);

// The EM61 N.C.C. model flag: EM61-MK2 models 2 and 3, EM61-LX2 model 1
// (the second entry of its two-entry list).
bool ncc_model(int instrument_type, int model);

}  // namespace quelor
