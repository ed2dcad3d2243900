#pragma once
// The millisecond tick of Windows (GetTickCount) and its busy wait.

#include "io/clock.h"

namespace quelor {

class Win32Clock final : public Clock {
 public:
  std::uint32_t now_ms() override;
  // Spins on the tick count, yielding the processor between looks.
  void wait_ms(std::uint32_t ms) override;
};

}  // namespace quelor
