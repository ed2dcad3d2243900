#include "setup/em61_start_mode.h"

#include <gtest/gtest.h>

#include <limits>

#include "variant/variant.h"

namespace quelor {
namespace {

TEST(Em61StartMode, PolledFromTenReadingsASecondInAuto) {
  struct Case {
    InstrumentType type;
    int mode;
    double interval;
    bool polled;
    std::uint32_t polling_ms;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {kEm61Mk2, 0, 0.2, false, 200}, {kEm61Mk2, 0, 0.1, true, 100},  {kEm61Mk2, 0, 0.05, true, 50},
      {kEm61Mk2, 1, 0.05, false, 50}, {kEm61Mk2, 2, 0.05, false, 50}, {kEm61Lx2, 0, 0.05, false, 50},
      {kEm31Mk2, 0, 0.05, false, 50}, {kEm61Mk2, 0, 0.0, false, 100}, {kEm61Mk2, 0, -1.0, false, 100},
      {kEm61Mk2, 0, nan, false, 100}, {kEm61Mk2, 0, 0.0001, true, 1}, {kEm61Mk2, 0, 1e9, false, 60000},
  };
  for (const Case& c : cases) {
    Settings s;
    s.survey_mode = c.mode;
    s.reading_interval = c.interval;
    EXPECT_EQ(em61_polled_mode(s, c.type), c.polled) << c.type << " " << c.mode << " " << c.interval;
    EXPECT_EQ(em61_polling_interval_ms(s), c.polling_ms) << c.interval;
  }
}

}  // namespace
}  // namespace quelor
