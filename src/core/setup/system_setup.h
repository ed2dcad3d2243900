#pragma once
// The System Setup dialog: labels and lists by instrument, the enable rules
// (EM61-MK2 tilt meter, EM61-LX2 right-coil filter factor) and what OK
// stores, in its order, with the filter-factor range messages.

#include <vector>

#include "datafile/message_box.h"
#include "settings/settings.h"
#include "setup/dialog_form.h"
#include "variant/variant.h"

namespace quelor {

DialogForm system_setup_form(const Settings& s, const Variant& v);

// After a change of the state, tilt meter, rigid-fix or number-of-sensors
// control: enables the tilt controls, relabels the height, enables the
// right-coil filter factor.
void update_system_setup(DialogForm& form, const Variant& v);

// OK: stores the entries; returns the messages to show (filter factors out
// of range), in order.
std::vector<OperatorMessage> store_system_setup(const DialogForm& form, Settings& s, const Variant& v);

}  // namespace quelor
