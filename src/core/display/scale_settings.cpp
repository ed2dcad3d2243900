#include "display/scale_settings.h"

#include "display/profile_scale.h"
#include "display/speed_bar.h"

namespace quelor {

namespace {

bool accept(std::array<double, 2>& scale) {
  const ScaleLimits l = accepted_scale(scale[0], scale[1]);
  if (l.maximum == scale[1]) return false;
  scale[1] = l.maximum;
  return true;
}

}  // namespace

bool accept_display_scales(Settings& s) {
  bool changed = accept(s.profile_scale_1);
  changed = accept(s.profile_scale_2) || changed;
  const double speed = accepted_speed_maximum(s.speed_scale_maximum, {0.0, Settings{}.speed_scale_maximum});
  if (speed != s.speed_scale_maximum) {
    s.speed_scale_maximum = speed;
    changed = true;
  }
  return changed;
}

}  // namespace quelor
