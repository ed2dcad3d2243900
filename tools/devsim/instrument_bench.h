#pragma once
// The instrument as its field procedures see it: the offsets a calibration or
// a nulling must find, where the instrument is held, the EM61-LX2 channel
// ratio on the ground and a fixed transmitter current.
//
// Offsets, by instrument, in the program's units:
//   EM38-MK2  vertical in-phase coil 1, coil 2, horizontal in-phase coil 1,
//             coil 2, conductivity coil 1, coil 2 (the program's order of
//             its six calibration values);
//   EM38-4    the conductivity offsets of the four coil pairs;
//   EM61      the bias of channels 1-4 in millivolts.
// The instrument reads conductivity - offset and in-phase + offset, so that
// a calibration in the air (where the true values are 0 and the vertical
// reading is twice the horizontal one) finds the offsets; the EM61 channels
// carry their bias everywhere.

#include <array>
#include <optional>

#include "devsim/binary_record.h"

namespace quelor::devsim {

enum class Stance {
  kWalk,    // on the walk over the site
  kAir,     // on a monopod or lifted clear of the ground: only the offsets
  kGround,  // EM61-LX2 coils on the ground: channel 1 = ratio x channel 2
};

struct InstrumentBench {
  Stance stance = Stance::kWalk;
  std::array<double, 6> offsets{};
  double lx2_ratio = 3.0;
  std::optional<int> current;  // the transmitter current word
};

// Channel 1 of each EM61-LX2 coil on the ground, millivolts.
constexpr double kGroundResponse = 600.0;

void bench_em38mk2(const InstrumentBench& b, Em38Mk2Reading& r);
void bench_em38_4(const InstrumentBench& b, Em38_4Reading& r);
// Channels as the program decodes them (before the EM61-MK2 gate weights).
void bench_em61(const InstrumentBench& b, Em61Reading& r, bool two_coils);

}  // namespace quelor::devsim
