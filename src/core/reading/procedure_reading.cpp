#include "reading/procedure_reading.h"

#include "variant/variant.h"

namespace quelor {

namespace {

// The export columns of the dipole instruments hold the slots in the order
// V conductivity, V in-phase, H conductivity, H in-phase of each coil.
constexpr std::size_t kSlotOfColumn[4] = {0, 2, 1, 3};

}  // namespace

DecodeContext without_offsets(DecodeContext c) {
  c.em38mk2_offsets = {};
  c.em38_4_calibration = {};
  c.nulls = {};
  return c;
}

Em38Mk2Reading em38mk2_procedure_reading(const ReadingMeaning& m) {
  Em38Mk2Reading r;
  for (std::size_t col = 0; col < 8 && col < static_cast<std::size_t>(m.column_count); ++col) {
    if (!m.columns[col]) continue;
    const std::size_t slot = kSlotOfColumn[col % 4] + 4 * (col / 4);
    r.slots.value[slot] = *m.columns[col];
    r.slots.present[slot] = true;
  }
  r.dipole = m.dipole;
  r.mode = m.mode;
  r.dipole_code = m.identity;
  return r;
}

Em38_4Reading em38_4_procedure_reading(const ReadingMeaning& m) {
  Em38_4Reading r;
  for (std::size_t i = 0; i < r.slots.size(); ++i) r.slots[i] = m.columns[i].value_or(0.0);
  for (std::size_t i = 0; i < r.extra.size(); ++i) r.extra[i] = m.columns[8 + i].value_or(0.0);
  r.mode = m.mode;
  r.dipole = m.dipole;
  r.dipole_code = m.identity;
  return r;
}

Em61Reading em61_procedure_reading(const ReadingMeaning& m, const DecodeContext& c) {
  Em61Reading r;
  r.letter = m.mode;
  r.channel_count = c.instrument_type == kEm61Lx2 && !c.two_sensors ? 2 : 4;
  for (std::size_t i = 0; i < static_cast<std::size_t>(r.channel_count); ++i)
    r.channels[i] = m.columns[i].value_or(0.0);
  return r;
}

}  // namespace quelor
