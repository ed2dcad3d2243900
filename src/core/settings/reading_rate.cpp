#include "settings/reading_rate.h"

#include <cmath>

namespace quelor {

double usable_reading_rate(double rate) {
  return rate > 0.0 && std::isfinite(rate) && std::isfinite(1.0 / rate) ? rate : kFallbackReadingRate;
}

double usable_reading_interval(double interval) {
  switch (std::fpclassify(interval)) {
    case FP_SUBNORMAL:
    case FP_INFINITE:
    case FP_NAN: return 1.0 / kFallbackReadingRate;
    default: return interval;
  }
}

}  // namespace quelor
