#pragma once
// The instruments the simulator plays, by the names `quelor decode` uses.

#include <optional>
#include <span>
#include <string_view>

#include "variant/variant.h"

namespace quelor::devsim {

struct InstrumentKind {
  std::string_view name;  // "em31mk2"
  InstrumentType type;
  double period_ms;        // record period (default for the configurable ones)
  bool configurable_rate;  // --rate applies
  bool handshake;          // streams only after "H","X" or "H","W" (EM61 types)
};

std::span<const InstrumentKind> instrument_kinds();

// Case-insensitive.
std::optional<InstrumentKind> find_instrument_kind(std::string_view name);

// EM38: 72 ms for 7-character records, 91 ms for 12-character records.
double em38_period_ms(int record_length);

// EM38-4 output-rate index 0..8 -> records per reading of the 10 Hz base.
int em38_4_records_per_reading(int rate_index);

}  // namespace quelor::devsim
