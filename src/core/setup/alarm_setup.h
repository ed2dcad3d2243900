#pragma once
// The EM61-LX2 Alarm Setup dialog: eight alarm settings, the alarm type
// enabling the others.

#include "settings/settings.h"
#include "setup/dialog_form.h"

namespace quelor {

DialogForm alarm_setup_form(const Settings& s);

// "Disabled" disables all; "Simple" enables the audio indicator, the
// monitored channel and the amplitude level; "Enhanced" the audio
// indicator, the channel, the minimum and maximum levels, the anomaly width
// and the descending readings.
void update_alarm_setup(DialogForm& form);

// OK: all eight settings, without range checks.
void store_alarm_setup(const DialogForm& form, Settings& s);

}  // namespace quelor
