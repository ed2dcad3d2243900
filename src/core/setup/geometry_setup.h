#pragma once
// The Geometry Setup dialog: GPS antenna offsets in the dialog's unit, the
// third value (Grad601 sensor separation, EM38-4 / CS-21 height), the unit
// buttons and the sensor list (EM61-MK2 sensor size, EM34-3 reference).

#include "settings/settings.h"
#include "setup/dialog_form.h"
#include "variant/variant.h"

namespace quelor {

// Metres per geometry unit: 0 meters 1, 1 centimeters 0.01, 2 feet 0.3048,
// 3 inches 0.0254 (metres for anything else).
double geometry_unit_size(int geometry_units);

DialogForm geometry_setup_form(const Settings& s, const Variant& v);

// The label of the third value where it is a height: "EM38-4 Height",
// "CS-21 Height" (the two share a template); empty for the others.
std::wstring geometry_height_label(InstrumentType instrument_type);

// A unit button was pressed: only the dialog's unit changes.
void geometry_unit_selected(DialogForm& form, int radio_id);

// OK: stores the unit, the offsets (entries times the unit) and the
// instrument's values.
void store_geometry_setup(const DialogForm& form, Settings& s, const Variant& v);

}  // namespace quelor
