#pragma once
// Control ids of the procedures' dialogs.

#define QUELOR_DRIFT_REMINDER_LIST_ID 1245
