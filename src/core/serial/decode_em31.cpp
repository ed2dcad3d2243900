#include "serial/decode_em31.h"

#include "serial/text_fields.h"

namespace quelor {

namespace {

struct Head {
  int s = 0;  // status after bit 7 and the mode bit are removed
  Em31Reading reading;
};

// Steps shared by the three instruments: flag B, bit 7, mode letter.
Head decode_head(std::span<const std::uint8_t> record, const Em31Options& o) {
  Head h;
  int s = record.size() > 1 ? record[1] : 0;
  h.reading.flag_b = (s & 1) != 0;
  s &= 0x7F;
  h.reading.marker = s >= 64;
  h.reading.mode = 'N';
  if (s >= 64) {
    s -= 64;
    if (!o.manual_mode) h.reading.mode = 'M';
  }
  h.s = s;
  return h;
}

double first_value(std::span<const std::uint8_t> r) { return record_atof(r, 2, 5); }
double second_value(std::span<const std::uint8_t> r) { return record_atof(r, 7, 5); }

struct RangeScale {
  double range;
  double scale;
};

RangeScale em31_range(int s) {
  if (s == 0 || s == 6) return {1000, -0.25};
  if (s == 4) return {100, -0.025};
  return {10, -0.0025};
}

// EM34-3 range by the remaining status value.
RangeScale em34_range(int s) {
  static constexpr RangeScale kRanges[] = {{3, -0.00075}, {1000, -0.25}, {10, -0.0025},
                                           {30, -0.0075}, {100, -0.025}, {300, -0.075}};
  if (s >= 0 && s <= 5) return kRanges[s];
  return {1000, -0.25};
}

}  // namespace

Em31Reading decode_em31_mk2(std::span<const std::uint8_t> record, const Em31Options& o) {
  Head h = decode_head(record, o);
  Em31Reading& r = h.reading;
  int s = h.s;
  r.dipole = 'H';
  if (s >= 32) {
    r.dipole = 'V';
    s -= 32;
  }
  if (s >= 16) s -= 16;
  if (s > 7) s -= 8;
  const RangeScale rs = em31_range(s);
  r.range = rs.range;
  const double v1 = first_value(record);
  const double v2 = second_value(record);
  const bool vertical = r.dipole == 'V';
  r.dipole_code = vertical ? 16 : 8;
  const int conductivity_slot = vertical ? 0 : 1;
  const int inphase_slot = vertical ? 2 : 3;
  if (o.inphase_only) {
    double inphase = v1 * rs.scale;
    if (!r.flag_b) inphase = o.inphase_divisor ? v1 / 3.35 : v1 * rs.scale * 0.25;
    set_slot(r.slots, inphase_slot, inphase);
    return r;
  }
  double inphase = v2 * rs.scale;
  if (!r.flag_b) {
    inphase = v2 * -0.0025;
    if (o.inphase_divisor) inphase /= 3.35;
  }
  set_slot(r.slots, conductivity_slot, v1 * rs.scale);
  set_slot(r.slots, inphase_slot, inphase);
  return r;
}

Em31Reading decode_em38(std::span<const std::uint8_t> record, const Em31Options& o) {
  Head h = decode_head(record, o);
  Em31Reading& r = h.reading;
  int s = h.s;
  const bool vertical = (s & 32) != 0;
  const double divisor = (s & 16) ? 8.0 : 1.0;
  s &= ~(32 | 16);
  r.inphase_record = s >= 4;
  if (r.inphase_record) s -= 4;
  const bool high = s == 3;
  r.range = high ? 1000 : 100;
  double scale = r.inphase_record ? (high ? -1.0 : -0.1) : (high ? -0.0288 : -0.00288);
  scale /= divisor;
  if (o.em38_x10) {
    scale *= 10;
    r.range *= 10;
  }
  r.dipole = vertical ? 'V' : 'H';
  r.dipole_code = vertical ? 16 : 8;
  const int slot = (vertical ? 0 : 1) + (r.inphase_record ? 2 : 0);
  set_slot(r.slots, slot, first_value(record) * scale);
  return r;
}

Em31Reading decode_em34_3(std::span<const std::uint8_t> record, const Em31Options& o) {
  Head h = decode_head(record, o);
  Em31Reading& r = h.reading;
  int s = h.s;
  int slot = 0;
  r.dipole = 'V';
  if (s >= 32) {
    r.dipole = 'H';
    slot = 3;
    s -= 32;
  }
  if (s >= 24) {  // 40 m
    slot += 2;
    s -= 24;
  } else if (s < 16) {  // 20 m
    slot += 1;
    if (s > 7) s -= 8;
  } else {  // 10 m
    s -= 16;
  }
  const RangeScale rs = em34_range(s);
  r.range = rs.range;
  r.dipole_code = slot;
  set_slot(r.slots, slot, first_value(record) * rs.scale);
  return r;
}

}  // namespace quelor
