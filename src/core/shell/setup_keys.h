#pragma once
// Decoding of the setup window's buttons and keys into its ten commands.

#include <cstdint>

namespace quelor {

inline constexpr int kNoCommand = -1;

// Setup commands, numbered like the buttons (id - 420).
enum SetupCommand : int {
  kCommandLogging = 0,
  kCommandSurveySetup,
  kCommandSystemSetup,
  kCommandGeometrySetup,  // "Alarms S&etup" on EM61-LX2
  kCommandGpsPortSetup,
  kCommandGpsMonitoring,
  kCommandMapOptions,
  kCommandProfilesOptions,
  kCommandResetToDefault,
  kCommandExit,
};

struct SetupCommandDecision {
  int focused_button = 0;  // 0..9, carries the default-button style
  int command = kNoCommand;
};

// wparam is read as a button id (its low word - 420) and, while the setup
// window is in front (setup state 0), also as an upper-case virtual-key code:
// Tab/Right/Down and Left/Up move the focused button round the ten, Enter
// presses it, the underlined letters choose their command.
SetupCommandDecision decode_setup_command(int focused_button, bool setup_in_front, std::uint64_t wparam);

}  // namespace quelor
