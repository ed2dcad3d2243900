#include "serial/decode_em61.h"

#include <algorithm>
#include <cmath>

#include "serial/text_fields.h"

namespace quelor {

namespace {

// One step of the range cascade: `high` gives 100, `low` gives 10.
int cascade(int& g, int high, int low) {
  if (g >= high) {
    g -= high;
    return 100;
  }
  if (g >= low) {
    g -= low;
    return 10;
  }
  return 1;
}

GateFactors odd_coil_gates(int sub_type, double current, bool ch4_step) {
  GateFactors f;
  bool low = false;
  if (sub_type == 1) {
    f.factors = {1.72, 2.54, 3.74, 6.07};
    low = current < 1650;
    f.nominal_current = low ? 1123 : 2230;
  } else if (sub_type == 2) {
    f.factors = {1.33, 1.33 * 1.53, 1.33 * 2.257, 1.33 * 1.885};
    low = current < 2600;
    f.nominal_current = low ? 1920 : 3729;
  } else {
    f.factors = {1.72, 2.54, 3.74, 6.07};
    if (ch4_step && sub_type == 0) f.factors[3] = 6.07 * 1.114 * 1.112;
    low = current < 1350;
    f.nominal_current = low ? 920 : 1840;
  }
  f.range_flag = low ? 2 : 1;
  return f;
}

GateFactors even_dn_gates(const Em61Mk2Options& o) {
  GateFactors f;
  f.factors = {2, 2, 2, 4};
  if (o.halving)  // channels 1-3 halved once more
    for (int i = 0; i < 3; ++i) f.factors[i] *= 2;
  if (o.sub_type == 0) f.factors[3] = 4 * 1.114 / 1.112;
  f.nominal_current = 3000;
  return f;
}

bool is_one_of(char c, const char* set) {
  for (; *set; ++set)
    if (*set == c) return true;
  return false;
}

// The mean current (the record's own when normalisation is off) and the
// factor nominal / mean (1 when off or when the mean is 0).
struct Normalised {
  double mean;
  double factor;
};

Normalised normalise(CurrentRing& ring, double current, double nominal) {
  if (!ring_enabled(ring)) return {current, 1.0};
  ring_push(ring, current);
  const double mean = ring_mean(ring);
  return {mean, mean != 0.0 ? nominal / mean : 1.0};
}

void write_mean_current(RecordBytes& record, double mean) {
  const double whole = std::trunc(mean);
  const long value = std::isfinite(whole) ? static_cast<long>(whole) : 0;
  const auto word = static_cast<std::uint16_t>(value);
  record.bytes[10] = static_cast<std::uint8_t>(word >> 8);
  record.bytes[11] = static_cast<std::uint8_t>(word & 0xFF);
  const double hundredths = std::fabs(mean - whole) * 100.0;
  record.bytes[12] = static_cast<std::uint8_t>(std::isfinite(hundredths) ? static_cast<int>(hundredths) : 0);
}

}  // namespace

std::array<int, 4> em61_range_factors(std::uint8_t g) {
  int r = g;
  std::array<int, 4> f{};
  f[0] = cascade(r, 0xC0, 0x40);
  f[1] = cascade(r, 0x30, 0x10);
  f[2] = cascade(r, 0x0C, 0x04);
  f[3] = r == 3 ? 100 : r == 1 ? 10 : 1;
  return f;
}

GateFactors em61_gate_factors(char letter, const Em61Mk2Options& o, double current) {
  const bool odd = (o.coil_type & 1) != 0;
  if (is_one_of(letter, "DN")) return odd ? odd_coil_gates(o.sub_type, current, true) : even_dn_gates(o);
  if (is_one_of(letter, "EP")) return {{0.9025, 1.363, 2.026795, 3.018856}, 1800, 0};
  if (is_one_of(letter, "FQ")) return {{0.9025, 1.363, 2.043, 12.152}, 1800, 0};
  if (odd) return odd_coil_gates(o.sub_type, current, false);
  return {{2, 2, 2, 2}, 3000, 0};
}

std::array<double, 4> em61_ranged_channels(std::span<const std::uint8_t> record, double scale, int count) {
  std::array<double, 4> v{};
  const std::array<int, 4> range = em61_range_factors(record[1]);
  for (std::size_t i = 0; i < static_cast<std::size_t>(std::clamp(count, 0, 4)); ++i)
    v[i] = be_s16(record, 2 + 2 * i) * scale / range[i];
  return v;
}

double em61_mk2_coil_current(double current, const Em61Mk2Options& o) {
  if (o.timed_readings) return current;
  if (o.coil_type == kCoilStandard) return current / 1.047;
  if (o.coil_type == kCoilHighPower) return current / 1.152;
  return current;
}

Em61Reading decode_em61_mk2(RecordBytes& record, const Em61Mk2Options& o, CurrentRing& ring,
                            const std::array<double, 4>& nulling) {
  Em61Reading r;
  const std::span<const std::uint8_t> bytes{record.bytes.data(), 14};
  r.letter = static_cast<char>(bytes[0]);
  r.current = em61_mk2_coil_current(be_s16(bytes, 10), o);
  r.gates = em61_gate_factors(r.letter, o, r.current);
  const Normalised n = normalise(ring, r.current, r.gates.nominal_current);
  r.mean_current = n.mean;
  r.normalisation = n.factor;
  const std::array<double, 4> ranged = em61_ranged_channels(bytes, kEm61Mk2Scale, 4);
  for (std::size_t i = 0; i < 4; ++i) r.channels[i] = ranged[i] / r.gates.factors[i] * n.factor - nulling[i];
  const std::uint8_t old[3] = {record.bytes[10], record.bytes[11], record.bytes[12]};
  record.bytes[13] = old[0];
  record.bytes[14] = old[1];
  record.bytes[15] = old[2];
  write_mean_current(record, n.mean);
  record.bytes[16] = 0;
  record.length = 16;
  return r;
}

Em61Reading decode_em61_lx2(RecordBytes& record, bool two_coils, const std::array<double, 4>& nulling) {
  Em61Reading r;
  const std::span<const std::uint8_t> bytes{record.bytes.data(), 14};
  r.letter = static_cast<char>(bytes[0]);
  r.channel_count = two_coils ? 4 : 2;
  r.current = be_s16(bytes, 10);
  r.mean_current = r.current;
  const std::array<double, 4> ranged = em61_ranged_channels(bytes, kEm61Lx2Scale, r.channel_count);
  for (std::size_t i = 0; i < static_cast<std::size_t>(r.channel_count); ++i) r.channels[i] = ranged[i] - nulling[i];
  write_mean_current(record, r.mean_current);
  record.bytes[13] = 0;
  record.length = 13;
  return r;
}

}  // namespace quelor
