#include "gps/assembler.h"

namespace quelor {

bool assemble_byte(SentenceAssembler& a, std::uint8_t byte, std::uint32_t now) {
  if (byte == '$') {
    a.start_tick = now;
    a.buffer[0] = '$';
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
  a.buffer[a.length++] = static_cast<char>(byte);
  return false;
}

}  // namespace quelor
