#pragma once
// The dialog templates and titles of the setup window's dialog commands
// (Survey, System, Geometry or Alarm, GPS Port, Map and Profiles options),
// chosen by instrument type, product line and the client width.

#include <span>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

// Client widths below which the narrow templates are used.
inline constexpr int kNarrowSystemWidth = 640;
inline constexpr int kNarrowGeometryWidth = 600;
inline constexpr int kNarrowGpsWidth = 600;
inline constexpr int kNarrowMapOptionsWidth = 784;

// True for the commands that open a dialog template: 1, 2, 3, 4, 6 and 7.
bool is_dialog_command(int command);

// The template name ("SURVEYSETUP31", "SYSTEMNARROW", ...) of a dialog
// command; empty for another command or an instrument type outside the table.
std::string_view setup_dialog_template(int command, const Variant& v, int client_width);

// "Survey Setup", "System Setup", "Geometry Setup" ("Alarm Setup" on
// EM61-LX2), "GPS Port Setup", "Map Display Options", "Profiles Options";
// empty for another command.
std::string_view setup_dialog_title(int command, InstrumentType instrument_type);

// Every template name any variant can ask for, each once.
std::span<const std::string_view> all_setup_dialog_templates();

}  // namespace quelor
