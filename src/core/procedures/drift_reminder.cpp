#include "procedures/drift_reminder.h"

#include "io/clock.h"
#include "procedures/procedure_step.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::array<std::uint32_t, 7> kPeriodMinutes{15, 30, 45, 60, 90, 120, 0};

}  // namespace

const std::array<const char*, 7>& drift_reminder_labels() {
  static const std::array<const char*, 7> kLabels{"15 minutes", "30 minutes", "45 minutes", "1 hour",
                                                  "1.5 hour",   "2 hours",    "Never"};
  return kLabels;
}

std::uint32_t drift_reminder_interval_ms(int choice) {
  if (choice < 0 || choice >= static_cast<int>(kPeriodMinutes.size())) return 0;
  return kPeriodMinutes[static_cast<std::size_t>(choice)] * 60000u;
}

void drift_reminder_restart(DriftReminder& r, int choice, std::uint32_t now) {
  r.period_ms = drift_reminder_interval_ms(choice);
  r.since = now;
}

std::optional<OperatorMessage> drift_reminder_due(DriftReminder& r, std::uint32_t now, bool busy,
                                                  bool offers_drift_control) {
  if (r.period_ms == 0 || busy || elapsed_ms(r.since, now) < r.period_ms) return std::nullopt;
  r.since = now;
  if (!offers_drift_control) return procedure_box("DRIFT REMINDER", {"Time for Drift Control."}, DialogTemplate::kOk);
  return procedure_box("DRIFT REMINDER", {"Time for Drift Control.", "Press YES to apply Drift Control now."},
                       DialogTemplate::kYesNo);
}

bool runs_drift_control(InstrumentType instrument_type) { return has_trait(instrument_type, Trait::kDriftControl); }

}  // namespace quelor
