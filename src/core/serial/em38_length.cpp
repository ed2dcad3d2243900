#include "serial/em38_length.h"

namespace quelor {

namespace {

constexpr int kLongest = 180;  // no record is longer than the line buffer

}  // namespace

LengthProbeState probe_em38_byte(Em38LengthProbe& p, std::uint8_t byte) {
  switch (p.state) {
    case LengthProbeState::kSeekingT:
      if (byte == 'T') {
        p.state = LengthProbeState::kCounting;
        p.count = 1;
      }
      break;
    case LengthProbeState::kCounting:
      if (byte == '\r') {
        const bool ok = p.count == 7 || p.count == 12;
        p.length = ok ? p.count : 0;
        p.state = ok ? LengthProbeState::kDone : LengthProbeState::kFailed;
      } else if (++p.count > kLongest) {
        p.state = LengthProbeState::kFailed;
      }
      break;
    default: break;
  }
  return p.state;
}

std::optional<int> em38_length_of(const std::uint8_t* data, std::size_t size) {
  for (std::size_t start = 0; start < size; ++start) {
    if (data[start] != 'T') continue;
    Em38LengthProbe probe;
    for (std::size_t i = start; i < size; ++i) {
      const LengthProbeState s = probe_em38_byte(probe, data[i]);
      if (s == LengthProbeState::kDone) return probe.length;
      if (s == LengthProbeState::kFailed) break;
    }
  }
  return std::nullopt;
}

std::optional<int> detect_em38_record_length(SerialPort& port, Clock& clock) {
  clock.wait_ms(10);
  Em38LengthProbe probe;
  std::uint32_t start = clock.now_ms();
  std::uint32_t limit = 2000;
  while (elapsed_ms(start, clock.now_ms()) < limit) {
    std::uint8_t byte = 0;
    const int got = port.read(&byte, 1);
    if (got < 0) return std::nullopt;
    if (got != 1) continue;
    const LengthProbeState before = probe.state;
    const LengthProbeState s = probe_em38_byte(probe, byte);
    if (s == LengthProbeState::kDone) return probe.length;
    if (s == LengthProbeState::kFailed) return std::nullopt;
    if (before == LengthProbeState::kSeekingT && s == LengthProbeState::kCounting) {
      start = clock.now_ms();  // the carriage return window starts at the "T"
      limit = 1000;
    }
  }
  return std::nullopt;
}

}  // namespace quelor
