#include "report/value_range.h"

#include <algorithm>
#include <cmath>

namespace quelor {

std::optional<std::pair<double, double>> percentile_range(std::vector<double> values, double low, double high) {
  std::erase_if(values, [](double v) { return !std::isfinite(v); });
  if (values.empty()) return std::nullopt;
  const auto at = [&](double share) {
    const std::size_t k =
        static_cast<std::size_t>(std::clamp(share, 0.0, 1.0) * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
    return values[k];
  };
  std::pair<double, double> range{at(low), at(high)};
  if (!(range.second > range.first)) {
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    range = {*lo, *hi};
  }
  if (!(range.second > range.first)) return std::nullopt;
  return range;
}

void offer_value(ValueSample& s, double value) {
  if (s.offered++ % s.stride != 0) return;
  s.values.push_back(value);
  if (s.values.size() < std::max<std::size_t>(s.limit, 2)) return;
  // Every other one kept goes: those left are every (2 x stride)th offered.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < s.values.size(); i += 2) s.values[kept++] = s.values[i];
  s.values.resize(kept);
  s.stride *= 2;
}

}  // namespace quelor
