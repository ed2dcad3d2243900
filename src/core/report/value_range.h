#pragma once
// A colour scale on the data's own range: the values between two
// percentiles, so that a few spikes do not wash the map out.

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace quelor {

inline constexpr double kLowPercentile = 0.02, kHighPercentile = 0.98;

// The `low` and `high` quantiles (0...1) of the finite values; nothing
// without two distinct values.
std::optional<std::pair<double, double>> percentile_range(std::vector<double> values, double low = kLowPercentile,
                                                          double high = kHighPercentile);

// The values the percentiles are taken of, at most `limit` of them: every
// value while they fit, then every second, fourth... in the order they came
// (a day's readings are all kept; several days' are thinned evenly).
struct ValueSample {
  std::size_t limit = std::size_t{1} << 20;
  std::size_t stride = 1;   // every `stride`th value offered is kept
  std::size_t offered = 0;  // values offered so far
  std::vector<double> values;
};
void offer_value(ValueSample& sample, double value);

}  // namespace quelor
