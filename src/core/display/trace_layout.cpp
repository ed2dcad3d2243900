#include "display/trace_layout.h"

#include <algorithm>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

namespace {

using W = ProfileWindow;

struct PlanRow {
  int type;
  int sensors;  // 0 any, 1 one sensor, 2 two sensors
  ProfilePlan plan;
  std::string_view slots;       // per channel: the slot of its profile window
  std::string_view components;  // per channel: its scale and bar window
};

constexpr ProfilePlan kQuadratureInphase{{{{W::kFirst, 1}, {W::kDecay, 2}}}, 2, true};
constexpr ProfilePlan kFirstOnly{{{{W::kFirst, 1}, {W::kFirst, 1}}}, 1, false};
constexpr ProfilePlan kGroups{{{{W::kSecond, 1}, {W::kThird, 2}}}, 2, false};
constexpr ProfilePlan kSensors{{{{W::kSecond, 1}, {W::kThird, 1}}}, 2, false};
constexpr ProfilePlan kOneSensor{{{{W::kSecond, 1}, {W::kThird, 1}}}, 1, false};

constexpr PlanRow kRows[] = {
    {kEm31Mk2, 0, kQuadratureInphase, "01010101", "12121212"},
    {kEm38, 0, kQuadratureInphase, "01010101", "12121212"},
    {kEm38Mk2, 0, kQuadratureInphase, "01010101", "12121212"},
    {kEm34_3, 0, kFirstOnly, "00000000", "11111111"},
    {kEm61Mk2, 0, kFirstOnly, "00000000", "11111111"},
    {kEm38_4, 0, kGroups, "01010101", "12121212"},
    {kCs21, 0, kGroups, "01010101", "12121212"},
    {kEm61Lx2, 2, kSensors, "00011100", "11111111"},  // left E L F | right E L F
    {kEm61Lx2, 1, kSensors, "00100000", "11111111"},  // gates E L | filtered F
    {kGrad601, 2, kSensors, "01000000", "11111111"},
    {kGrad601, 1, kOneSensor, "00000000", "11111111"},
};

const PlanRow& row_of(InstrumentType type, bool two_sensors) {
  const int sensors = two_sensors ? 2 : 1;
  for (const PlanRow& r : kRows)
    if (r.type == type && (r.sensors == 0 || r.sensors == sensors)) return r;
  return kRows[0];
}

}  // namespace

ProfilePlan profile_plan(InstrumentType type, bool two_sensors) { return row_of(type, two_sensors).plan; }

TraceLayout trace_layout(InstrumentType type, int channel_count, bool two_sensors, bool first_is_inphase) {
  const PlanRow& row = row_of(type, two_sensors);
  TraceLayout t;
  t.plan = row.plan;
  t.count = std::clamp(channel_count, 0, kMaxDisplayChannels);
  for (int i = 0; i < t.count; ++i) {
    ChannelDisplay& c = t.channels[static_cast<std::size_t>(i)];
    c.slot = std::min(row.slots[static_cast<std::size_t>(i)] - '0', t.plan.count - 1);
    c.component = row.components[static_cast<std::size_t>(i)] - '0';
    c.trace = i;
  }
  if (first_is_inphase && t.count > 0 && t.plan.bars) t.channels[0] = {2, 1, 1};
  return t;
}

}  // namespace quelor
