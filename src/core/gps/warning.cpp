#include "gps/warning.h"

#include "gps/formats.h"

namespace quelor {

GpsWarningLimits warning_limits(const GpsWarningMask& mask) {
  return GpsWarningLimits{mask.warning_selection != 0, mask.minimum_satellites, mask.threshold, mask.quality_selection};
}

bool gps_fix_is_good(const GpsFix& fix, int format, const GpsWarningLimits& limits) {
  if (!limits.enabled) return true;
  if (format == kFormatPseudoGga || format == kFormatGll || format == kFormatPseudoGll) return true;
  return fix.satellites >= limits.minimum_satellites && fix.dilution <= limits.maximum_dilution &&
         fix.quality >= limits.minimum_quality_index + 1;
}

bool gps_warning_sound_due(bool fix_good, bool warning_sound_on, bool connection_broken) {
  return !fix_good && warning_sound_on && !connection_broken;
}

char next_activity_mark(char mark) { return mark == '/' ? '\\' : '/'; }

}  // namespace quelor
