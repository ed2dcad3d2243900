#pragma once
// The actions of the logging window's commands, one function per action of
// the core command table. Adding an action is one row in logging_actions.cpp.

#include <windows.h>
#undef MessageBox  // the survey code's MessageBox, not the Win32 macro

#include <span>

namespace quelor {

// Runs one action; `code` is the command code that led to it (the channel
// selectors share one action and tell their selector by it).
using LoggingActionFn = void (*)(HWND window, int code);

struct LoggingActionRow {
  int action;  // a LoggingAction or a command code of the core table
  LoggingActionFn run;
};

std::span<const LoggingActionRow> logging_action_table();

// The function of an action, nullptr when none is registered (the command
// then does nothing once its needs are met).
LoggingActionFn find_logging_action(int action);

// The actions of the survey states and the commands of this window.
void file_action(HWND window, int code);
void go_action(HWND window, int code);
void pause_action(HWND window, int code);
void quick_line_action(HWND window, int code);
void exit_action(HWND window, int code);
void menu_action(HWND window, int code);
void hide_menu_action(HWND window, int code);
void channel_selector_action(HWND window, int code);

}  // namespace quelor
