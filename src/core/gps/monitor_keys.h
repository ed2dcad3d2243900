#pragma once
// The GPS monitor's four buttons ("&Go" and "&Pause" share one place, only
// one shown) and its keys.

#include <cstdint>

namespace quelor {

enum MonitorButton : int { kMonitorGo = 0, kMonitorPause = 1, kMonitorSend = 2, kMonitorExit = 3 };
inline constexpr int kMonitorNoButton = -1;

// The next (or previous) button round the visible three.
int next_monitor_button(int selected, bool pause_shown, bool forward);

struct MonitorKeyDecision {
  int selected = kMonitorPause;  // the selected button after the key
  int press = kMonitorNoButton;  // the button the key presses
};

// Tab, Right, Down: next; Left, Up: previous; Enter presses the selected
// one; G, P, S, X (either case) press "&Go", "&Pause", "&Send", "E&xit".
// "&Go" or "&Pause" pressed while hidden does nothing.
MonitorKeyDecision decode_monitor_key(int selected, bool pause_shown, std::uint32_t key);

}  // namespace quelor
