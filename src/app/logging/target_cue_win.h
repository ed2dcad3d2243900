#pragma once
// The EM61-LX2 anomaly alarm on every reading: the side indicator of the
// numbers window and the cues played from the program's wave resources.

#include <windows.h>

#include <span>

#include "survey/instrument_handler.h"

namespace quelor {

// Runs the alarm on one reading (EM61-LX2 only; nothing for other
// instruments or while the alarm is disabled).
void run_target_cue(const InstrumentOutcome& outcome);

// A new survey: the windows and the quiet counter start empty.
void reset_target_cue();

// The two-coil EM61-LX2's numbers window: the six values and "MARKER"
// above the three fields (left, between, right) as the last reading left
// them. False for other instruments (their numbers are drawn as usual).
bool draw_side_indicator(HDC dc, const RECT& client, bool have_reading, std::span<const double> channels, bool marker);

}  // namespace quelor
