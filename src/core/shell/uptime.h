#pragma once
// The uptime stop: after 20 days of Windows uptime the 32-bit millisecond
// tick is close to wrapping, so the program asks for a restart and closes.

#include <cstdint>
#include <string_view>

namespace quelor {

inline constexpr std::uint32_t kUptimeLimitMs = 1728000000u;  // 20 days

constexpr bool uptime_exceeded(std::uint32_t tick_ms) { return tick_ms > kUptimeLimitMs; }

inline constexpr std::wstring_view kUptimeStopTitle = L"Program Stop";
inline constexpr std::wstring_view kUptimeStopText =
    L"Windows has run for more than 20 days.\r\n"
    L"Please restart the system to ensure efficient use of Windows timer.\r\n"
    L"Use RESTART not SHUT DOWN.";

}  // namespace quelor
