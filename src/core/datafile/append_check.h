#pragma once
// The check that an existing data file of this program may be continued with
// the current settings: the first four records against the set-up. The first
// failing step gives the operator's message; nothing is written.

#include <functional>
#include <optional>
#include <string_view>

#include "datafile/message_box.h"
#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

struct GridPosition {
  double easting = 0.0;  // metres
  double northing = 0.0;
};

// Projection of a geographic position into a given UTM zone (metres); the
// program plugs the GPS projection in.
using ProjectToZone = std::function<GridPosition(double latitude, double longitude, int zone)>;

struct AppendSituation {
  bool have_valid_fix = false;  // a valid GPS position was received
  int current_zone = 0;         // the survey's UTM zone (from its first fix)
  double first_latitude = 0.0;  // the survey's first geographic fix
  double first_longitude = 0.0;
  ProjectToZone project;
};

struct AppendCheckResult {
  bool passed = false;
  std::optional<OperatorMessage> message;  // shown when the check fails
  // A neighbouring zone: the survey adopts the file's zone and the first fix,
  // projected into it and expressed in map units, becomes the map origin.
  std::optional<int> adopted_zone;
  std::optional<GridPosition> origin;
};

// 0 metres, 1 international feet, 2 US survey feet: metres per unit.
double metres_per_map_unit(int map_units);

// Zones equal, or neighbours (differ by 1; 1 and 60 are neighbours).
bool zones_compatible(int file_zone, int current_zone);

// `head`: the first bytes of the file (at least four records when present).
AppendCheckResult check_append(const Variant& v, std::string_view head, const Settings& settings,
                               const AppendSituation& situation);

}  // namespace quelor
