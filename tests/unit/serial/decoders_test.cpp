#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "serial/decode_em31.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "serial/decode_lines.h"
#include "serial/text_fields.h"
#include "wire.h"

namespace quelor {
namespace {

std::vector<std::uint8_t> t_record(std::uint8_t status, const char* v1, const char* v2 = "00000") {
  std::vector<std::uint8_t> r = test::em31_wire(status, v1, v2);
  r.pop_back();  // the carriage return is not part of the record
  return r;
}

int filled(const ChannelSlots& s) {
  int n = 0;
  for (bool p : s.present) n += p;
  return n;
}

TEST(Em31Mk2, StatusTable) {
  struct Case {
    std::uint8_t status;
    char dipole, mode;
    double range, scale;
  };
  const Case cases[] = {
      {0x20, 'V', 'N', 1000, -0.25}, {0x04, 'H', 'N', 100, -0.025}, {0x00, 'H', 'N', 1000, -0.25},
      {0x26, 'V', 'N', 1000, -0.25}, {0x61, 'V', 'M', 10, -0.0025}, {0xE4, 'V', 'M', 100, -0.025},
      {0x3C, 'V', 'N', 100, -0.025}, {0x0E, 'H', 'N', 1000, -0.25}, {0x12, 'H', 'N', 10, -0.0025},
      {0x4B, 'H', 'M', 10, -0.0025}, {0x1F, 'H', 'N', 10, -0.0025}, {0x16, 'H', 'N', 1000, -0.25},
  };
  for (const Case& c : cases) {
    const auto rec = t_record(c.status, "01234", "-0500");
    const Em31Reading r = decode_em31_mk2(rec, {});
    SCOPED_TRACE(static_cast<int>(c.status));
    EXPECT_EQ(r.dipole, c.dipole);
    EXPECT_EQ(r.mode, c.mode);
    EXPECT_EQ(r.range, c.range);
    const bool b = c.status & 1;
    const int base = c.dipole == 'V' ? 0 : 1;
    EXPECT_EQ(r.dipole_code, c.dipole == 'V' ? 16 : 8);
    EXPECT_DOUBLE_EQ(r.slots.value[base], 1234 * c.scale);
    EXPECT_DOUBLE_EQ(r.slots.value[base + 2], b ? -500 * c.scale : -500 * -0.0025);
    EXPECT_EQ(filled(r.slots), 2);
  }
}

TEST(Em31Mk2, EdgeCasesOfTheStatusByte) {
  const Em31Reading v = decode_em31_mk2(t_record(0x20, "01234"), {});
  EXPECT_EQ(v.dipole, 'V');
  EXPECT_EQ(v.range, 1000);
  EXPECT_DOUBLE_EQ(v.slots.value[0], -308.5);
  const Em31Reading h = decode_em31_mk2(t_record(0x04, "01234"), {});
  EXPECT_EQ(h.range, 100);
  EXPECT_EQ(h.dipole, 'H');
}

TEST(Em31Mk2, ManualModeLetterAlwaysN) {
  Em31Options o;
  o.manual_mode = true;
  const Em31Reading r = decode_em31_mk2(t_record(0x60, "00100"), o);
  EXPECT_EQ(r.mode, 'N');
  EXPECT_TRUE(r.marker);
}

TEST(Em31Mk2, InphaseDivisorAndInphaseOnly) {
  Em31Options div;
  div.inphase_divisor = true;
  EXPECT_DOUBLE_EQ(decode_em31_mk2(t_record(0x24, "00100", "00670"), div).slots.value[2], 670 * -0.0025 / 3.35);
  // flag B set: the divisor does not apply, both values take the range scale
  // (an odd status always leaves range 10)
  EXPECT_DOUBLE_EQ(decode_em31_mk2(t_record(0x25, "00100", "00670"), div).slots.value[2], 670 * -0.0025);
  EXPECT_EQ(decode_em31_mk2(t_record(0x25, "00100", "00670"), div).range, 10);

  Em31Options only;
  only.inphase_only = true;
  const Em31Reading a = decode_em31_mk2(t_record(0x24, "00400", "00670"), only);
  EXPECT_EQ(filled(a.slots), 1);
  EXPECT_TRUE(a.slots.present[2]);
  EXPECT_DOUBLE_EQ(a.slots.value[2], 400 * -0.025 * 0.25);
  const Em31Reading b = decode_em31_mk2(t_record(0x05, "00400"), only);
  EXPECT_TRUE(b.slots.present[3]);
  EXPECT_DOUBLE_EQ(b.slots.value[3], 400 * -0.0025);
  only.inphase_divisor = true;
  EXPECT_DOUBLE_EQ(decode_em31_mk2(t_record(0x24, "00400"), only).slots.value[2], 400 / 3.35);
}

TEST(Em31Mk2, UnreadableValuesReadAsZeroAndShortRecordsAreSafe) {
  const Em31Reading r = decode_em31_mk2(t_record(0x20, "ab123", "     "), {});
  EXPECT_EQ(r.slots.value[0], 0.0);
  EXPECT_EQ(r.slots.value[2], 0.0);
  const std::uint8_t tiny[] = {'T'};
  EXPECT_EQ(decode_em31_mk2(tiny, {}).range, 1000);
  EXPECT_EQ(decode_em34_3({}, {}).dipole, 'V');
}

TEST(Em38, StatusTable) {
  struct Case {
    std::uint8_t status;
    char dipole;
    bool inphase;
    double range, scale;
  };
  const Case cases[] = {
      {0x23, 'V', false, 1000, -0.0288}, {0x20, 'V', false, 100, -0.00288},     {0x27, 'V', true, 1000, -1.0},
      {0x04, 'H', true, 100, -0.1},      {0x33, 'V', false, 1000, -0.0288 / 8}, {0x16, 'H', true, 100, -0.1 / 8},
      {0x61, 'V', false, 100, -0.00288}, {0x0B, 'H', true, 100, -0.1},          {0x17, 'H', true, 1000, -1.0 / 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.status));
    const auto rec = t_record(c.status, "01000");
    const Em31Reading r = decode_em38(std::span(rec.data(), 7), {});
    EXPECT_EQ(r.dipole, c.dipole);
    EXPECT_EQ(r.inphase_record, c.inphase);
    EXPECT_EQ(r.range, c.range);
    const int slot = (c.dipole == 'V' ? 0 : 1) + (c.inphase ? 2 : 0);
    EXPECT_EQ(filled(r.slots), 1);
    EXPECT_DOUBLE_EQ(r.slots.value[slot], 1000 * c.scale);
  }
  Em31Options x10;
  x10.em38_x10 = true;
  const Em31Reading r = decode_em38(t_record(0x23, "01000"), x10);
  EXPECT_EQ(r.range, 10000);
  EXPECT_DOUBLE_EQ(r.slots.value[0], 1000 * -0.288);
}

TEST(Em34_3, OrientationSpacingRange) {
  struct Case {
    std::uint8_t status;
    char dipole;
    int slot;
    double range, scale;
  };
  const Case cases[] = {
      {0x38, 'H', 5, 3, -0.00075}, {0x21, 'H', 4, 1000, -0.25}, {0x10, 'V', 0, 3, -0.00075},
      {0x12, 'V', 0, 10, -0.0025}, {0x0B, 'V', 1, 30, -0.0075}, {0x04, 'V', 1, 100, -0.025},
      {0x1D, 'V', 2, 300, -0.075}, {0x3F, 'H', 5, 1000, -0.25}, {0x57, 'V', 0, 1000, -0.25},
      {0xE5, 'H', 4, 300, -0.075},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.status));
    const Em31Reading r = decode_em34_3(t_record(c.status, "02000"), {});
    EXPECT_EQ(r.dipole, c.dipole);
    EXPECT_EQ(r.dipole_code, c.slot);
    EXPECT_EQ(r.range, c.range);
    EXPECT_EQ(filled(r.slots), 1);
    EXPECT_DOUBLE_EQ(r.slots.value[c.slot], 2000 * c.scale);
  }
}

