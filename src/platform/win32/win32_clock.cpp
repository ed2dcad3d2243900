#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace quelor {

std::uint32_t Win32Clock::now_ms() { return GetTickCount(); }

void Win32Clock::wait_ms(std::uint32_t ms) {
  const std::uint32_t start = GetTickCount();
  while (elapsed_ms(start, GetTickCount()) < ms) Sleep(0);
}

}  // namespace quelor
