#include "map/colour_class.h"

#include <cmath>

namespace quelor {

int colour_step(double value, double minimum, double class_width) {
  if (!(class_width > 0.0) || !std::isfinite(class_width)) return 0;
  const double step = std::trunc((value - minimum) / class_width);
  if (!(step > 0.0)) return 0;  // also NaN
  if (step >= kColourClasses) return kColourClasses;
  return static_cast<int>(step);
}

int colour_class(double value, double minimum, double maximum) {
  return colour_step(value, minimum, (maximum - minimum) / kColourClassCount);
}

}  // namespace quelor
