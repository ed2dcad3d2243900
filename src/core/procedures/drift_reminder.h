#pragma once
// The drift reminder of the EM38-MK2, EM38-4 and CS-21: after the chosen
// period without a drift control the operator is asked to run one.

#include <array>
#include <cstdint>
#include <optional>

#include "datafile/message_box.h"
#include "variant/variant.h"

namespace quelor {

inline constexpr int kDriftReminderNever = 6;

// "15 minutes", "30 minutes", "45 minutes", "1 hour", "1.5 hour", "2 hours", "Never".
const std::array<const char*, 7>& drift_reminder_labels();

// Period of a choice in milliseconds; 0 for "Never" or an unknown index.
std::uint32_t drift_reminder_interval_ms(int choice);

struct DriftReminder {
  std::uint32_t period_ms = 0;  // 0: never
  std::uint32_t since = 0;      // the last drift control, or the start of the survey
};

// A new period or a finished drift control restarts the wait.
void drift_reminder_restart(DriftReminder& r, int choice, std::uint32_t now);

// Checked on the logging window's timer; nothing while a procedure or a box
// is open. When due the wait restarts and the question is returned; an
// instrument without a drift-control procedure (the CS-21) gets the reminder
// as a notice, with no YES that would do nothing.
std::optional<OperatorMessage> drift_reminder_due(DriftReminder& r, std::uint32_t now, bool busy,
                                                  bool offers_drift_control = true);

// The instruments whose drift control this program runs.
bool runs_drift_control(InstrumentType instrument_type);

}  // namespace quelor
