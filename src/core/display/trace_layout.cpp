#include "display/trace_layout.h"

#include <algorithm>

#include "variant/variant.h"

namespace quelor {

TraceLayout trace_layout(int type, int channel_count, bool two_coils) {
  TraceLayout t;
  t.count = std::clamp(channel_count, 0, kMaxDisplayChannels);
  const bool in_phase_pairs = type == kEm31Mk2 || type == kEm38 || type == kEm34_3 || type == kEm38Mk2 ||
                              type == kEm38_4 || type == kCs21;
  for (int i = 0; i < t.count; ++i) {
    ChannelDisplay& c = t.channels[static_cast<std::size_t>(i)];
    c.component = in_phase_pairs && i % 2 == 1 ? 2 : 1;
    c.profile_window = type == kEm61Lx2 && two_coils && i >= 3 ? 1 : 0;
  }
  return t;
}

}  // namespace quelor
