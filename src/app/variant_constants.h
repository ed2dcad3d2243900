#pragma once
// The build-time variant of this program, defined by the variant's own
// generated translation unit.

#include "variant/variant.h"

extern const int kInstrumentType;
extern const int kNavigationMode;

// The build's number is converted once, here: a number no instrument has
// stops the program at its start (bad_optional_access).
inline quelor::Variant program_variant() {
  return {quelor::instrument_type_from_number(kInstrumentType).value(), kNavigationMode};
}
