#pragma once
// The EM61-LX2 anomaly alarm on every reading: the side indicator of the
// numbers window and the cues played from the program's wave resources.

#include <windows.h>

#include "survey/instrument_handler.h"

namespace quelor {

// Runs the alarm on one reading (EM61-LX2 only; nothing for other
// instruments or while the alarm is disabled).
void run_target_cue(const InstrumentOutcome& outcome);

// A new survey: the windows and the quiet counter start empty.
void reset_target_cue();

// The three fields (left, between, right) along the bottom of the numbers
// window, as the last reading left them.
void draw_side_indicator(HDC dc, const RECT& client);

}  // namespace quelor
