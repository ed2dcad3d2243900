#pragma once
// How an EM61-MK2 survey reads its instrument: continuously, or in the
// polled (fast) mode in which every tick of the logging window's timer asks
// for one reading.

#include <cstdint>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// Readings a second from which the EM61-MK2 is polled instead of streaming.
inline constexpr double kEm61PolledRateHz = 10.0;

// Polled in Auto mode at 10 readings a second or more; continuous otherwise
// and for every other instrument.
bool em61_polled_mode(const Settings& s, InstrumentType instrument_type);

// The polling interval: the reading interval in milliseconds (100 ms for
// 10 readings a second), at least 1 ms; 100 ms for an interval that is no
// positive number.
std::uint32_t em61_polling_interval_ms(const Settings& s);

}  // namespace quelor
