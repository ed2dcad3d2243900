#pragma once
// The millisecond tick of the platform (GetTickCount on Windows), injected so
// that time-outs and intervals are tested with a fake clock.

#include <cstdint>

namespace quelor {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since some start; wraps like a 32-bit tick count.
  virtual std::uint32_t now_ms() = 0;
  // Busy or sleeping wait of about `ms` milliseconds.
  virtual void wait_ms(std::uint32_t ms) = 0;
};

// Tick difference that survives the 32-bit wrap.
inline std::uint32_t elapsed_ms(std::uint32_t since, std::uint32_t now) { return now - since; }

}  // namespace quelor
