#include "setup/em61_start_mode.h"

#include <cmath>

#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::uint32_t kDefaultPollingMs = 100;
constexpr double kLongestPollingMs = 60000.0;
constexpr int kAutoMode = 0;

}  // namespace

bool em61_polled_mode(const Settings& s, InstrumentType instrument_type) {
  if (!has_trait(instrument_type, Trait::kPolledReadings) || s.survey_mode != kAutoMode) return false;
  if (!(s.reading_interval > 0.0)) return false;
  return 1.0 / s.reading_interval >= kEm61PolledRateHz - 1e-9;
}

std::uint32_t em61_polling_interval_ms(const Settings& s) {
  if (!(s.reading_interval > 0.0) || !std::isfinite(s.reading_interval)) return kDefaultPollingMs;
  const double ms = std::round(s.reading_interval * 1000.0);
  if (ms < 1.0) return 1;
  return static_cast<std::uint32_t>(ms > kLongestPollingMs ? kLongestPollingMs : ms);
}

}  // namespace quelor
