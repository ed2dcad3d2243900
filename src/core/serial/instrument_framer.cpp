#include "serial/instrument_framer.h"

#include "serial/decode_em38mk2.h"
#include "variant/variant.h"

namespace quelor {

namespace {

BinaryFramer em61_framer(std::uint32_t message, const ReaderOptions& o) {
  const BinaryReader reader = o.second_mode ? BinaryReader::kEm61SecondMode
                              : o.polled    ? BinaryReader::kEm61Polled
                                            : BinaryReader::kEm61Continuous;
  return make_binary_framer(reader, message);
}

template <class... F>
struct Overload : F... {
  using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

}  // namespace

std::optional<InstrumentFramer> make_instrument_framer(InstrumentType type, const ReaderOptions& o) {
  switch (type) {
    case kEm31Mk2: return make_t_framer(12, WM_EM31_READING);
    case kEm38: return make_t_framer(o.record_length, WM_EM38_READING);
    case kEm34_3: return make_t_framer(12, WM_EM34_READING);
    case kEm38Mk2: return make_binary_framer(BinaryReader::kEm38Mk2, WM_EM38MK2_READING);
    case kEm38_4: return make_binary_framer(BinaryReader::kEm38_4, WM_EM38_4_READING);
    case kCs21: return make_cs21_framer();
    case kGrad601: return make_grad601_framer();
    case kEm61Lx2:
      return make_binary_framer(BinaryReader::kEm61Continuous, o.two_coils ? WM_LX2_DUAL_READING : WM_LX2_READING);
    case kEm61Mk2: return em61_framer(WM_EM61_READING, o);
    default: return std::nullopt;
  }
}

InstrumentFramer make_tilt_reader_framer() { return TiltFramer{}; }

FrameStep frame_byte(InstrumentFramer& framer, std::uint8_t byte, const FrameContext& ctx) {
  return std::visit(Overload{
                        [&](TFramer& f) { return frame_t_byte(f, byte, ctx); },
                        [&](BinaryFramer& f) { return frame_binary_byte(f, byte, ctx); },
                        [&](LineFramer& f) { return frame_line_byte(f, byte); },
                        [&](TiltFramer& f) { return frame_tilt_byte(f, byte); },
                    },
                    framer);
}

const RecordBytes& framed_record(const InstrumentFramer& framer) {
  return std::visit([](const auto& f) -> const RecordBytes& { return f.record; }, framer);
}

const ReadingMessage& framer_message(const InstrumentFramer& framer) {
  const std::uint32_t id = std::visit(Overload{
                                          [](const TiltFramer&) -> std::uint32_t { return WM_TILT_READING; },
                                          [](const auto& f) -> std::uint32_t { return f.message; },
                                      },
                                      framer);
  return *find_reading_message(id);
}

bool record_triggered(InstrumentType instrument_type, const RecordBytes& record) {
  if (record.length < 2) return false;
  switch (instrument_type) {
    case kEm31Mk2:
    case kEm34_3:
    case kEm38: return (record.bytes[1] & 0x7F) >= 64;
    case kEm61Mk2:
    case kEm61Lx2: {
      const char letter = static_cast<char>(record.bytes[0]);
      return letter != 'T' && letter != 'D' && letter != 'E' && letter != 'F';
    }
    case kEm38Mk2: return em38_mode_letter(record.bytes[1]) == 'M';  // its switch on Manual: one record a press
    default: return false;
  }
}

}  // namespace quelor
