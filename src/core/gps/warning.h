#pragma once
// The GPS warning test of each fix and the activity mark.

#include "gps/fix.h"
#include "settings/settings.h"

namespace quelor {

struct GpsWarningLimits {
  bool enabled = true;
  int minimum_satellites = 5;
  double maximum_dilution = 4.0;
  int minimum_quality_index = 1;  // 0 "Raw (AGPS)", 1 "DGPS", 2 "RTK 3", ...
};

GpsWarningLimits warning_limits(const GpsWarningMask& mask);

// Good when the warning is off or the format is Pseudo GGA, GLL or Pseudo
// GLL; otherwise satellites >= minimum, dilution <= maximum and quality >=
// minimum quality index + 1.
bool gps_fix_is_good(const GpsFix& fix, int format, const GpsWarningLimits& limits);

// "SOUND_GPSWARNING" is played for a fix that is not good when the warning
// sound is on and the GPS connection is not marked broken.
bool gps_warning_sound_due(bool fix_good, bool warning_sound_on, bool connection_broken);

// The activity mark toggles between '/' and '\' with every fix.
char next_activity_mark(char mark);

}  // namespace quelor
