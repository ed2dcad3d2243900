#pragma once
// The eight decoded channel values of a reading, each with a "present" flag.
// EM31-MK2, EM38, EM38-MK2: 0 V conductivity, 1 H conductivity, 2 V in-phase,
// 3 H in-phase, 4-7 the same for the EM38-MK2's second coil. EM34-3: 0-2
// vertical 10/20/40 m, 3-5 horizontal 10/20/40 m.

#include <array>

namespace quelor {

struct ChannelSlots {
  std::array<double, 8> value{};
  std::array<bool, 8> present{};
};

inline void set_slot(ChannelSlots& slots, int index, double v) {
  slots.value[index] = v;
  slots.present[index] = true;
}

}  // namespace quelor
