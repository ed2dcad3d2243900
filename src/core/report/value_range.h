#pragma once
// A colour scale on the data's own range: the values between two
// percentiles, so that a few spikes do not wash the map out.

#include <optional>
#include <utility>
#include <vector>

namespace quelor {

inline constexpr double kLowPercentile = 0.02, kHighPercentile = 0.98;

// The `low` and `high` quantiles (0...1) of the finite values; nothing
// without two distinct values.
std::optional<std::pair<double, double>> percentile_range(std::vector<double> values, double low = kLowPercentile,
                                                          double high = kHighPercentile);

}  // namespace quelor
