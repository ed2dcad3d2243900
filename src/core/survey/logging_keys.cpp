#include "survey/logging_keys.h"

#include <array>
#include <optional>

#include "survey/command_table.h"
#include "survey/popup_menus.h"
#include "survey/survey_state.h"
#include "variant/variant.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr std::uint32_t kVkTab = 0x09, kVkReturn = 0x0D, kVkSpace = 0x20, kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27,
                        kVkDown = 0x28, kVkF2 = 0x71, kVkF3 = 0x72, kVkAdd = 0x6B, kVkSubtract = 0x6D,
                        kVkOemPlus = 0xBB, kVkOemMinus = 0xBD;

// Popup menus: {instrument, menu in Stand By and Logging, menu in Monitoring}.
struct PopupMenus {
  InstrumentType instrument_type;
  int logging_menu;
  int monitoring_menu;
};
constexpr std::array<PopupMenus, 9> kPopupMenus{{{kEm31Mk2, 496, 495},
                                                 {kEm38, 496, 495},
                                                 {kEm34_3, 496, 495},
                                                 {kGrad601, 496, 495},
                                                 {kEm61Lx2, 492, 491},
                                                 {kEm61Mk2, 494, 493},
                                                 {kEm38Mk2, 498, 497},
                                                 {kEm38_4, 490, 497},
                                                 {kCs21, 490, 497}}};

// When a key row applies.
enum class When { kAlways, kNotReview, kReview, kStandByNotReview };

// Letter keys of the table that map to one code under one condition.
struct LetterKey {
  std::uint32_t key;
  When when;
  int command;
};
constexpr std::array<LetterKey, 16> kLetterKeys{{
    {'A', When::kNotReview, kCmdScaleReadings},
    {'B', When::kNotReview, kCmdScaleSpeedBar},
    {'C', When::kStandByNotReview, kCmdComment},
    {'G', When::kStandByNotReview, kCmdFileGoPause},
    {kVkF2, When::kStandByNotReview, kCmdFileGoPause},
    {'I', When::kNotReview, kCmdEnterReview},
    {'M', When::kNotReview, kCmdMenu},
    {kVkF3, When::kNotReview, kCmdMenu},
    {'N', When::kStandByNotReview, kCmdNewStation},
    {'O', When::kNotReview, kCmdProfileOptions},
    {'Q', When::kStandByNotReview, kCmdMapSizeNullQLine},
    {'S', When::kNotReview, kCmdMapSize},
    {'T', When::kNotReview, kCmdCoordinatesUnits},
    {'U', When::kNotReview, kCmdNulling},
    {'V', When::kNotReview, kCmdEnterBackground},
    {'W', When::kNotReview, kCmdGpsWarningMask},
}};

bool applies(When when, const KeyContext& c) {
  switch (when) {
    case When::kAlways: return true;
    case When::kNotReview: return !c.review;
    case When::kReview: return c.review;
    case When::kStandByNotReview: return c.state == kStateStandBy && !c.review;
  }
  return false;
}

KeyDecision command(int code) { return {KeyEffect::kCommand, code}; }

bool is_digit_or_arrow(std::uint32_t key) { return (key >= '0' && key <= '9') || (key >= kVkLeft && key <= kVkDown); }

bool is_pause_key(int pause_key, std::uint32_t key) {
  switch (pause_key) {
    case 1: return key == kVkReturn;
    case 2: return key == kVkSpace;
    case 3: return key == 'P';
    default: return true;
  }
}

// A letter of an open popup menu: its item's command where the instrument's
// menu offers the item (the CS-21 has no calibration), else nothing.
KeyDecision menu_item(const KeyContext& c, int code) {
  const CommandRow* row = find_command(code);
  return row && popup_item_offered(c.instrument_type, row->menu_id) ? command(code) : KeyDecision{};
}

