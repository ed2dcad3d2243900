#pragma once
// Positions of readings from the GPS fixes around them: linear in the tick
// between the last fix at or before the reading and the first fix at or
// after it, within one path segment. Segments end at every break (a remark,
// a pause, a line or header block); a reading without a fix on either side
// in its segment, or between fixes more than the gap limit apart, has no
// position. Nothing is ever extrapolated.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quelor {

inline constexpr std::uint32_t kMaxFixGapMs = 5000;

struct PathFix {
  std::uint32_t tick = 0;
  double easting = 0.0;  // metres, in the survey's zone
  double northing = 0.0;
  bool geographic = false;  // latitude and longitude known
  double latitude = 0.0;
  double longitude = 0.0;
  int quality = 0;
  int satellites = 0;
  double dilution = 0.0;
  double time_of_day = 0.0;  // seconds since midnight, as the sentence says
};

enum class PathEventKind { kFix, kReading, kBreak };

struct PathEvent {
  PathEventKind kind = PathEventKind::kReading;
  std::uint32_t tick = 0;  // readings; fixes carry theirs in `fix`
  PathFix fix{};
};

struct PathPosition {
  double easting = 0.0;
  double northing = 0.0;
  bool geographic = false;
  double latitude = 0.0;
  double longitude = 0.0;
  int quality = 0;  // the lower of the two fixes' qualities
};

// The position of a reading at `tick` among the fixes of its path segment,
// sorted by tick (sort_by_tick: a sentence is logged once it has fully
// arrived, so readings and fixes are not always in tick order in the file).
std::optional<PathPosition> position_at(std::span<const PathFix> sorted_fixes, std::uint32_t tick,
                                        std::uint32_t max_gap_ms = kMaxFixGapMs);
void sort_by_tick(std::vector<PathFix>& fixes);

// One entry per kReading event, in order.
std::vector<std::optional<PathPosition>> interpolate_readings(std::span<const PathEvent> events,
                                                              std::uint32_t max_gap_ms = kMaxFixGapMs);

}  // namespace quelor
