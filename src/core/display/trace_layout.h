#pragma once
// Which profile window, scale and bar window each channel of a reading uses.
// The first component (conductivity, channel amplitude, gradient) uses the
// first readings scale and the BarQWnd bars; the in-phase channels of the
// EM31-MK2, EM38, EM38-MK2, EM38-4 and CS-21 use the second scale and the
// BarIWnd bars. The right coil of a two-coil EM61-LX2 has the second profile
// window.

#include <array>

namespace quelor {

inline constexpr int kMaxDisplayChannels = 8;

struct ChannelDisplay {
  int component = 1;       // 1 first scale / BarQWnd, 2 second scale / BarIWnd
  int profile_window = 0;  // 0 the first profile, 1 the second profile area
};

struct TraceLayout {
  std::array<ChannelDisplay, kMaxDisplayChannels> channels{};
  int count = 0;
};

TraceLayout trace_layout(int instrument_type, int channel_count, bool two_coils);

}  // namespace quelor
