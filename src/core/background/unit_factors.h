#pragma once
// Coordinates of a background text file in the survey's map unit. Geodetic
// positions are projected to UTM metres first and then treated as UTM meters.

namespace quelor {

// The factor that turns one value of the given coordinates type (0 geodetic
// after projection, 1 UTM meters, 2 UTM feet, 3 UTM US Feet) into the map
// unit (0 metres, 1 feet, 2 US survey feet). Feet and US feet are related by
// the exact ratio of their lengths in metres.
double background_unit_factor(int coordinates, int map_units);

}  // namespace quelor
