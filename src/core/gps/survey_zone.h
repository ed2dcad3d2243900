#pragma once
// The grid zone of a survey: a zone setting of 1...60 is used as given; the
// automatic setting (-9) lets the first valid fix choose the zone, which then
// holds for the rest of the survey even when later fixes cross a boundary.

#include "gps/fix.h"
#include "gps/projection.h"

namespace quelor {

struct SurveyZone {
  int setting = kAutomaticZone;  // -9 automatic, else 1...60
  bool fixed = false;            // the first fix has set the zone in use
  int zone = 0;                  // the zone in use once fixed
  double first_latitude = 0.0;   // the survey's first geographic position
  double first_longitude = 0.0;
};

SurveyZone make_survey_zone(int zone_setting);

// Projects one valid geographic fix of the survey into its zone.
GridPoint project_survey_position(SurveyZone& survey, double latitude_deg, double longitude_deg);

// Projects a valid geographic fix and stores zone, northing and easting in
// it; other fixes are left as they are.
void project_fix(SurveyZone& survey, GpsFix& fix);

}  // namespace quelor
