#include "procedures/em38_4_values.h"

#include <algorithm>

namespace quelor {

namespace {

bool any_set(const std::array<double, 4>& values) {
  return std::any_of(values.begin(), values.end(), [](double v) { return v != 0.0; });
}

}  // namespace

Em38_4Calibration em38_4_calibration(const Em38_4Block& b) {
  Em38_4Calibration c;
  for (std::size_t i = 0; i < 4; ++i) {
    c.conductivity_offset[i] = b.calibration_a[i];
    c.inphase_offset[i] = b.calibration_a[4 + i];
    c.carrier_offset[i] = b.calibration_a[8 + i];
    c.carrier_inphase_offset[i] = b.calibration_b[i];
  }
  c.extra_offset = {b.calibration_b[4], b.calibration_b[5]};
  return c;
}

void set_em38_4_calibration(Em38_4Block& b, const Em38_4Calibration& c) {
  for (std::size_t i = 0; i < 4; ++i) {
    b.calibration_a[i] = c.conductivity_offset[i];
    b.calibration_a[4 + i] = c.inphase_offset[i];
    b.calibration_a[8 + i] = c.carrier_offset[i];
    b.calibration_b[i] = c.carrier_inphase_offset[i];
  }
  b.calibration_b[4] = c.extra_offset[0];
  b.calibration_b[5] = c.extra_offset[1];
}

std::array<double, 28> em38_4_constants(const Em38_4Calibration& c) {
  std::array<double, 28> out{};
  for (std::size_t i = 0; i < 4; ++i) {
    out[i] = c.conductivity_offset[i];
    out[4 + i] = c.inphase_offset[i];
    out[8 + i] = c.carrier_offset[i];
    out[12 + i] = c.carrier_inphase_offset[i];
  }
  out[16] = c.extra_offset[0];
  out[17] = c.extra_offset[1];
  return out;
}

int em38_4_calibration_state(const Em38_4Calibration& c) {
  if (any_set(c.carrier_offset) || any_set(c.carrier_inphase_offset)) return 2;
  return any_set(c.conductivity_offset) || any_set(c.inphase_offset) ? 1 : 0;
}

}  // namespace quelor
