#include "devsim/instrument_bench.h"

namespace quelor::devsim {

void bench_em38mk2(const InstrumentBench& b, Em38Mk2Reading& r) {
  if (b.stance != Stance::kWalk) r.conductivity1 = r.inphase1 = r.conductivity2 = r.inphase2 = 0;
  const std::size_t inphase = r.vertical ? 0 : 2;
  r.conductivity1 -= b.offsets[4];
  r.conductivity2 -= b.offsets[5];
  r.inphase1 += b.offsets[inphase];
  r.inphase2 += b.offsets[inphase + 1];
}

void bench_em38_4(const InstrumentBench& b, Em38_4Reading& r) {
  for (std::size_t i = 0; i < 4; ++i) {
    if (b.stance != Stance::kWalk) r.conductivity[i] = r.inphase[i] = 0;
    r.conductivity[i] -= b.offsets[i];
  }
}

void bench_em61(const InstrumentBench& b, Em61Reading& r, bool two_coils) {
  if (b.stance == Stance::kAir) r.channels = {};
  if (b.stance == Stance::kGround) {
    const double second = b.lx2_ratio != 0.0 ? kGroundResponse / b.lx2_ratio : 0.0;
    r.channels = {kGroundResponse, second, two_coils ? kGroundResponse : 0.0, two_coils ? second : 0.0};
  }
  for (std::size_t i = 0; i < 4; ++i) r.channels[i] += b.offsets[i];
  if (b.current) r.current = *b.current;
}

}  // namespace quelor::devsim
