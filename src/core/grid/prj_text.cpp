#include "grid/prj_text.h"

#include <algorithm>
#include <cstdio>

#include "gps/units.h"

namespace quelor {

namespace {

struct LinearUnit {
  const char* name;
  double metres;
};
constexpr LinearUnit kLinearUnits[] = {{"Meter", 1.0}, {"Foot", kInternationalFoot}, {"Foot_US", kUsSurveyFoot}};

}  // namespace

std::string utm_prj_text(int zone, bool south, int map_units) {
  if (zone < 1 || zone > 60) return {};
  const LinearUnit& u = kLinearUnits[std::clamp(map_units, 0, 2)];
  const char* suffix = map_units == kUnitMetres ? "" : map_units == kUnitFeet ? "_ft" : "_ftUS";
  char text[800];
  std::snprintf(text, sizeof text,
                "PROJCS[\"WGS_1984_UTM_Zone_%d%c%s\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\","
                "SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],PRIMEM[\"Greenwich\",0.0],"
                "UNIT[\"Degree\",0.0174532925199433]],PROJECTION[\"Transverse_Mercator\"],"
                "PARAMETER[\"False_Easting\",%.17g],PARAMETER[\"False_Northing\",%.17g],"
                "PARAMETER[\"Central_Meridian\",%d.0],PARAMETER[\"Scale_Factor\",0.9996],"
                "PARAMETER[\"Latitude_Of_Origin\",0.0],UNIT[\"%s\",%.15g]]",
                zone, south ? 'S' : 'N', suffix, 500000.0 / u.metres, south ? 10000000.0 / u.metres : 0.0,
                6 * zone - 183, u.name, u.metres);
  return text;
}

}  // namespace quelor
