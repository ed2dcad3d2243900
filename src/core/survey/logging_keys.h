#pragma once
// Buttons, popup menu items and keys of the logging window turned into
// command codes.

#include <cstdint>

#include "variant/variant.h"

namespace quelor {

// Command codes of the logging window.
enum LoggingCommand : int {
  kCmdNone = -1,
  kCmdFileGoPause = 0,
  kCmdMapSizeNullQLine = 1,
  kCmdExit = 2,
  kCmdMenu = 3,
  kCmdNewLine = 101,
  kCmdNewStation = 102,
  kCmdComment = 103,
  kCmdNulling = 104,
  kCmdScaleReadings = 105,
  kCmdScaleSpeedBar = 106,
  kCmdProfileOptions = 107,
  kCmdHideMenu = 108,
  kCmdToggleView = 109,
  kCmdMapSize = 110,
  kCmdMapDisplayOptions = 111,
  kCmdGpsWarningMask = 112,
  kCmdMapLeft = 113,
  kCmdMapRight = 114,
  kCmdMapUp = 115,
  kCmdMapDown = 116,
  kCmdZoomIn = 117,
  kCmdZoomOut = 118,
  kCmdFitAll = 119,
  kCmdEnterReview = 120,
  kCmdExitReview = 121,
  kCmdAudioOptions = 126,
  kCmdCoordinatesUnits = 127,
  kCmdCalibration = 128,
  kCmdRemoveCalibration = 129,
  kCmdEnterBackground = 130,
  kCmdRemoveBackground = 131,
  kCmdAlarmSettings = 132,
  kCmdDriftReminder = 140,
  kCmdDriftControl = 141,
  kCmdFirstChannel = 142,
};

// Channel selectors 480 upward give codes 142 upward, at most eight.
inline constexpr int kMaxChannelCommands = 8;

// Button ids 460-463 -> 0-3, map buttons 470-478 -> 113-121, the channel
// selectors 480 ... 480 + count - 1 -> 142 upward, menu items 501-521 by the
// command table; kCmdNone for any other id.
int command_of_control(int id, int selector_count);

// What codes 0-3 do in a state: 0 File (Monitoring), Go (Stand By), Pause
// (Logging); 1 Map Size (Monitoring; EM61 types Nulling), Quick Line (Stand
// By); 2 Exit; 3 the popup menu.
enum class StateCommand { kNone, kFile, kGo, kPause, kMapSize, kNulling, kQuickLine, kExit, kMenu };
StateCommand state_command(int code, int state, InstrumentType instrument_type);

// The popup menu resource of an instrument and state (496 / 495 ...).
int popup_menu_id(InstrumentType instrument_type, int state);

struct KeyContext {
  int state = 0;
  int pause_key = 0;  // 0 any key, 1 <Enter>, 2 <Space Bar>, 3 <P>
  InstrumentType instrument_type = kEm31Mk2;
  bool review = false;      // map review is on
  bool popup_menu = false;  // a popup menu is open (not forgotten by "Hide Menu")
  bool soft_marker_keys = false;
};

enum class KeyEffect { kNone, kCommand, kFocusNextButton, kPressFocusedButton, kSoftMarker };

struct KeyDecision {
  KeyEffect effect = KeyEffect::kNone;
  int command = kCmdNone;
};

// One virtual-key code (WM_KEYDOWN wParam). In Logging the pause key gives
// code 0; other keys then follow the table as in the other states.
KeyDecision decode_logging_key(const KeyContext& context, std::uint32_t key);

// Key release: with the soft marker key option on, releasing a digit or an
// arrow key ends the soft marker its key-down started.
bool key_up_ends_soft_marker(bool soft_marker_keys, std::uint32_t key);

}  // namespace quelor
