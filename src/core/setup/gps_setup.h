#pragma once
// The GPS Port Setup dialog (GPS on or off, line settings, data format,
// SLAM option, RTS units, audio warning) and the GPS warning mask dialog.

#include <string>

#include "settings/settings.h"
#include "setup/dialog_form.h"

namespace quelor {

DialogForm gps_input_form(const Settings& s);
// The SLAM check box renames the pseudo-GGA entry of the data list.
void update_gps_input(DialogForm& form);
void store_gps_input(const DialogForm& form, Settings& s);

// The label of the dilution limit for a GPS data format: "PDOP", "HDOP",
// "GDOP", "DOP" or "Quality (m)".
std::wstring dilution_label(int gps_format);

DialogForm gps_mask_form(const Settings& s);
// OK: warning on/off, minimum quality, maximum dilution, minimum satellites
// (list index + 3) and the warning sound.
void store_gps_mask(const DialogForm& form, Settings& s);

}  // namespace quelor
