#include "serial/record_queue.h"

#include <cstdio>

namespace quelor {

std::string dropped_readings_remark(std::uint32_t dropped) {
  char text[16];
  std::snprintf(text, sizeof text, "Lost %6u", dropped > 999999u ? 999999u : dropped);
  return text;
}

std::string discarded_readings_remark(std::uint32_t discarded) {
  char text[16];
  std::snprintf(text, sizeof text, "Discard%4u", discarded > 9999u ? 9999u : discarded);
  return text;
}

}  // namespace quelor
