#pragma once
// Framing of the binary readers: EM38-MK2 ("T"/"t" + 13 bytes + 0xFF 0xFF),
// EM38-4 ("T"/"t" + 25 bytes + 0xFF 0xFF) and the EM61 family (letter +
// 12 bytes + 0x7F 0x7F). The test runs after every byte on the last bytes
// received, so the framer re-synchronises on a stream joined mid-record.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "serial/frame_step.h"
#include "serial/reading_messages.h"
#include "serial/record_bytes.h"

namespace quelor {

enum class BinaryReader : std::uint8_t {
  kEm38Mk2,
  kEm38_4,
  kEm61Continuous,  // EM61-LX2 and EM61-MK2 continuous
  kEm61Polled,      // EM61-MK2 polled-reading mode
  kEm61SecondMode,  // EM61-MK2 second output mode
};

struct BinaryFormat {
  std::size_t wire_length;   // bytes on the wire, end pair included
  std::uint8_t end_byte;     // both closing bytes
  std::string_view letters;  // accepted first bytes
  std::size_t copy_length;   // bytes copied from the letter
  bool decimate;             // counts toward RecordsPerReading
  SoundRule sound;
};

const BinaryFormat& binary_format(BinaryReader reader);

struct BinaryFramer {
  BinaryReader reader = BinaryReader::kEm38Mk2;
  std::uint32_t message = WM_EM38MK2_READING;
  std::array<std::uint8_t, 200> buffer{};
  int n = -1;  // index of the last byte stored
  FrameCounters counters;
  RecordBytes record;
};

BinaryFramer make_binary_framer(BinaryReader reader, std::uint32_t message);

// kRejected: the closing pair arrived after enough bytes but the first byte is
// not an accepted letter (the EM61 readers clear the connection-lost flag and
// the polled reader goes idle on it); the buffer keeps sliding.
FrameStep frame_binary_byte(BinaryFramer& framer, std::uint8_t byte, const FrameContext& ctx);

// True when `record` (as copied) starts with a letter of `reader`'s set and
// has the copied length.
bool is_valid_binary_record(BinaryReader reader, const RecordBytes& record);

}  // namespace quelor