double u(std::uint16_t r) { return (r * 5.0 / 1024.0 - 160.0) * 8.0; }

TEST(Em38Mk2, BigEndianWordsOffsetsAndCoils) {
  const std::uint16_t w[6] = {0x8123, 0x7F00, 0x9000, 0x6543, 0x0102, 0xFEDC};
  auto wire = test::em38mk2_wire('T', 6, w);
  const std::span<const std::uint8_t> rec(wire.data(), 14);
  Em38Mk2Offsets off;
  off.vertical = {1.5, 2.5, 3.5, 4.5};
  off.horizontal = {-1, -2, -3, -4};
  const Em38Mk2Reading v = decode_em38_mk2(rec, off, false);
  EXPECT_EQ(v.mode, 'N');
  EXPECT_EQ(v.dipole, 'V');
  EXPECT_EQ(v.dipole_code, 16);
  EXPECT_DOUBLE_EQ(v.slots.value[0], u(0x9000) + 1.5);
  EXPECT_DOUBLE_EQ(v.slots.value[2], u(0x6543) * 0.028819 - 2.5);
  EXPECT_DOUBLE_EQ(v.slots.value[4], u(0x8123) + 3.5);
  EXPECT_DOUBLE_EQ(v.slots.value[6], u(0x7F00) * 0.00720475 - 4.5);
  EXPECT_EQ(filled(v.slots), 4);
  EXPECT_EQ(v.raw[0], 0x0102);
  EXPECT_EQ(v.raw[1], 0xFEDC);

  wire[1] = 3;  // "M", "H"
  const Em38Mk2Reading h = decode_em38_mk2(rec, off, true);
  EXPECT_EQ(h.mode, 'M');
  EXPECT_EQ(h.dipole, 'H');
  EXPECT_EQ(h.dipole_code, 8);
  EXPECT_EQ(filled(h.slots), 2);
  EXPECT_DOUBLE_EQ(h.slots.value[1], u(0x9000) - 1);
  EXPECT_DOUBLE_EQ(h.slots.value[3], u(0x6543) * 0.028819 + 2);
}

