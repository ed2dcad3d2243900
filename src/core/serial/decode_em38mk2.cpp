#include "serial/decode_em38mk2.h"

#include "serial/text_fields.h"

namespace quelor {

namespace {

constexpr std::array<double, 4> kEm38_4InphaseFactor{0.0286, 0.0222, 0.00716, 0.0161};

}  // namespace

char em38_mode_letter(int m) { return (m == 2 || m == 6) ? 'N' : 'M'; }

double em38_word_value(std::uint16_t raw) { return (raw * 5.0 / 1024.0 - 160.0) * 8.0; }

Em38Mk2Reading decode_em38_mk2(std::span<const std::uint8_t> record, const Em38Mk2Offsets& offsets, bool single_coil) {
  Em38Mk2Reading r;
  const int m = record.size() > 1 ? record[1] : 0;
  r.mode = em38_mode_letter(m);
  const bool vertical = m > 3;
  r.dipole = vertical ? 'V' : 'H';
  r.dipole_code = vertical ? 16 : 8;
  const std::array<double, 4>& off = vertical ? offsets.vertical : offsets.horizontal;
  const int base = vertical ? 0 : 1;
  set_slot(r.slots, base, em38_word_value(be_u16(record, 6)) + off[0]);
  set_slot(r.slots, base + 2, em38_word_value(be_u16(record, 8)) * 0.028819 - off[1]);
  if (!single_coil) {
    set_slot(r.slots, base + 4, em38_word_value(be_u16(record, 2)) + off[2]);
    set_slot(r.slots, base + 6, em38_word_value(be_u16(record, 4)) * 0.00720475 - off[3]);
  }
  r.raw = {be_u16(record, 10), be_u16(record, 12)};
  return r;
}

Em38_4Reading decode_em38_4(std::span<const std::uint8_t> record, const Em38_4Calibration& c, bool raw_inphase) {
  Em38_4Reading r;
  r.mode = em38_mode_letter(record.size() > 1 ? record[1] : 0);
  for (std::size_t pair = 0; pair < 4; ++pair) {
    const std::size_t at = 2 + pair * 4;
    const double conductivity = em38_word_value(be_u16(record, at));
    double inphase = em38_word_value(be_u16(record, at + 2));
    if (!raw_inphase) inphase *= kEm38_4InphaseFactor[pair];
    r.slots[pair * 2] = conductivity + c.conductivity_offset[pair] - c.carrier_offset[pair];
    r.slots[pair * 2 + 1] = inphase - c.inphase_offset[pair] - c.carrier_inphase_offset[pair];
  }
  r.extra[0] = be_u16(record, 18) * 0.66667 - 4 + c.extra_offset[0];
  r.extra[1] = be_u16(record, 20) * 0.66667 - 4 + c.extra_offset[1];
  r.extra[2] = (be_u16(record, 22) - 31) / 3.1 - 40;
  r.extra[3] = (be_u16(record, 24) - 31) / 3.1 - 40;
  return r;
}

}  // namespace quelor
