#pragma once
// Moves a core DialogForm into a dialog's controls and the operator's
// entries back: lists (combo boxes), edits, check and radio buttons, labels.
// Controls the template lacks are skipped.

#include <windows.h>

#include "setup/dialog_form.h"

namespace quelor {

// Every control of the form: items, selection, text, check, enabled,
// visible, read-only, text limit.
void show_form(HWND dialog, const DialogForm& form);

// The states that can change without a refill (enabled, visible, texts of
// labels and read-only edits) after a live rule ran.
void refresh_form(HWND dialog, const DialogForm& form);

// Selections, edit texts and check states as the operator left them.
void read_form(HWND dialog, DialogForm& form);

// Centred horizontally over the owner, a tenth of its height from its top.
void place_over_owner(HWND dialog);

}  // namespace quelor
