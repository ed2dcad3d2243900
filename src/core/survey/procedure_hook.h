#pragma once
// Where a running instrument procedure (calibration, nulling, normalisation,
// drift control, filter calibration) takes the readings: while it runs, each
// reading goes to it instead of the normal display and logging path.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

// A reading as a procedure sees it: the record as received (binary records
// keep every byte), its arrival tick, the decoded channel values and the
// reading record as the data file holds it (before its tick field), which
// the procedures read with interpret_reading.
struct ProcedureReading {
  InstrumentType instrument_type = kEm31Mk2;
  std::span<const std::uint8_t> record;
  std::uint32_t tick = 0;
  std::array<double, 8> values{};
  int value_count = 0;
  std::string_view body;
};

// Filled by the procedures; `take` answers true when a procedure runs and has
// taken the reading. Empty: no procedure.
struct ProcedureHook {
  void* self = nullptr;
  bool (*take)(void* self, const ProcedureReading& reading) = nullptr;
};

inline bool offer_to_procedure(const ProcedureHook& hook, const ProcedureReading& reading) {
  return hook.take != nullptr && hook.take(hook.self, reading);
}

}  // namespace quelor
