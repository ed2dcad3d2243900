// Seeded random and mutated byte streams through every framer and decoder:
// nothing crashes or hangs, and every record a framer emits passes its own
// validity test.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "serial/decode_em31.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "serial/decode_lines.h"
#include "serial/em38_length.h"
#include "variant/variant.h"
#include "wire.h"

namespace quelor {
namespace {

using test::Bytes;
using test::operator+;

constexpr std::size_t kRandomBytes = 200000;

struct FuzzTarget {
  const char* name;
  std::optional<InstrumentType> type;  // nullopt: tilt meter
  ReaderOptions options;
  Bytes valid;  // a few valid records to mutate
};

std::vector<FuzzTarget> targets() {
  const std::uint16_t w6[6] = {0x8123, 0x7F00, 0xFFFF, 0x6543, 0x0102, 0xFEDC};
  const std::uint16_t w12[12] = {0x8000, 0xFFFF, 0x7000, 0x9000, 0x8800, 0x7800, 0, 1, 100, 250, 500, 31};
  const std::string tilt_body = "PTILT,1.25,-0.50";
  return {
      {"em31mk2", kEm31Mk2, {}, test::em31_wire(0x20, "01234", "-0567") + test::em31_wire(0x65, "99999", "00000")},
      {"em38-7",
       kEm38,
       {.record_length = 7},
       test::bytes_of("T\x23"
                      "01234\rT\x37"
                      "-0001\r")},
      {"em38-12", kEm38, {.record_length = 12}, test::em31_wire(0x27, "01234", "00001")},
      {"em34-3", kEm34_3, {}, test::em31_wire(0x38, "01234", "00000") + test::em31_wire(0x21, "00010", "00000")},
      {"em38mk2", kEm38Mk2, {}, test::em38mk2_wire('T', 6, w6) + test::em38mk2_wire('t', 3, w6)},
      {"em38-4", kEm38_4, {}, test::em38_4_wire('T', 2, w12) + test::em38_4_wire('t', 6, w12)},
      {"em61lx2", kEm61Lx2, {.two_coils = true}, test::em61_wire('T', 0xFF, 1, -2, 3, 0x7F7F, 2500)},
      {"em61mk2",
       kEm61Mk2,
       {},
       test::em61_wire('D', 0x55, 1, -2, 3, 4, 2000) + test::em61_wire('Q', 3, 5, 6, 7, 8, 1000)},
      {"em61mk2-polled", kEm61Mk2, {.polled = true}, test::em61_wire('E', 0x55, 1, -2, 3, 4, 2000)},
      {"em61mk2-second", kEm61Mk2, {.second_mode = true}, test::em61_wire('j', 0x55, 1, -2, 3, 4, 2000)},
      {"grad601", kGrad601, {}, test::bytes_of("$PBAR,12.5,-3.25*1F\r\n$PBAR,,7\r\n")},
      {"cs21", kCs21, {}, test::bytes_of("$PDLM1,1,2,3,4,5.5*3A\r\n$PDLMA,x,,1e3,-2\r\n")},
      {"tilt", std::nullopt, {}, test::bytes_of("$" + tilt_body + "*" + test::nmea_checksum(tilt_body) + "\r\n")},
  };
}

InstrumentFramer framer_of(const FuzzTarget& t) {
  return !t.type ? make_tilt_reader_framer() : *make_instrument_framer(*t.type, t.options);
}

// The validity test a reader applies, checked on what the framer emitted.
void check_record(const FuzzTarget& t, const InstrumentFramer& framer, const FrameStep& step) {
  const RecordBytes& r = framed_record(framer);
  ASSERT_EQ(r.bytes[r.length], 0) << t.name;
  if (const auto* f = std::get_if<TFramer>(&framer)) {
    ASSERT_EQ(r.length, static_cast<std::size_t>(f->record_length)) << t.name;
    ASSERT_EQ(r.bytes[0], 'T') << t.name;
  } else if (const auto* b = std::get_if<BinaryFramer>(&framer)) {
    ASSERT_TRUE(is_valid_binary_record(b->reader, r)) << t.name;
  } else if (const auto* l = std::get_if<LineFramer>(&framer)) {
    ASSERT_TRUE(r.text().starts_with(l->head)) << t.name;
    ASSERT_LT(r.length, kInstrumentRecordSize) << t.name;
  } else {
    ASSERT_EQ(tilt_checksum_ok(r.text()), step.event == FrameEvent::kRecord) << t.name;
    ASSERT_LT(r.length, kTiltSentenceSize) << t.name;
  }
}

// Decodes a record with the instrument's decoder; all values must exist.
void decode(const FuzzTarget& t, const RecordBytes& framed, CurrentRing& ring) {
  RecordBytes r = framed;
  if (!t.type) return;
  switch (*t.type) {
    case kEm31Mk2: {
      Em31Options o;
      o.inphase_only = r.length % 2;
      o.inphase_divisor = r.bytes[1] & 2;
      decode_em31_mk2(r.view(), o);
      break;
    }
    case kEm38: decode_em38(r.view(), {}); break;
    case kEm34_3: {
      const Em31Reading e = decode_em34_3(r.view(), {});
      ASSERT_GE(e.dipole_code, 0);
      ASSERT_LE(e.dipole_code, 5);
      break;
    }
    case kEm38Mk2: {
      const Em38Mk2Reading e = decode_em38_mk2(r.view(), {}, false);
      for (double v : e.slots.value) ASSERT_TRUE(std::isfinite(v));
      break;
    }
    case kEm38_4: {
      const Em38_4Reading e = decode_em38_4(r.view(), {}, false);
      for (double v : e.slots) ASSERT_TRUE(std::isfinite(v));
      break;
    }
    case kEm61Mk2: {
      Em61Mk2Options o;
      o.coil_type = r.bytes[2] & 3;
      o.sub_type = r.bytes[3] % 3;
      const Em61Reading e = decode_em61_mk2(r, o, ring, {});
      for (double v : e.channels) ASSERT_TRUE(std::isfinite(v));
      ASSERT_EQ(r.length, 16u);
      break;
    }
    case kEm61Lx2: {
      const Em61Reading e = decode_em61_lx2(r, true, {});
      for (double v : e.channels) ASSERT_TRUE(std::isfinite(v));
      ASSERT_EQ(r.length, 13u);
      break;
    }
    case kGrad601: decode_grad601(r.text(), true); break;
    case kCs21: {
      const Cs21Reading e = decode_cs21(r.text());
      for (const auto& v : e.values) {
        if (v) {
          ASSERT_TRUE(std::isfinite(*v));
        }
      }
      break;
    }
    default: break;
  }
}

Bytes random_stream(std::mt19937& rng, std::size_t n, const Bytes& alphabet_bias) {
  Bytes out(n);
  std::uniform_int_distribution<int> byte(0, 255), pick(0, 3);
  std::uniform_int_distribution<std::size_t> bias(0, alphabet_bias.size() - 1);
  for (auto& b : out) b = pick(rng) == 0 ? alphabet_bias[bias(rng)] : static_cast<std::uint8_t>(byte(rng));
  return out;
}

Bytes mutated(std::mt19937& rng, const Bytes& valid, std::size_t total) {
  Bytes out;
  std::uniform_int_distribution<int> op(0, 9), byte(0, 255);
  while (out.size() < total) {
    Bytes copy = valid;
    std::uniform_int_distribution<std::size_t> at(0, copy.size() - 1);
    switch (op(rng)) {
      case 0: copy[at(rng)] = static_cast<std::uint8_t>(byte(rng)); break;
      case 1: copy.erase(copy.begin() + static_cast<std::ptrdiff_t>(at(rng))); break;
      case 2:
        copy.insert(copy.begin() + static_cast<std::ptrdiff_t>(at(rng)), static_cast<std::uint8_t>(byte(rng)));
        break;
      case 3: copy.resize(at(rng)); break;
      default: break;  // unchanged
    }
    out = out + copy;
  }
  return out;
}

struct Counts {
  int records = 0;
  int rejected = 0;
};

Counts run_stream(const FuzzTarget& t, const Bytes& stream, std::mt19937& rng) {
  InstrumentFramer framer = framer_of(t);
  CurrentRing ring = make_current_ring(7);
  FrameContext ctx;
  std::uniform_int_distribution<int> small(0, 7);
  Counts c;
  for (std::size_t i = 0; i < stream.size(); ++i) {
    if (i % 997 == 0) {  // survey values change while the reader runs
      ctx.records_per_reading = small(rng) - 1;
      ctx.sound_on = small(rng) & 1;
      ctx.logging = small(rng) & 1;
      ctx.survey_mode = small(rng) % 3;
      ctx.sound_every = small(rng) - 1;
    }
    const FrameStep step = frame_byte(framer, stream[i], ctx);
    if (step.event == FrameEvent::kNone) {
      if (step.deliver || step.play_tick) ADD_FAILURE() << t.name << ": action without a record";
      continue;
    }
    if (step.event == FrameEvent::kRejected) {
      ++c.rejected;
      if (step.deliver || step.play_tick) ADD_FAILURE() << t.name << ": rejected record delivered";
      if (!t.type) check_record(t, framer, step);
      continue;
    }
    ++c.records;
    check_record(t, framer, step);
    decode(t, framed_record(framer), ring);
    if (::testing::Test::HasFatalFailure()) return c;
  }
  return c;
}

TEST(Fuzz, RandomBytesThroughEveryFramer) {
  for (const FuzzTarget& t : targets()) {
    std::mt19937 rng(20261208);
    const Bytes stream = random_stream(rng, kRandomBytes, t.valid);
    run_stream(t, stream, rng);
    if (HasFatalFailure()) return;
  }
}

TEST(Fuzz, MutatedValidStreamsThroughEveryFramer) {
  for (const FuzzTarget& t : targets()) {
    std::mt19937 rng(7);
    const Bytes stream = mutated(rng, t.valid, kRandomBytes);
    const Counts c = run_stream(t, stream, rng);
    if (HasFatalFailure()) return;
    EXPECT_GT(c.records, 1000) << t.name;  // most copies stay valid
  }
}

TEST(Fuzz, DecodersOnRandomRecords) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> length(0, 40);
  CurrentRing ring = make_current_ring(5);
  for (int i = 0; i < 50000; ++i) {
    RecordBytes r;
    Bytes raw(length(rng));
    for (auto& b : raw) b = static_cast<std::uint8_t>(byte(rng));
    assign_record(r, raw.data(), raw.size());
    Em31Options o{(i & 1) != 0, (i & 2) != 0, (i & 4) != 0, (i & 8) != 0};
    decode_em31_mk2(r.view(), o);
    decode_em38(r.view(), o);
    const Em31Reading e = decode_em34_3(r.view(), o);
    ASSERT_LE(e.dipole_code, 5);
    decode_em38_mk2(r.view(), {}, false);
    decode_em38_4(r.view(), {}, true);
    decode_grad601(r.text(), true);
    decode_cs21(r.text());
    RecordBytes a = r, b = r;
    decode_em61_mk2(a, {.coil_type = i & 3, .sub_type = i % 3}, ring, {});
    decode_em61_lx2(b, (i & 1) != 0, {});
    em38_length_of(raw.data(), raw.size());
  }
}

}  // namespace
}  // namespace quelor