// Arrow keys and the letters that share their codes.
std::optional<KeyDecision> map_key(const KeyContext& c, std::uint32_t key) {
  const bool menu = c.popup_menu && !c.review;
  switch (key) {
    case kVkLeft: return c.popup_menu ? KeyDecision{} : command(kCmdMapLeft);
    case 'L': return menu ? menu_item(c, kCmdCalibration) : command(kCmdMapLeft);
    case kVkUp:
    case 'P': return command(kCmdMapUp);
    case kVkRight: return c.popup_menu ? KeyDecision{} : command(kCmdMapRight);
    case 'R': return menu ? menu_item(c, kCmdRemoveCalibration) : command(kCmdMapRight);
    case kVkDown: return c.popup_menu ? KeyDecision{} : command(kCmdMapDown);
    case 'D': return command(menu ? kCmdAudioOptions : kCmdMapDown);
    case kVkOemPlus:
    case kVkAdd: return c.review ? command(kCmdZoomIn) : KeyDecision{};
    case kVkOemMinus:
    case kVkSubtract: return c.review ? command(kCmdZoomOut) : KeyDecision{};
    case 'E':
      if (c.review) return command(kCmdExitReview);
      return c.state == kStateStandBy ? command(kCmdNewLine) : KeyDecision{};
    case 'F':
      if (c.review) return command(kCmdFitAll);
      return c.state == kStateMonitoring ? command(kCmdFileGoPause) : KeyDecision{};
    case 'X': return command(kCmdExit);
    case 'Y': return c.review ? KeyDecision{} : command(kCmdMapDisplayOptions);
    default: return std::nullopt;
  }
}

}  // namespace

int command_of_control(int id, int selector_count) {
  if (id >= kFirstLoggingButtonId && id < kFirstLoggingButtonId + kLoggingButtonCount)
    return id - kFirstLoggingButtonId;
  if (id >= 470 && id <= 478) return id - 357;
  const int selectors = selector_count < kMaxChannelCommands ? selector_count : kMaxChannelCommands;
  if (id >= 480 && id < 480 + selectors) return id - 338;
  return command_of_menu_item(id);
}

StateCommand state_command(int code, int state, InstrumentType instrument_type) {
  switch (code) {
    case kCmdFileGoPause:
      if (state == kStateMonitoring) return StateCommand::kFile;
      if (state == kStateStandBy) return StateCommand::kGo;
      return state == kStateLogging ? StateCommand::kPause : StateCommand::kNone;
    case kCmdMapSizeNullQLine:
      if (state == kStateMonitoring) return is_em61(instrument_type) ? StateCommand::kNulling : StateCommand::kMapSize;
      return state == kStateStandBy ? StateCommand::kQuickLine : StateCommand::kNone;
    case kCmdExit: return StateCommand::kExit;
    case kCmdMenu: return state == kStateClosed ? StateCommand::kNone : StateCommand::kMenu;
    default: return StateCommand::kNone;
  }
}

int popup_menu_id(InstrumentType instrument_type, int state) {
  for (const PopupMenus& p : kPopupMenus)
    if (p.instrument_type == instrument_type) return state == kStateMonitoring ? p.monitoring_menu : p.logging_menu;
  return 0;
}

KeyDecision decode_logging_key(const KeyContext& c, std::uint32_t key) {
  if (c.state == kStateLogging) {
    const bool lx2_spared =
        c.pause_key == 0 && has_trait(c.instrument_type, Trait::kSoftMarkerKeys) && is_digit_or_arrow(key);
    if (lx2_spared) return c.soft_marker_keys ? KeyDecision{KeyEffect::kSoftMarker, kCmdNone} : KeyDecision{};
    if (is_pause_key(c.pause_key, key)) return command(kCmdFileGoPause);
  }
  if (key == kVkTab) return {KeyEffect::kFocusNextButton, kCmdNone};
  if (key == kVkReturn) return {KeyEffect::kPressFocusedButton, kCmdNone};
  if (auto d = map_key(c, key)) return *d;
  for (const LetterKey& k : kLetterKeys)
    if (k.key == key) return applies(k.when, c) ? command(k.command) : KeyDecision{};
  return {};
}

bool key_up_ends_soft_marker(bool soft_marker_keys, std::uint32_t key) {
  return soft_marker_keys && is_digit_or_arrow(key);
}

}  // namespace quelor
