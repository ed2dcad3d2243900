#pragma once
// The start of a survey: the setup window's "&Logging" command.

#include <windows.h>

namespace quelor {

// Runs the start sequence from the setup window; every failure leaves the
// setup window in front with the ports it opened closed.
void start_survey_command(HWND setup_window);

}  // namespace quelor
