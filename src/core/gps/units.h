#pragma once
// Grid units: metres internally; international feet (0.3048 m) or US survey
// feet (0.304800609601219 m) as the working unit of a survey and as the unit
// of the grid read-out.

#include <string>

namespace quelor {

// Working unit of stored and mapped grid values (`map units`).
enum WorkingUnit : int { kUnitMetres = 0, kUnitFeet = 1, kUnitUsFeet = 2 };

// Display unit of the grid read-out (`coordinates display`): 0 none.
enum GridDisplayUnit : int {
  kDisplayGeodetic = 0,
  kDisplayMetres = 1,
  kDisplayFeet = 2,
  kDisplayUsFeet = 3,
};

// RTS units setting: the foot a total station sends when it sends feet.
enum RtsUnits : int { kRtsInternationalFeet = 0, kRtsUsSurveyFeet = 1 };

inline constexpr double kInternationalFoot = 0.3048;
inline constexpr double kUsSurveyFoot = 0.304800609601219;
// Metres to feet for grid values sent by a total station.
inline constexpr double kFeetPerMetre = 3.28084;
inline constexpr double kUsFeetPerMetre = 3.2808333333333355;

// Metres per unit: 1, 0.3048 or 0.304800609601219 (metres for anything else).
double metres_per_unit(int working_unit);

// Projected grid value (metres) in the working unit: divided by the foot.
double metres_to_working_unit(double metres, int working_unit);

// Grid value sent by a total station (metres) in the working unit:
// multiplied by 3.28084 or 3.2808333333333355.
double rts_metres_to_working_unit(double metres, int working_unit);

// Feet sent by a total station to metres, by the RTS units setting.
double rts_feet_to_metres(double feet, int rts_units);

// "%12.2f m", "%12.2f ft" or "%12.2f USft" of a metre value; empty for
// display unit 0 (no grid read-out) or an unknown unit.
std::string grid_readout_text(double metres, int display_unit);

}  // namespace quelor
