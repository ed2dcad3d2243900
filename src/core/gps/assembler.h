#pragma once
// Sentence assembly from the GPS byte stream: "$" starts a sentence and notes
// its start tick; a line feed completes a non-empty line; characters below
// "$" (carriage return, blanks, control characters) and 0x7F are dropped; more
// than 200 collected characters start the line over at position 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quelor {

inline constexpr std::size_t kSentenceWrapLength = 200;
inline constexpr std::size_t kGpsSentenceSize = 256;  // the shared GpsSentence buffer

struct SentenceAssembler {
  // char8_t, not char: its stores cannot alias `length`, so the byte loop
  // keeps the counters in registers.
  std::array<char8_t, kGpsSentenceSize> buffer{};
  std::size_t length = 0;        // characters collected
  std::uint32_t start_tick = 0;  // when the line's "$" (or first byte) arrived
  std::size_t line_length = 0;   // the completed line, valid until the next byte
  std::uint32_t line_tick = 0;
};

// Feeds one byte; true when a line feed completed a non-empty line, which is
// then `assembled_line()` with the tick `line_tick`. Inline: it runs for
// every byte from the receiver.
inline bool assemble_byte(SentenceAssembler& a, std::uint8_t byte, std::uint32_t now) {
  // Most bytes: a printable character inside a line that neither starts
  // nor wraps here. One compare for '%' to '~'; bytes from 0x80 take the
  // longer way.
  const std::size_t length = a.length;
  if (static_cast<std::uint8_t>(byte - 0x25) < 0x5A && length - 1 < kSentenceWrapLength) [[likely]] {
    a.buffer[length] = static_cast<char8_t>(byte);
    a.length = length + 1;
    return false;
  }
  if (byte == '$') {
    a.start_tick = now;
    a.buffer[0] = u8'$';
    a.length = 1;
    return false;
  }
  if (byte == '\n') {
    if (a.length == 0) return false;
    a.line_length = a.length;
    a.line_tick = a.start_tick;
    a.length = 0;
    return true;
  }
  if (a.length > kSentenceWrapLength) a.length = 0;
  if (byte < '$' || byte == 0x7F) return false;
  // A line that does not start with "$" is stamped with its first byte.
  if (a.length == 0) a.start_tick = now;
  a.buffer[a.length++] = static_cast<char8_t>(byte);
  return false;
}

inline std::string_view assembled_line(const SentenceAssembler& assembler) {
  return {reinterpret_cast<const char*>(assembler.buffer.data()), assembler.line_length};
}

}  // namespace quelor
