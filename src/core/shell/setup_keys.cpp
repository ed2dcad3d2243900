#include "shell/setup_keys.h"

#include <array>

#include "shell/setup_buttons.h"

namespace quelor {

namespace {

// Virtual-key codes of the keys the setup window reads.
constexpr std::uint64_t kVkTab = 0x09;
constexpr std::uint64_t kVkReturn = 0x0D;
constexpr std::uint64_t kVkLeft = 0x25;
constexpr std::uint64_t kVkUp = 0x26;
constexpr std::uint64_t kVkRight = 0x27;
constexpr std::uint64_t kVkDown = 0x28;

struct KeyCommand {
  std::uint64_t key;
  int command;
};

constexpr std::array<KeyCommand, 10> kLetterCommands{{
    {'L', kCommandLogging},
    {'S', kCommandSurveySetup},
    {'T', kCommandSystemSetup},
    {'E', kCommandGeometrySetup},
    {'G', kCommandGpsPortSetup},
    {'O', kCommandGpsMonitoring},
    {'M', kCommandMapOptions},
    {'P', kCommandProfilesOptions},
    {'R', kCommandResetToDefault},
    {'X', kCommandExit},
}};

bool valid_command(int command) { return command >= 0 && command < kSetupButtonCount; }

}  // namespace

SetupCommandDecision decode_setup_command(int focused_button, bool setup_in_front, std::uint64_t wparam) {
  SetupCommandDecision d{focused_button, kNoCommand};
  const int from_button = static_cast<int>(wparam & 0xFFFF) - kFirstSetupButtonId;
  if (valid_command(from_button)) d.command = from_button;
  if (!setup_in_front) return d;
  if (wparam == kVkTab || wparam == kVkRight || wparam == kVkDown) {
    d.focused_button = (focused_button + 1) % kSetupButtonCount;
    return d;
  }
  if (wparam == kVkLeft || wparam == kVkUp) {
    d.focused_button = (focused_button + kSetupButtonCount - 1) % kSetupButtonCount;
    return d;
  }
  if (wparam == kVkReturn) {
    d.command = valid_command(focused_button) ? focused_button : kNoCommand;
    return d;
  }
  for (const KeyCommand& k : kLetterCommands)
    if (k.key == wparam) d.command = k.command;
  return d;
}

}  // namespace quelor
