#pragma once
// The GPS Port Setup dialog (GPS on or off, line settings, data format,
// SLAM option, RTS units, audio warning) and the GPS warning mask dialog.

#include <string>
#include <vector>

#include "datafile/message_box.h"

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

// The GPS warning mask dialog over a mask and the warning sound.
DialogForm gps_mask_form(const GpsWarningMask& mask, bool sound, int gps_format);
// OK: warning on/off, minimum quality, maximum dilution, minimum satellites
// (list index + 3) and the warning sound. A dilution that is no number (or
// below 0) and a satellite count the list cannot show (a file's value
// outside 3 to 12, shown with no selection) are refused with a message and
// keep their old values.
std::vector<OperatorMessage> store_gps_mask(const DialogForm& form, GpsWarningMask& mask, bool& sound);

// The mask dialog on the settings themselves (from the logging window).
DialogForm gps_mask_form(const Settings& s);
std::vector<OperatorMessage> store_gps_mask(const DialogForm& form, Settings& s);

// GPS Port Setup with the warning mask opened from it: the mask edits the
// dialog's working copy (its sound is the dialog's "Enable Audio Warning"),
// stored with the rest on OK and dropped on Cancel.
struct GpsPortSetup {
  DialogForm form;
  GpsWarningMask mask;
};
GpsPortSetup gps_port_setup(const Settings& s);
DialogForm gps_port_mask_form(const GpsPortSetup& setup, const Settings& s);
std::vector<OperatorMessage> store_gps_port_mask(GpsPortSetup& setup, const DialogForm& mask_form);
void store_gps_port_setup(const GpsPortSetup& setup, Settings& s);

}  // namespace quelor
