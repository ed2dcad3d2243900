#include "serial/reading_messages.h"

#include <array>

namespace quelor {

namespace {

constexpr std::array<ReadingMessage, 13> kMessages{{
    {WM_EM61_READING, "WM_EM61_READING", Delivery::kSend},
    {WM_GPS_POSITION, "WM_GPS_POSITION", Delivery::kSend},
    {WM_EM31_READING, "WM_EM31_READING", Delivery::kPost},
    {WM_EM38_READING, "WM_EM38_READING", Delivery::kPost},
    {WM_EM38MK2_READING, "WM_EM38MK2_READING", Delivery::kSend},
    {WM_GPS_GSA, "WM_GPS_GSA", Delivery::kSend},
    {WM_EM34_READING, "WM_EM34_READING", Delivery::kPost},
    {WM_LX2_READING, "WM_LX2_READING", Delivery::kSend},
    {WM_LX2_DUAL_READING, "WM_LX2_DUAL_READING", Delivery::kSend},
    {WM_GRAD_READING, "WM_GRAD_READING", Delivery::kSend},
    {WM_EM38_4_READING, "WM_EM38_4_READING", Delivery::kSend},
    {WM_TILT_READING, "WM_TILT_READING", Delivery::kSend},
    {WM_CS21_READING, "WM_CS21_READING", Delivery::kSend},
}};

}  // namespace

std::span<const ReadingMessage> reading_message_table() { return kMessages; }

const ReadingMessage* find_reading_message(std::uint32_t id) {
  for (const ReadingMessage& m : kMessages)
    if (m.id == id) return &m;
  return nullptr;
}

}  // namespace quelor
