#pragma once
// Framing of the EM31-MK2, EM38 and EM34-3 readers: "T" + L-1 characters +
// carriage return. The test looks L bytes back from every carriage return, so
// a stream joined in the middle of a record re-synchronises by itself.

#include <array>
#include <cstdint>

#include "serial/frame_step.h"
#include "serial/reading_messages.h"
#include "serial/record_bytes.h"

namespace quelor {

struct TFramer {
  int record_length = 12;  // RecordLength (EM38: 7 or 12)
  std::uint32_t message = WM_EM31_READING;
  std::array<std::uint8_t, 200> line{};
  int n = 0;  // write index; the first byte after the start lands at 1
  FrameCounters counters;
  RecordBytes record;  // the last valid record (L bytes from the "T")
};

// The framer of one EM31-type reader; `message` is WM_EM31_READING,
// WM_EM38_READING or WM_EM34_READING.
TFramer make_t_framer(int record_length, std::uint32_t message);

FrameStep frame_t_byte(TFramer& framer, std::uint8_t byte, const FrameContext& ctx);

}  // namespace quelor