TEST(Em38Mk2, ModeByteTable) {
  struct Case {
    std::uint8_t m;
    char mode, dipole;
  };
  for (const Case c : {Case{0, 'M', 'H'}, Case{2, 'N', 'H'}, Case{3, 'M', 'H'}, Case{4, 'M', 'V'}, Case{6, 'N', 'V'},
                       Case{7, 'M', 'V'}}) {
    const std::uint8_t rec[14] = {'T', c.m};
    const Em38Mk2Reading r = decode_em38_mk2(rec, {}, false);
    EXPECT_EQ(r.mode, c.mode) << int(c.m);
    EXPECT_EQ(r.dipole, c.dipole) << int(c.m);
  }
}

TEST(Em38_4, FourPairsAndExtraValues) {
  const std::uint16_t w[12] = {0x8000, 0x8100, 0x7000, 0x9000, 0x8800, 0x7800, 0x8123, 0x7ABC, 100, 250, 500, 31};
  const auto wire = test::em38_4_wire('T', 6, w);
  const std::span<const std::uint8_t> rec(wire.data(), 26);
  Em38_4Calibration c;
  c.conductivity_offset = {1, 2, 3, 4};
  c.inphase_offset = {0.1, 0.2, 0.3, 0.4};
  c.carrier_offset = {10, 20, 30, 40};
  c.carrier_inphase_offset = {0.01, 0.02, 0.03, 0.04};
  c.extra_offset = {5, 6};
  const double k[4] = {0.0286, 0.0222, 0.00716, 0.0161};
  for (bool raw : {false, true}) {
    const Em38_4Reading r = decode_em38_4(rec, c, raw);
    EXPECT_EQ(r.mode, 'N');
    EXPECT_EQ(r.dipole, 'V');
    EXPECT_EQ(r.dipole_code, 8);
    for (int p = 0; p < 4; ++p) {
      EXPECT_DOUBLE_EQ(r.slots[2 * p], u(w[2 * p]) + c.conductivity_offset[p] - c.carrier_offset[p]);
      const double ip = raw ? u(w[2 * p + 1]) : u(w[2 * p + 1]) * k[p];
      EXPECT_DOUBLE_EQ(r.slots[2 * p + 1], ip - c.inphase_offset[p] - c.carrier_inphase_offset[p]);
    }
    EXPECT_DOUBLE_EQ(r.extra[0], 100 * 0.66667 - 4 + 5);
    EXPECT_DOUBLE_EQ(r.extra[1], 250 * 0.66667 - 4 + 6);
    EXPECT_DOUBLE_EQ(r.extra[2], (500 - 31) / 3.1 - 40);
    EXPECT_DOUBLE_EQ(r.extra[3], -40);
  }
}

