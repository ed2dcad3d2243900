#pragma once
// Framing of the tilt-meter reader: "$", text, "*", two hexadecimal digits,
// carriage return, line feed; the digits are the XOR of the characters
// between "$" and "*". Bad lines are reported too: they are logged as
// comment records with a leading backslash.

#include <cstdint>
#include <string_view>

#include "serial/frame_step.h"
#include "serial/line_assembly.h"
#include "serial/record_bytes.h"

namespace quelor {

struct TiltFramer {
  LineAssembly assembly;
  RecordBytes record;  // the last line without its carriage return (TiltSentence)
};

// kRecord + deliver for a valid sentence (WM_TILT_READING); kRejected for a
// non-empty line that fails the test (record holds it, nothing is sent).
FrameStep frame_tilt_byte(TiltFramer& framer, std::uint8_t byte);

// True when `sentence` begins with "$", has "*" and the two hex digits after
// the first "*" equal the XOR of the characters between "$" and "*".
bool tilt_checksum_ok(std::string_view sentence);

}  // namespace quelor
