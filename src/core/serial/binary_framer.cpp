#include "serial/binary_framer.h"

#include <array>
#include <cstring>

#include "serial/decode_em38mk2.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::string_view kTt = "Tt";
constexpr std::string_view kEm61Letters = "TDEFMNPQ";
constexpr std::string_view kEm61SecondLetters = "TDEFMNPQJKjk";

// Indexed by BinaryReader.
constexpr std::array<BinaryFormat, 5> kFormats{{
    {16, 0xFF, kTt, 14, true, {true, 10, false, false}},
    {28, 0xFF, kTt, 26, false, {}},
    {15, 0x7F, kEm61Letters, 14, true, {true, 9, false, true}},
    {15, 0x7F, kEm61Letters, 14, false, {true, 0, false, true}},
    {15, 0x7F, kEm61SecondLetters, 14, false, {true, 0, false, false}},
}};

constexpr int kKeepBelow = 180;

bool is_letter(const BinaryFormat& format, std::uint8_t byte) {
  return byte != 0 && format.letters.find(static_cast<char>(byte)) != std::string_view::npos;
}

// Keeps the last bytes of a long run of noise so that no record is lost at
// the end of the buffer.
void keep_tail(BinaryFramer& f, std::size_t keep) {
  const std::size_t first = static_cast<std::size_t>(f.n) + 1 - keep;
  std::memmove(f.buffer.data(), f.buffer.data() + first, keep);
  f.n = static_cast<int>(keep) - 1;
}

}  // namespace

const BinaryFormat& binary_format(BinaryReader reader) { return kFormats[static_cast<std::size_t>(reader)]; }

BinaryFramer make_binary_framer(BinaryReader reader, std::uint32_t message) {
  BinaryFramer f;
  f.reader = reader;
  f.message = message;
  return f;
}

FrameStep frame_binary_byte(BinaryFramer& f, std::uint8_t byte, const FrameContext& ctx) {
  const BinaryFormat& format = binary_format(f.reader);
  FrameStep step;
  if (f.n >= kKeepBelow) keep_tail(f, format.wire_length - 1);
  f.buffer[++f.n] = byte;
  const int last = static_cast<int>(format.wire_length) - 1;
  if (f.n < last || byte != format.end_byte || f.buffer[f.n - 1] != format.end_byte) return step;
  const std::uint8_t* start = &f.buffer[f.n - last];
  if (!is_letter(format, *start)) {
    step.event = FrameEvent::kRejected;
    return step;
  }
  assign_record(f.record, start, format.copy_length);
  // The EM61-LX2's soft marker (a digit or arrow key held): its readings
  // become the marker records its own marker switch gives.
  if (f.reader == BinaryReader::kEm61Continuous && ctx.marker)
    f.record.bytes[0] = static_cast<std::uint8_t>(marker_letter_of(kEm61Lx2, static_cast<char>(f.record.bytes[0])));
  if (f.reader == BinaryReader::kEm38_4)
    f.record.bytes[1] =
        static_cast<std::uint8_t>(f.record.bytes[1] + (ctx.line_active ? 16 : 0) + (ctx.marker ? 8 : 0));
  step.event = FrameEvent::kRecord;
  step.play_tick = count_sound(f.counters, format.sound, ctx);
  step.deliver = !format.decimate || count_record(f.counters, ctx);
  // A record of a switched EM38-MK2 is a trigger press: never decimated.
  if (f.reader == BinaryReader::kEm38Mk2 && em38_mode_letter(f.record.bytes[1]) == 'M') {
    f.counters.record_counter = 0;
    step.deliver = true;
  }
  f.n = -1;
  return step;
}

bool is_valid_binary_record(BinaryReader reader, const RecordBytes& record) {
  const BinaryFormat& format = binary_format(reader);
  return record.length == format.copy_length && is_letter(format, record.bytes[0]) && record.bytes[record.length] == 0;
}

}  // namespace quelor
