#pragma once
// Test helpers: byte streams as an instrument would send them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "serial/instrument_framer.h"

namespace quelor::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytes_of(std::string_view s) { return Bytes(s.begin(), s.end()); }

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// "T" + status + two five-character values + carriage return.
inline Bytes em31_wire(std::uint8_t status, std::string_view v1, std::string_view v2) {
  Bytes b{'T', status};
  b.insert(b.end(), v1.begin(), v1.end());
  b.insert(b.end(), v2.begin(), v2.end());
  b.push_back('\r');
  return b;
}

inline void put_be(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v >> 8);
  b[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
}

// EM61: letter, range byte, four channels, current, further byte, 0x7F 0x7F.
inline Bytes em61_wire(char letter, std::uint8_t g, std::int16_t c1, std::int16_t c2, std::int16_t c3, std::int16_t c4,
                       std::int16_t current, std::uint8_t further = 0x21) {
  Bytes b(15, 0);
  b[0] = static_cast<std::uint8_t>(letter);
  b[1] = g;
  put_be(b, 2, static_cast<std::uint16_t>(c1));
  put_be(b, 4, static_cast<std::uint16_t>(c2));
  put_be(b, 6, static_cast<std::uint16_t>(c3));
  put_be(b, 8, static_cast<std::uint16_t>(c4));
  put_be(b, 10, static_cast<std::uint16_t>(current));
  b[12] = further;
  b[13] = 0x7F;
  b[14] = 0x7F;
  return b;
}

// EM38-MK2: letter, mode byte, six words, 0xFF 0xFF.
inline Bytes em38mk2_wire(char letter, std::uint8_t mode, const std::uint16_t (&w)[6]) {
  Bytes b(16, 0);
  b[0] = static_cast<std::uint8_t>(letter);
  b[1] = mode;
  for (int i = 0; i < 6; ++i) put_be(b, 2 + 2 * i, w[i]);
  b[14] = b[15] = 0xFF;
  return b;
}

// EM38-4: letter, mode byte, twelve words, 0xFF 0xFF.
inline Bytes em38_4_wire(char letter, std::uint8_t mode, const std::uint16_t (&w)[12]) {
  Bytes b(28, 0);
  b[0] = static_cast<std::uint8_t>(letter);
  b[1] = mode;
  for (int i = 0; i < 12; ++i) put_be(b, 2 + 2 * i, w[i]);
  b[26] = b[27] = 0xFF;
  return b;
}

inline std::string nmea_checksum(std::string_view body) {
  unsigned x = 0;
  for (char c : body) x ^= static_cast<unsigned char>(c);
  static const char* digits = "0123456789ABCDEF";
  return {digits[x >> 4], digits[x & 15]};
}

struct Framed {
  RecordBytes record;
  FrameStep step;
};

// Feeds every byte; keeps the steps that carried an event.
inline std::vector<Framed> feed_all(InstrumentFramer& framer, const Bytes& bytes, const FrameContext& ctx = {}) {
  std::vector<Framed> out;
  for (std::uint8_t b : bytes) {
    const FrameStep step = frame_byte(framer, b, ctx);
    if (step.event != FrameEvent::kNone) out.push_back({framed_record(framer), step});
  }
  return out;
}

inline std::vector<Framed> records_only(const std::vector<Framed>& all) {
  std::vector<Framed> out;
  for (const Framed& f : all)
    if (f.step.event == FrameEvent::kRecord) out.push_back(f);
  return out;
}

}  // namespace quelor::test
