#pragma once
// The Auto-mode reading rate: what the Survey Setup stores for a typed rate,
// and the same rule for an interval read from a settings file, so that the
// dialog opens with the value OK will store.

namespace quelor {

// Readings a second stored for a rate that gives no finite interval.
inline constexpr double kFallbackReadingRate = 1.0;

// A typed rate: kept when positive, finite and with a finite interval;
// otherwise kFallbackReadingRate.
double usable_reading_rate(double rate);

// An interval from a settings file: a subnormal or non-finite one (whose
// rate the dialog would show as "inf", "nan" or "0.00" and OK would refuse)
// becomes the interval of kFallbackReadingRate, 1 s; any other is kept.
double usable_reading_interval(double interval);

}  // namespace quelor
