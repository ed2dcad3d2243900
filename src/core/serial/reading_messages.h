#pragma once
// The private window messages by which readers announce a reading. Every one
// carries wParam 0 and lParam 0; the data travel in the shared buffers.

#include <cstdint>
#include <span>
#include <string_view>

namespace quelor {

enum class Delivery : std::uint8_t { kSend, kPost };

enum ReadingMessageId : std::uint32_t {
  WM_EM61_READING = 0x40A,
  WM_GPS_POSITION = 0x40B,
  WM_EM31_READING = 0x40C,
  WM_EM38_READING = 0x40D,
  WM_EM38MK2_READING = 0x410,
  WM_GPS_GSA = 0x411,
  WM_EM34_READING = 0x413,
  WM_LX2_READING = 0x414,
  WM_LX2_DUAL_READING = 0x415,
  WM_GRAD_READING = 0x416,
  WM_EM38_4_READING = 0x417,
  WM_TILT_READING = 0x418,
  WM_CS21_READING = 0x419,
};

struct ReadingMessage {
  std::uint32_t id = 0;
  std::string_view name;
  Delivery delivery = Delivery::kSend;
};

std::span<const ReadingMessage> reading_message_table();

// The table row of `id`; nullptr for an id outside the table.
const ReadingMessage* find_reading_message(std::uint32_t id);

}  // namespace quelor
