#include "gps/survey_zone.h"

namespace quelor {

SurveyZone make_survey_zone(int zone_setting) {
  SurveyZone survey;
  survey.setting = zone_setting >= 1 && zone_setting <= 60 ? zone_setting : kAutomaticZone;
  return survey;
}

GridPoint project_survey_position(SurveyZone& survey, double latitude_deg, double longitude_deg) {
  GridPoint p;
  if (!survey.fixed) {
    // The first fix: the automatic zone comes from its longitude (flag 0).
    p.zone = survey.setting;
    project(latitude_deg, longitude_deg, p.zone, p.northing, p.easting, survey.setting == kAutomaticZone ? 0 : 1);
    survey.fixed = true;
    survey.zone = p.zone;
    survey.first_latitude = latitude_deg;
    survey.first_longitude = longitude_deg;
    return p;
  }
  p.zone = survey.zone;
  project(latitude_deg, longitude_deg, p.zone, p.northing, p.easting, 1);
  return p;
}

void project_fix(SurveyZone& survey, GpsFix& fix) {
  if (!fix.valid || !fix.geographic) return;
  const GridPoint p = project_survey_position(survey, fix.latitude, fix.longitude);
  fix.zone = p.zone;
  fix.northing = p.northing;
  fix.easting = p.easting;
}

}  // namespace quelor
