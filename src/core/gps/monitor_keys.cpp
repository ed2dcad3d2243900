#include "gps/monitor_keys.h"

namespace quelor {

namespace {

constexpr std::uint32_t kTab = 0x09, kEnter = 0x0D, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;

bool shown(int button, bool pause_shown) {
  if (button == kMonitorGo) return !pause_shown;
  if (button == kMonitorPause) return pause_shown;
  return button == kMonitorSend || button == kMonitorExit;
}

int letter_button(std::uint32_t key) {
  switch (key) {
    case 'G':
    case 'g': return kMonitorGo;
    case 'P':
    case 'p': return kMonitorPause;
    case 'S':
    case 's': return kMonitorSend;
    case 'X':
    case 'x': return kMonitorExit;
    default: return kMonitorNoButton;
  }
}

}  // namespace

int next_monitor_button(int selected, bool pause_shown, bool forward) {
  int b = selected;
  for (int step = 0; step < 4; ++step) {
    b = (b + (forward ? 1 : 3)) % 4;
    if (shown(b, pause_shown)) return b;
  }
  return selected;
}

MonitorKeyDecision decode_monitor_key(int selected, bool pause_shown, std::uint32_t key) {
  MonitorKeyDecision d{selected, kMonitorNoButton};
  if (key == kTab || key == kRight || key == kDown) {
    d.selected = next_monitor_button(selected, pause_shown, true);
  } else if (key == kLeft || key == kUp) {
    d.selected = next_monitor_button(selected, pause_shown, false);
  } else if (key == kEnter) {
    d.press = shown(selected, pause_shown) ? selected : kMonitorNoButton;
  } else {
    const int b = letter_button(key);
    if (b != kMonitorNoButton && shown(b, pause_shown)) d.press = b;
  }
  return d;
}

}  // namespace quelor
