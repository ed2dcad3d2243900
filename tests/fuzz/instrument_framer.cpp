// The instrument readers' framers and the decoders behind them: the first
// byte picks the instrument and its reader options, the rest is the serial
// stream. Every framed record must pass the reader's own validity test and
// decode into finite values.
#include <cmath>
#include <optional>
#include <variant>

#include "fuzz_target.h"
#include "serial/decode_em31.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "serial/decode_lines.h"
#include "serial/instrument_framer.h"
#include "variant/variant.h"
#include "wire.h"

namespace quelor::fuzz {
namespace {

struct Reader {
  std::optional<InstrumentType> type;  // nullopt: the tilt meter
  ReaderOptions options;
};

constexpr Reader kReaders[] = {
    {kEm31Mk2, {}},
    {kEm38, {.record_length = 7}},
    {kEm38, {.record_length = 12}},
    {kEm34_3, {}},
    {kEm38Mk2, {}},
    {kEm38_4, {}},
    {kEm61Lx2, {.two_coils = true}},
    {kEm61Lx2, {}},
    {kEm61Mk2, {}},
    {kEm61Mk2, {.polled = true}},
    {kEm61Mk2, {.second_mode = true}},
    {kGrad601, {}},
    {kCs21, {}},
    {std::nullopt, {}},
};
constexpr std::size_t kReaderCount = std::size(kReaders);

void all_finite(const auto& values, std::string_view what) {
  for (double v : values) expect(std::isfinite(v), what);
}

void decode(const Reader& r, RecordBytes record, std::uint8_t options, CurrentRing& ring) {
  const Em31Options em31{(options & 1) != 0, (options & 2) != 0, (options & 4) != 0, (options & 8) != 0};
  if (!r.type) return;
  switch (*r.type) {
    case kEm31Mk2: decode_em31_mk2(record.view(), em31); break;
    case kEm38: decode_em38(record.view(), em31); break;
    case kEm34_3: {
      const Em31Reading e = decode_em34_3(record.view(), em31);
      expect(e.dipole_code >= 0 && e.dipole_code <= 5, "EM34-3 slot index");
      break;
    }
    case kEm38Mk2:
      all_finite(decode_em38_mk2(record.view(), {}, (options & 1) != 0).slots.value, "EM38-MK2 value");
      break;
    case kEm38_4: all_finite(decode_em38_4(record.view(), {}, (options & 1) != 0).slots, "EM38-4 value"); break;
    case kEm61Mk2: {
      Em61Mk2Options o;
      o.coil_type = options & 3;
      o.sub_type = (options >> 2) % 3;
      o.timed_readings = (options & 16) != 0;
      o.halving = (options & 32) != 0;
      all_finite(decode_em61_mk2(record, o, ring, {}).channels, "EM61-MK2 channel");
      expect(record.length == 16, "EM61-MK2 record rewritten to 16 bytes");
      break;
    }
    case kEm61Lx2:
      all_finite(decode_em61_lx2(record, r.options.two_coils, {}).channels, "EM61-LX2 channel");
      expect(record.length == 13, "EM61-LX2 record rewritten to 13 bytes");
      break;
    case kGrad601: {
      const Grad601Reading g = decode_grad601(record.text(), (options & 1) != 0);
      for (const auto& v : g.values)
        if (v) expect(!std::isnan(*v), "Grad601 value");
      break;
    }
    case kCs21:
      for (const auto& v : decode_cs21(record.text()).values)
        if (v) expect(std::isfinite(*v), "CS-21 value");
      break;
    default: break;
  }
}

}  // namespace

std::vector<std::string> seeds() {
  using test::Bytes;
  using test::operator+;
  const std::uint16_t w6[6] = {0x8123, 0x7F00, 0xFFFF, 0x6543, 0x0102, 0xFEDC};
  const std::uint16_t w12[12] = {0x8000, 0xFFFF, 0x7000, 0x9000, 0x8800, 0x7800, 0, 1, 100, 250, 500, 31};
  const std::string tilt = "PTLT,1.25,181.5,21.0,-0.50";
  const Bytes streams[kReaderCount] = {
      test::em31_wire(0x20, "01234", "-0567") + test::em31_wire(0x65, "99999", "00000"),
      test::bytes_of("T\x23"
                     "01234\rT\x37"
                     "-0001\r"),
      test::em31_wire(0x27, "01234", "00001") + test::em31_wire(0x07, "-0012", "00000"),
      test::em31_wire(0x38, "01234", "00000") + test::em31_wire(0x21, "00010", "00000"),
      test::em38mk2_wire('T', 6, w6) + test::em38mk2_wire('t', 3, w6),
      test::em38_4_wire('T', 2, w12) + test::em38_4_wire('t', 6, w12),
      test::em61_wire('T', 0xFF, 1, -2, 3, 0x7F7F, 2500),
      test::em61_wire('D', 0x15, 100, 200, 3, 4, 1200),
      test::em61_wire('D', 0x55, 1, -2, 3, 4, 2000) + test::em61_wire('Q', 3, 5, 6, 7, 8, 1000),
      test::em61_wire('E', 0x55, 1, -2, 3, 4, 2000),
      test::em61_wire('j', 0x55, 1, -2, 3, 4, 2000) + test::em61_wire('K', 0, 9, 9, 9, 9, 900),
      test::bytes_of("$PBAR,12.5,-3.25\r\n$PBAR,,7\r\n"),
      test::bytes_of("$PDLM1,120000.0,22.5,1.25,18.0,0.75,21.5*3A\r\n$PDLMA,x,,1e3,-2\r\n"),
      test::bytes_of("$" + tilt + "*" + test::nmea_checksum(tilt) + "\r\n"),
  };
  std::vector<std::string> out;
  for (std::size_t i = 0; i < kReaderCount; ++i) {
    std::string s(1, static_cast<char>(i));
    s.append(streams[i].begin(), streams[i].end());
    out.push_back(s);
  }
  return out;
}

void fuzz_one(const FuzzInput& in) {
  if (in.bytes.size() < 2) return;
  const Reader& r = kReaders[in.bytes[0] % kReaderCount];
  const std::uint8_t options = in.bytes[1];
  InstrumentFramer framer = !r.type ? make_tilt_reader_framer() : *make_instrument_framer(*r.type, r.options);
  CurrentRing ring = make_current_ring(1 + options % 8);
  FrameContext ctx;
  ctx.records_per_reading = options % 4 - 1;
  ctx.logging = (options & 64) != 0;
  ctx.survey_mode = (options >> 4) % 3;
  ctx.sound_on = (options & 128) != 0;
  for (std::size_t i = 2; i < in.bytes.size(); ++i) {
    const FrameStep step = frame_byte(framer, in.bytes[i], ctx);
    if (step.event == FrameEvent::kNone) {
      expect(!step.deliver && !step.play_tick, "an action without a record");
      continue;
    }
    const RecordBytes& record = framed_record(framer);
    expect(record.length < sizeof record.bytes && record.bytes[record.length] == 0, "record ends with NUL");
    if (step.event == FrameEvent::kRejected) {
      expect(!step.deliver, "a rejected record delivered");
      continue;
    }
    if (const auto* t = std::get_if<TFramer>(&framer)) {
      expect(record.length == static_cast<std::size_t>(t->record_length) && record.bytes[0] == 'T', "T record");
    } else if (const auto* b = std::get_if<BinaryFramer>(&framer)) {
      expect(is_valid_binary_record(b->reader, record), "binary record valid");
    } else if (const auto* l = std::get_if<LineFramer>(&framer)) {
      expect(record.text().starts_with(l->head), "line record head");
    } else {
      expect(tilt_checksum_ok(record.text()), "tilt sentence checksum");
    }
    decode(r, record, options, ring);
  }
}

}  // namespace quelor::fuzz
