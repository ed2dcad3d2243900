#pragma once
// The survey states of the logging window, their labels, the pause hint and
// the button set shown in each state.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "variant/variant.h"

namespace quelor {

enum SurveyState : int { kStateClosed = -2, kStateStandBy = -1, kStateMonitoring = 0, kStateLogging = 1 };
enum SurveyMode : int { kModeAuto = 0, kModeWheel = 1, kModeManual = 2 };

// Map-full flag: 0 normal, 1 the survey reached the map edge, 2 the operator
// was told to enlarge the map (logging cannot start).
enum MapFull : int { kMapNotFull = 0, kMapReachedEdge = 1, kMapMustGrow = 2 };

// "(Auto)", "(Wheel)", "(Manual)"; a mode outside 0..2 reads as Auto.
std::string_view survey_mode_suffix(int survey_mode);

// "Monitoring (Auto)", "Stand By (Wheel)", "Logging (Manual)" ...; empty when Closed.
std::string state_label(int state, int survey_mode);

// "File: %s"
std::string file_label(std::string_view data_file_name);

// The pause hint: in Logging "Tap/Click PAUSE button or" and the line of the
// pause key (plus "Push switch RECORD" for EM34-3 in Manual mode); in other
// states no lines (the hint area is cleared).
std::vector<std::string> pause_hint(int state, int pause_key, InstrumentType instrument_type, int survey_mode);

// The line of the pause key: 0 any key, 1 <Enter>, 2 <Space Bar>, 3 <P>.
std::string_view pause_key_hint(int pause_key);

inline constexpr int kFirstLoggingButtonId = 460;
inline constexpr int kLoggingButtonCount = 4;

// The buttons shown in the column at the right edge (ids 460..463). While
// logging only the two-button-tall "P A U S E" (id 460) is shown; Closed
// shows nothing. The first shown button is the default push button.
struct ButtonSet {
  std::array<std::string_view, kLoggingButtonCount> texts{};
  int count = 0;       // buttons shown, from id 460
  bool pause = false;  // the PAUSE button covers the column
};

ButtonSet button_set(int state, InstrumentType instrument_type);

}  // namespace quelor
