#pragma once
// Record periods of the instruments and the number of records that make one
// automatic reading.

#include <optional>
#include <string_view>

#include "variant/variant.h"

namespace quelor {

// Record period in milliseconds. EM38: by record length (7 -> 72, 12 -> 91);
// EM34-3: `em34_period_ms` when given, else the EM31-MK2's period (the same
// "T" record stream). nullopt where the instrument has none (EM38-4, CS-21,
// EM61 family) or the EM38 length is unknown.
std::optional<double> record_period_ms(InstrumentType instrument_type, int em38_record_length = 12,
                                       double em34_period_ms = 0);

// round(interval * 1000 / period), at least 1.
int records_per_reading(double reading_interval_s, double period_ms);

// EM38-4 by output-rate index 0..8 (an index outside takes 0).
int em38_4_records_per_reading(int rate_index);
double em38_4_rate(int rate_index);  // readings per second (10.0 ... 0.1)

// The instrument's records per reading: EM38-4 by rate index, CS-21 1,
// others from the reading interval and the record period (1 without one).
int instrument_records_per_reading(InstrumentType instrument_type, double reading_interval_s, int em38_4_rate_index,
                                   int em38_record_length = 12, double em34_period_ms = 0);

}  // namespace quelor
