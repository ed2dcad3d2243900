#pragma once
// The build-time variant of this program, defined by the variant's own
// generated translation unit.

#include "variant/variant.h"

extern const int kInstrumentType;
extern const int kNavigationMode;

inline quelor::Variant program_variant() { return {kInstrumentType, kNavigationMode}; }
