#pragma once
// Which profile window, scale and bar each channel of a reading uses.
//
// The profile area holds one or two profile windows stacked, each drawing
// its traces against the scale of one component:
// - EM61-LX2, Grad601, EM38-4 and CS-21 use the second and third `CurveWnd`
//   (one per sensor or coil group) and never the first: EM61-LX2 two coils
//   left | right; one coil the time gates E, L | the filtered F; Grad601 two
//   sensors sensor 1 | sensor 2 (one sensor: the second window alone);
//   EM38-4 and CS-21 the groups of their channel selectors, channels 1, 3,
//   5, 7 | 2, 4, 6, 8 (conductivity | in-phase).
// - EM31-MK2, EM38 and EM38-MK2, which read quadrature and in-phase: the
//   first `CurveWnd` for conductivity with the BarQWnd gauges beside it, the
//   decay window for in-phase with the BarIWnd gauges beside it.
// - EM34-3 and EM61-MK2: the first `CurveWnd` alone.

#include <array>

#include "variant/variant.h"

namespace quelor {

inline constexpr int kMaxDisplayChannels = 8;
inline constexpr int kMaxProfileSlots = 2;

// The logging window's profile windows.
enum class ProfileWindow : int { kFirst, kDecay, kSecond, kThird };

struct ProfileSlot {
  ProfileWindow window = ProfileWindow::kFirst;
  int component = 1;  // the scale its lines and traces use
};

// The profile windows of an instrument, top to bottom, and whether each has
// its bar gauges beside it (BarQWnd beside the first, BarIWnd the second).
struct ProfilePlan {
  std::array<ProfileSlot, kMaxProfileSlots> slots{};
  int count = 1;
  bool bars = false;
};

ProfilePlan profile_plan(InstrumentType instrument_type, bool two_sensors);

// `trace`: the trace, bar gauge and colour the value continues. It is the
// channel's index except for an EM38 in-phase record, whose value continues
// trace 1 (the in-phase trace, as the EM31-MK2's second value): a trace, and
// the state of its bar, always belong to one window and one scale.
struct ChannelDisplay {
  int component = 1;  // 1 first scale / BarQWnd, 2 second scale / BarIWnd
  int slot = 0;       // index into ProfilePlan::slots
  int trace = 0;
};

struct TraceLayout {
  ProfilePlan plan;
  std::array<ChannelDisplay, kMaxDisplayChannels> channels{};
  int count = 0;
};

// `first_is_inphase`: the reading's first value is an in-phase value (an
// EM38 in-phase record): it goes to the decay window on the second scale,
// to the BarIWnd gauge and to trace 1, as every in-phase value does.
TraceLayout trace_layout(InstrumentType instrument_type, int channel_count, bool two_sensors,
                         bool first_is_inphase = false);

}  // namespace quelor
