// Positions of readings between GPS fixes: table of cases.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "export/path_interpolation.h"

namespace quelor {
namespace {

PathEvent fix(std::uint32_t tick, double e, double n, int quality = 4) {
  PathEvent ev{PathEventKind::kFix, tick};
  ev.fix.tick = tick;
  ev.fix.easting = e;
  ev.fix.northing = n;
  ev.fix.geographic = true;
  ev.fix.latitude = n / 100.0;
  ev.fix.longitude = e / 100.0;
  ev.fix.quality = quality;
  return ev;
}
PathEvent reading(std::uint32_t tick) { return {PathEventKind::kReading, tick}; }
PathEvent brk() { return {PathEventKind::kBreak}; }

struct Expected {
  double easting, northing;
  int quality;
};

struct Case {
  const char* what;
  std::vector<PathEvent> events;
  std::vector<std::optional<Expected>> positions;  // per reading
};

TEST(PathInterpolation, TableOfCases) {
  const std::optional<Expected> none;
  const Case cases[] = {
      {"a quarter of the way", {fix(1000, 100, 200), reading(1250), fix(2000, 110, 180)}, {Expected{102.5, 195, 4}}},
      {"at a fix tick", {fix(1000, 100, 200), reading(1000), fix(2000, 110, 180)}, {Expected{100, 200, 4}}},
      {"at the last fix of the segment", {fix(1000, 100, 200), reading(1000)}, {Expected{100, 200, 4}}},
      {"before the first fix", {reading(500), fix(1000, 100, 200), fix(2000, 110, 180)}, {none}},
      {"after the last fix", {fix(1000, 100, 200), fix(2000, 110, 180), reading(2100)}, {none}},
      {"fixes exactly 5 s apart", {fix(1000, 0, 0), reading(3500), fix(6000, 10, 20)}, {Expected{5, 10, 4}}},
      {"fixes 5.001 s apart", {fix(1000, 0, 0), reading(3500), fix(6001, 10, 20)}, {none}},
      {"a remark between", {fix(1000, 0, 0), reading(1500), brk(), reading(1700), fix(2000, 10, 0)}, {none, none}},
      {"the lower quality", {fix(1000, 0, 0, 4), reading(1800), fix(2000, 10, 0, 2)}, {Expected{8, 0, 2}}},
      // The sentence begun at 1900 is logged after the reading of 1950 that
      // arrived while it was coming in: bracketed by 1900 and 2900.
      {"sentence logged after a later reading",
       {fix(900, 0, 0), reading(1950), fix(1900, 10, 0), fix(2900, 20, 0)},
       {Expected{10.5, 0, 4}}},
      {"two segments, each its own fixes",
       {fix(0, 0, 0), reading(500), fix(1000, 10, 0), brk(), fix(20000, 50, 50), reading(20250), fix(21000, 60, 50)},
       {Expected{5, 0, 4}, Expected{52.5, 50, 4}}},
      {"no fixes at all", {reading(10), reading(20)}, {none, none}},
  };
  for (const Case& c : cases) {
    const auto got = interpolate_readings(c.events);
    ASSERT_EQ(got.size(), c.positions.size()) << c.what;
    for (std::size_t i = 0; i < got.size(); ++i) {
      ASSERT_EQ(got[i].has_value(), c.positions[i].has_value()) << c.what << " reading " << i;
      if (!got[i]) continue;
      EXPECT_NEAR(got[i]->easting, c.positions[i]->easting, 1e-9) << c.what;
      EXPECT_NEAR(got[i]->northing, c.positions[i]->northing, 1e-9) << c.what;
      EXPECT_NEAR(got[i]->latitude, c.positions[i]->northing / 100.0, 1e-9) << c.what;
      EXPECT_NEAR(got[i]->longitude, c.positions[i]->easting / 100.0, 1e-9) << c.what;
      EXPECT_EQ(got[i]->quality, c.positions[i]->quality) << c.what;
    }
  }
}

}  // namespace
}  // namespace quelor
