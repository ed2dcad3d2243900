#pragma once
// A framed record as a value: the bytes a reader copies into InstrumentRecord
// (or TiltSentence), with their length. Copying it hands over a complete record.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quelor {

// InstrumentRecord holds 128 bytes with its NUL; TiltSentence 256.
inline constexpr std::size_t kInstrumentRecordSize = 128;
inline constexpr std::size_t kTiltSentenceSize = 256;

struct RecordBytes {
  std::array<std::uint8_t, kTiltSentenceSize> bytes{};  // NUL after `length`
  std::size_t length = 0;

  std::span<const std::uint8_t> view() const { return {bytes.data(), length}; }
  std::string_view text() const { return {reinterpret_cast<const char*>(bytes.data()), length}; }
};

// Replaces the content with `data` (cut to the capacity less the NUL).
inline void assign_record(RecordBytes& record, const std::uint8_t* data, std::size_t n) {
  if (n > record.bytes.size() - 1) n = record.bytes.size() - 1;
  for (std::size_t i = 0; i < n; ++i) record.bytes[i] = data[i];
  record.bytes[n] = 0;
  record.length = n;
}

}  // namespace quelor
