#pragma once
// The logging window's commands: buttons and keys turned into command codes
// and run (File, Go, Pause, Quick Line, Exit), and the end of a survey.

#include <windows.h>
#undef MessageBox  // the survey code's MessageBox, not the Win32 macro

#include "survey/gps_fix_handler.h"
#include "survey/logging_commands.h"

namespace quelor {

// WM_COMMAND, 0x103 and WM_KEYDOWN of the logging window.
LRESULT logging_command_handler(HWND window, UINT message, WPARAM w, LPARAM l);
// WM_KEYUP: the focus back to the logging window.
LRESULT logging_keyup_handler(HWND window, UINT message, WPARAM w, LPARAM l);

// What the core commands need from the running program.
CommandContext logging_command_context();

// Runs one command code.
void run_logging_command(HWND window, int command);

// Carries out what a command decided: data-file writes, sounds, notices,
// timer, reader values, ports, window.
void apply_command_outcome(HWND window, const CommandOutcome& outcome);

// Exit logging; `forced` skips the question. True when the survey ended.
bool exit_logging(HWND window, bool forced);

// The end of any running survey when the program closes.
void end_running_survey();

// The GPS position maximum: readers and timer stop, the operator is told,
// the program ends.
void end_survey_after_position_maximum(HWND window, const FixOutcome& outcome);

}  // namespace quelor