TEST(Em61, RangeCascade) {
  struct Case {
    std::uint8_t g;
    std::array<int, 4> f;
  };
  const Case cases[] = {
      {0xFF, {100, 100, 100, 100}}, {0x00, {1, 1, 1, 1}},      {0x40, {10, 1, 1, 1}},     {0xC0, {100, 1, 1, 1}},
      {0x10, {1, 10, 1, 1}},        {0x30, {1, 100, 1, 1}},    {0x04, {1, 1, 10, 1}},     {0x0C, {1, 1, 100, 1}},
      {0x01, {1, 1, 1, 10}},        {0x03, {1, 1, 1, 100}},    {0x02, {1, 1, 1, 1}},      {0x55, {10, 10, 10, 10}},
      {0x7F, {10, 100, 100, 100}},  {0xAA, {10, 100, 100, 1}}, {0xE5, {100, 10, 100, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(em61_range_factors(c.g), c.f) << std::hex << int(c.g);
}

TEST(Em61, GateFactorsByLetterAndCoil) {
  struct Case {
    char letter;
    int coil, sub;
    bool halving;
    double current;
    std::array<double, 4> f;
    double nominal;
  };
  const Case cases[] = {
      {'D', 0, 0, false, 2000, {2, 2, 2, 4 * 1.114 / 1.112}, 3000},
      {'N', 2, 1, false, 2000, {2, 2, 2, 4}, 3000},
      {'D', 0, 1, true, 2000, {4, 4, 4, 4}, 3000},
      {'D', 1, 0, false, 1000, {1.72, 2.54, 3.74, 6.07 * 1.114 * 1.112}, 920},
      {'N', 3, 0, false, 1350, {1.72, 2.54, 3.74, 6.07 * 1.114 * 1.112}, 1840},
      {'D', 1, 1, false, 1649, {1.72, 2.54, 3.74, 6.07}, 1123},
      {'D', 1, 1, false, 1650, {1.72, 2.54, 3.74, 6.07}, 2230},
      {'N', 1, 2, false, 2599, {1.33, 1.33 * 1.53, 1.33 * 2.257, 1.33 * 1.885}, 1920},
      {'N', 1, 2, false, 2600, {1.33, 1.33 * 1.53, 1.33 * 2.257, 1.33 * 1.885}, 3729},
      {'E', 0, 0, false, 0, {0.9025, 1.363, 2.026795, 3.018856}, 1800},
      {'P', 1, 2, false, 0, {0.9025, 1.363, 2.026795, 3.018856}, 1800},
      {'F', 3, 0, false, 0, {0.9025, 1.363, 2.043, 12.152}, 1800},
      {'Q', 0, 0, true, 0, {0.9025, 1.363, 2.043, 12.152}, 1800},
      {'T', 0, 0, true, 0, {2, 2, 2, 2}, 3000},
      {'M', 2, 0, false, 0, {2, 2, 2, 2}, 3000},
      {'T', 1, 0, false, 1000, {1.72, 2.54, 3.74, 6.07}, 920},
      {'J', 3, 2, false, 3000, {1.33, 1.33 * 1.53, 1.33 * 2.257, 1.33 * 1.885}, 3729},
  };
  for (const Case& c : cases) {
    Em61Mk2Options o;
    o.coil_type = c.coil;
    o.sub_type = c.sub;
    o.halving = c.halving;
    const GateFactors g = em61_gate_factors(c.letter, o, c.current);
    SCOPED_TRACE(std::string(1, c.letter) + " coil " + std::to_string(c.coil) + " sub " + std::to_string(c.sub));
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(g.factors[i], c.f[i]) << i;
    EXPECT_EQ(g.nominal_current, c.nominal);
  }
}

TEST(Em61Mk2, ChannelsCurrentAndRecordRewrite) {
  const auto wire = test::em61_wire('E', 0x55, 1000, -2000, 300, 4000, 2094, 0x21);
  RecordBytes record;
  assign_record(record, wire.data(), 14);
  CurrentRing off = make_current_ring(0);
  const std::array<double, 4> nulling{0.5, -0.5, 1, 0};
  const Em61Reading r = decode_em61_mk2(record, {}, off, nulling);
  const double current = 2094 / 1.047;
  const double gates[4] = {0.9025, 1.363, 2.026795, 3.018856};
  const double raw[4] = {1000, -2000, 300, 4000};
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(r.channels[i], raw[i] * 4.8333 / 10 / gates[i] - nulling[i]);
  EXPECT_DOUBLE_EQ(r.current, current);
  EXPECT_DOUBLE_EQ(r.mean_current, current);
  EXPECT_EQ(record.length, 16u);
  EXPECT_EQ(record.bytes[13], 0x08);  // old 10-12
  EXPECT_EQ(record.bytes[14], 0x2E);
  EXPECT_EQ(record.bytes[15], 0x21);
  const int whole = static_cast<int>(current);
  EXPECT_EQ(record.bytes[10] << 8 | record.bytes[11], whole);
  EXPECT_EQ(record.bytes[12], static_cast<int>((current - whole) * 100));
  EXPECT_EQ(record.bytes[16], 0);
}

TEST(Em61Mk2, CurrentDivisionByCoilType) {
  const double divisors[4] = {1.047, 1.152, 1, 1};
  for (int coil = 0; coil < 4; ++coil) {
    for (bool timed : {false, true}) {
      const auto wire = test::em61_wire('T', 0, 1, 1, 1, 1, 1500);
      RecordBytes record;
      assign_record(record, wire.data(), 14);
      CurrentRing off = make_current_ring(0);
      Em61Mk2Options o;
      o.coil_type = coil;
      o.timed_readings = timed;
      EXPECT_DOUBLE_EQ(decode_em61_mk2(record, o, off, {}).current, timed ? 1500 : 1500 / divisors[coil]);
    }
  }
}

TEST(Em61Mk2, NormalisationRing) {
  CurrentRing ring = make_current_ring(3);
  Em61Mk2Options o;
  o.coil_type = kCoilStandardNcc;  // no division: currents as sent
  const std::int16_t currents[] = {3000, 2700, 3300, 1500};
  const double means[] = {3000, 2850, 3000, (2700 + 3300 + 1500) / 3.0};
  for (int i = 0; i < 4; ++i) {
    const auto wire = test::em61_wire('T', 0, 100, 200, 300, 400, currents[i]);
    RecordBytes record;
    assign_record(record, wire.data(), 14);
    const Em61Reading r = decode_em61_mk2(record, o, ring, {});
    EXPECT_DOUBLE_EQ(r.mean_current, means[i]) << i;
    EXPECT_DOUBLE_EQ(r.normalisation, 3000 / means[i]);
    EXPECT_DOUBLE_EQ(r.channels[0], 100 * 4.8333 / 2 * (3000 / means[i]));
  }
  EXPECT_TRUE(ring_full(ring));
}

TEST(Em61Mk2, ZeroMeanCurrentLeavesChannelsUnscaled) {
  CurrentRing ring = make_current_ring(4);
  const auto wire = test::em61_wire('T', 0, 100, 0, 0, 0, 0);
  RecordBytes record;
  assign_record(record, wire.data(), 14);
  const Em61Reading r = decode_em61_mk2(record, {}, ring, {});
  EXPECT_EQ(r.normalisation, 1.0);
  EXPECT_TRUE(std::isfinite(r.channels[0]));
}

// The EM61-LX2 runs without the current ring: its channels are never
// normalised, whatever its current, and its record keeps its own current.
TEST(Em61Lx2, OneAndTwoCoilsNeverNormalised) {
  for (bool two : {false, true})
    for (std::int16_t current : {1500, 2212, 2213, 2500}) {
      const auto wire = test::em61_wire('T', 0xFF, 100, -200, 300, 400, current);
      RecordBytes record;
      assign_record(record, wire.data(), 14);
      const std::array<double, 4> nulling{1, 2, 3, 4};
      const Em61Reading r = decode_em61_lx2(record, two, nulling);
      EXPECT_EQ(r.channel_count, two ? 4 : 2);
      EXPECT_EQ(r.normalisation, 1.0);
      const double raw[4] = {100, -200, 300, 400};
      for (int i = 0; i < r.channel_count; ++i) EXPECT_DOUBLE_EQ(r.channels[i], raw[i] * 20 / 100 - nulling[i]);
      EXPECT_EQ(record.length, 13u);
      EXPECT_EQ(record.bytes[10] << 8 | record.bytes[11], current);
      EXPECT_EQ(record.bytes[12], 0);
      EXPECT_EQ(record.bytes[13], 0);
    }
}

TEST(Grad601, FieldsOneAndTwoSensors) {
  const Grad601Reading one = decode_grad601("$PBAR,12.5,-3.25,7", false);
  EXPECT_EQ(one.count, 1);
  EXPECT_DOUBLE_EQ(*one.values[0], 12.5);
  const Grad601Reading two = decode_grad601("$PBAR,12.5,-3.25*1F", true);
  EXPECT_DOUBLE_EQ(*two.values[1], -3.25);
  const Grad601Reading empty = decode_grad601("$PBAR,,abc", true);
  EXPECT_FALSE(empty.values[0].has_value());
  EXPECT_EQ(*empty.values[1], 0.0);
  EXPECT_FALSE(decode_grad601("$PBAR", true).values[0].has_value());
}

TEST(Cs21, NumericFieldsAndFlag) {
  const Cs21Reading r = decode_cs21("$PDLMA,123.4,1.5,-2,abc,,3.5e1,9");
  EXPECT_EQ(r.flag, 'A');
  EXPECT_DOUBLE_EQ(*r.values[0], 1.5);
  EXPECT_DOUBLE_EQ(*r.values[1], -2);
  EXPECT_FALSE(r.values[2].has_value());
  EXPECT_FALSE(r.values[3].has_value());
  const Cs21Reading s = decode_cs21("$PDLM1,1,2,3,4,5.5*3A");
  EXPECT_EQ(s.flag, '1');
  EXPECT_DOUBLE_EQ(*s.values[3], 5.5);
  const Cs21Reading t = decode_cs21("$PDLM2,1,2");
  EXPECT_DOUBLE_EQ(*t.values[0], 2);
  EXPECT_FALSE(t.values[1].has_value());
}

TEST(TextFields, FieldExtraction) {
  EXPECT_EQ(*text_field("$A,b,,c*12", 1), "$A");
  EXPECT_EQ(*text_field("$A,b,,c*12", 3), "");
  EXPECT_EQ(*text_field("$A,b,,c*12", 4), "c*12");
  EXPECT_FALSE(text_field("$A,b,,c*12", 5).has_value());
  EXPECT_FALSE(text_field("x", 0).has_value());
  for (const char* bad : {"", "+", "-.", "1.2.3", "1e", "0x10", "nan", "inf", "1 ", "1e999", "-1e400"})
    EXPECT_FALSE(numeric_field(bad)) << bad;
  for (const char* good : {"1", "-1.5", "+.5", "5.", "1e3", "2.5E-2*7F"}) EXPECT_TRUE(numeric_field(good)) << good;
}

}  // namespace
}  // namespace quelor
