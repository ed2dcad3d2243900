#pragma once
// Decoders of the EM61-MK2 and EM61-LX2 records: letter, range byte G,
// channel words at 2-3, 4-5, 6-7, 8-9 (signed, big-endian), transmitter
// current at 10-11, a further byte at 12. Both rewrite the record in place
// with the mean current.

#include <array>
#include <cstdint>
#include <span>

#include "serial/current_ring.h"
#include "serial/record_bytes.h"

namespace quelor {

// Range factors of channels 1-4 from the range byte (1, 10 or 100 each).
std::array<int, 4> em61_range_factors(std::uint8_t g);

// Millivolts of one count before the range factor.
inline constexpr double kEm61Mk2Scale = 4.8333;
inline constexpr double kEm61Lx2Scale = 20.0;

// The first `count` channel words (2-3, 4-5, 6-7, 8-9) x scale / their range factor.
std::array<double, 4> em61_ranged_channels(std::span<const std::uint8_t> record, double scale, int count);

enum Em61CoilType : int { kCoilStandard = 0, kCoilHighPower = 1, kCoilStandardNcc = 2, kCoilHpNcc = 3 };

struct Em61Mk2Options {
  bool timed_readings = false;  // timed automatic readings: the current is not divided
  int coil_type = kCoilStandard;
  int sub_type = 0;      // 0, 1 or 2
  bool halving = false;  // EM61 halving setting
};

struct GateFactors {
  std::array<double, 4> factors{};
  double nominal_current = 0;
  int range_flag = 0;  // high-power coils: 2 low current, 1 high current
};

// The EM61-MK2 transmitter current the gate table reads: divided by 1.047
// for the Standard coil and by 1.152 for the High Power coil unless the
// readings are timed.
double em61_mk2_coil_current(double current, const Em61Mk2Options& options);

// Gate factors and nominal current by record letter, coil type and sub-type,
// for the transmitter current `current`.
GateFactors em61_gate_factors(char letter, const Em61Mk2Options& options, double current);

struct Em61Reading {
  char letter = 0;
  int channel_count = 4;
  std::array<double, 4> channels{};  // millivolts after normalisation and nulling
  double current = 0;                // the record's current (EM61-MK2: after the coil division)
  double mean_current = 0;           // written back into the record
  double normalisation = 1;          // factor the channels were multiplied by
  GateFactors gates;                 // EM61-MK2 only
};

// Rewrites `record`: 13-15 receive the old 10-12, 10-11 the mean current
// (big-endian integer), 12 its hundredths, NUL at 16.
Em61Reading decode_em61_mk2(RecordBytes& record, const Em61Mk2Options& options, CurrentRing& ring,
                            const std::array<double, 4>& nulling);

// The EM61-LX2 runs without the current ring: its channels are never
// normalised, and its record keeps its own current. Rewrites `record`:
// 10-11 the current, 12 its hundredths, NUL at 13.
Em61Reading decode_em61_lx2(RecordBytes& record, bool two_coils, const std::array<double, 4>& nulling);

}  // namespace quelor
