#pragma once
// The instrument procedures in the logging window: the commands that start
// them, the hook through which the reading handlers hand them the readings,
// the timer tick that drives their timed steps, and what they show.

#include <windows.h>
#undef MessageBox  // the survey code's MessageBox, not the Win32 macro

#include <optional>
#include <string>
#include <vector>

#include "datafile/header_records.h"

namespace quelor {

void nulling_action(HWND window, int code);             // 104
void calibration_action(HWND window, int code);         // 128
void remove_calibration_action(HWND window, int code);  // 129
void drift_reminder_action(HWND window, int code);      // 140
void drift_control_action(HWND window, int code);       // 141

// The start of a survey, once the logging window is shown: no procedure
// runs, then the EM61-MK2 normalisation starts when its ring is on.
void procedures_at_survey_start(HWND window);

// Timer 1 of the logging window, before the connection monitor.
void procedure_timer_tick(HWND window);

// A procedure's box is open: the connection monitor skips its test.
bool procedure_box_open();
// The running procedure's readings are drawn in the profile (drift control).
bool procedure_draws_readings();
// A procedure runs: the readers pass every record, not one in RecordsPerReading.
bool procedure_running();

// The header of a new data file with the EM38-MK2 constants paired with the
// saved copy: the values the last calibration or removal of this program run
// replaced, zeros before any (not each value with itself).
HeaderFields with_previous_constants(HeaderFields fields);

// The lines a running procedure shows, drawn centred in the numbers window.
const std::vector<std::string>& procedure_lines();

// Where the logging window itself draws those lines: the place of the map
// while the calibration keeps the GPS windows hidden; none otherwise.
std::optional<RECT> procedure_message_area();

}  // namespace quelor
