#include "background/unit_factors.h"

#include "background/load_options.h"
#include "gps/units.h"

namespace quelor {

namespace {

// Metres per unit of the file's coordinates, by coordinates type.
constexpr double kSourceMetres[] = {1.0, 1.0, kInternationalFoot, kUsSurveyFoot};

}  // namespace

double background_unit_factor(int coordinates, int map_units) {
  const int c = coordinates >= kGeodetic && coordinates <= kUtmUsFeet ? coordinates : kUtmMetres;
  const double source = kSourceMetres[c];
  const double target = metres_per_unit(map_units);
  return source == target ? 1.0 : source / target;
}

}  // namespace quelor
