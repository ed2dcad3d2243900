#pragma once
// The GPS monitor's line assembly: raw receiver bytes in, whole sentences
// (or "NO DATA" after a silence) out, as the monitor window lists them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quelor {

inline constexpr std::size_t kMonitorSentenceLimit = 200;  // longer: dropped unfinished
inline constexpr std::uint32_t kMonitorSilenceMs = 7000;
inline constexpr const char* kMonitorNoData = "NO DATA";
inline constexpr int kMonitorListLimit = 1000;  // lines kept in the list

struct MonitorLines {
  std::string sentence;  // the open sentence, from its "$"
  bool open = false;
  std::uint32_t last_data_tick = 0;  // the last complete sentence (or "NO DATA")
};

MonitorLines monitor_lines_at(std::uint32_t now);

// One byte: "$" opens a sentence, other bytes join an open one, more than
// 200 bytes drop it, a line feed ends an open non-empty sentence, which is
// returned without its CR LF.
std::optional<std::string> monitor_byte(MonitorLines& m, std::uint8_t byte, std::uint32_t now);

// "NO DATA" when more than 7000 ms passed since the last line; the silence
// is then counted again from now.
std::optional<std::string> monitor_silence(MonitorLines& m, std::uint32_t now);

// Lines to remove from the top of a list of `count` lines to keep the last
// 1000.
int monitor_lines_over_limit(int count);

// A command for the receiver as bytes on the wire: at most 27 characters,
// each outside printable ASCII sent as '?', then CR LF.
inline constexpr std::size_t kMonitorCommandLimit = 27;
inline constexpr const wchar_t* kMonitorDefaultCommand = L"$PASHS,NME,SAT,A,ON";
std::string monitor_command_bytes(std::wstring_view text);

}  // namespace quelor
