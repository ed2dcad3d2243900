#include "serial/records_per_reading.h"

#include <array>
#include <cmath>

#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr double kEm31RecordPeriodMs = 95.23809523809524;

struct RateRow {
  int records;
  double rate;
};

constexpr std::array<RateRow, 9> kEm38_4Rates{{
    {1, 10.0},
    {2, 5.0},
    {3, 3.3},
    {4, 2.5},
    {5, 2.0},
    {10, 1.0},
    {20, 0.5},
    {50, 0.2},
    {100, 0.1},
}};

const RateRow& rate_row(int index) {
  if (index < 0 || index >= static_cast<int>(kEm38_4Rates.size())) index = 0;
  return kEm38_4Rates[static_cast<std::size_t>(index)];
}

}  // namespace

std::optional<double> record_period_ms(InstrumentType type, int em38_record_length, double em34_period_ms) {
  switch (type) {
    case kEm31Mk2: return kEm31RecordPeriodMs;
    case kEm38:
      if (em38_record_length == 7) return 72.0;
      if (em38_record_length == 12) return 91.0;
      return std::nullopt;
    case kEm34_3:
      // Without a period of its own the EM34-3 streams its "T" records at the
      // EM31-MK2's period: one record per reading would log every record
      // whatever the update rate.
      return em34_period_ms > 0 ? em34_period_ms : kEm31RecordPeriodMs;
    case kEm38Mk2: return 47.0;
    case kGrad601: return 91.0;
    default: return std::nullopt;
  }
}

int records_per_reading(double interval_s, double period_ms) {
  if (!(period_ms > 0) || !std::isfinite(interval_s)) return 1;
  const double records = std::round(interval_s * 1000.0 / period_ms);
  if (!(records >= 1)) return 1;
  if (records > 1e6) return 1000000;
  return static_cast<int>(records);
}

int em38_4_records_per_reading(int rate_index) { return rate_row(rate_index).records; }
double em38_4_rate(int rate_index) { return rate_row(rate_index).rate; }

int instrument_records_per_reading(InstrumentType type, double interval_s, int rate_index, int em38_length,
                                   double em34_period_ms) {
  if (has_trait(type, Trait::kRecordGroups)) return em38_4_records_per_reading(rate_index);
  // No record period (CS-21): one record a reading.
  const std::optional<double> period = record_period_ms(type, em38_length, em34_period_ms);
  return period ? records_per_reading(interval_s, *period) : 1;
}

}  // namespace quelor
