#pragma once
// The instrument-dependent defaults that override the built-in ones before the
// settings file is read, and the record a first start begins with.

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// Overrides the built-in defaults by instrument type (colour map view as the
// real-time map line has it, trace widths and colours, GPS offsets, swath
// option, the limits of the readings scales and the few instrument-only
// values). Unknown types change nothing.
void apply_instrument_defaults(Settings& s, InstrumentType instrument_type);

// Built-in defaults + instrument defaults + colour map view 0 in the
// navigation line: the values a first start writes to its settings file.
Settings initial_settings(const Variant& v);

}  // namespace quelor
