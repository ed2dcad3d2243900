#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_clock.h"

namespace quelor {
namespace {

TEST(Win32Clock, FollowsTheTickCount) {
  Win32Clock clock;
  const std::uint32_t before = GetTickCount();
  const std::uint32_t now = clock.now_ms();
  const std::uint32_t after = GetTickCount();
  EXPECT_LE(elapsed_ms(before, now), elapsed_ms(before, after));
}

TEST(Win32Clock, WaitLastsAtLeastTheAskedTime) {
  Win32Clock clock;
  for (std::uint32_t ms : {0u, 1u, 20u}) {
    const std::uint32_t start = GetTickCount();
    clock.wait_ms(ms);
    EXPECT_GE(elapsed_ms(start, GetTickCount()), ms) << ms;
  }
}

}  // namespace
}  // namespace quelor
