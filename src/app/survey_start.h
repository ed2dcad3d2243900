#pragma once
// The start of a survey: the setup window's "&Logging" command.

#include <windows.h>
#undef MessageBox  // the survey code's MessageBox, not the Win32 macro

#include "survey/start_plan.h"

namespace quelor {

// Runs the start sequence from the setup window; every failure leaves the
// setup window in front with the ports it opened closed.
void start_survey_command(HWND setup_window);

// The logging window's session from a start plan: survey record, handler
// contexts, cleared displays, reader values. Touches no port.
void begin_logging_session(const StartPlan& plan);

// Hides the setup buttons and shows the logging window in Monitoring, laid
// out, with the focus.
void present_logging_window(HWND setup_window);

}  // namespace quelor
