#pragma once
// EM38 record-length detection before the EM38 reader starts: after the
// first "T", count the bytes ("T" included) up to the carriage return; 7 or
// 12 is a valid length.

#include <cstdint>
#include <optional>

#include "io/clock.h"
#include "io/serial_port.h"

namespace quelor {

enum class LengthProbeState : std::uint8_t { kSeekingT, kCounting, kDone, kFailed };

struct Em38LengthProbe {
  LengthProbeState state = LengthProbeState::kSeekingT;
  int count = 0;
  int length = 0;  // 7 or 12 once kDone
};

// Feeds one byte; returns the state afterwards.
LengthProbeState probe_em38_byte(Em38LengthProbe& probe, std::uint8_t byte);

// The record length found in a captured byte stream: the first "T" whose
// carriage return follows 7 or 12 bytes after it (a status byte that reads
// "T" in a partial record is skipped), or nullopt.
std::optional<int> em38_length_of(const std::uint8_t* data, std::size_t size);

// On the port: wait 10 ms; up to 2000 ms for a "T"; then up to 1000 ms for
// the carriage return. nullopt fails the start.
std::optional<int> detect_em38_record_length(SerialPort& port, Clock& clock);

}  // namespace quelor
