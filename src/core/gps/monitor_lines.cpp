#include "gps/monitor_lines.h"

#include "settings/value_text.h"

namespace quelor {

namespace {

constexpr std::uint8_t kDollar = '$';
constexpr std::uint8_t kLineFeed = '\n';
constexpr std::uint8_t kCarriageReturn = '\r';

}  // namespace

MonitorLines monitor_lines_at(std::uint32_t now) {
  MonitorLines m;
  m.last_data_tick = now;
  return m;
}

std::optional<std::string> monitor_byte(MonitorLines& m, std::uint8_t byte, std::uint32_t now) {
  if (byte == kDollar) {
    m.sentence.assign(1, '$');
    m.open = true;
    return std::nullopt;
  }
  if (!m.open) return std::nullopt;
  if (byte == kLineFeed) {
    m.open = false;
    std::string line = std::move(m.sentence);
    m.sentence.clear();
    while (!line.empty() && line.back() == static_cast<char>(kCarriageReturn)) line.pop_back();
    if (line.empty()) return std::nullopt;
    m.last_data_tick = now;
    return line;
  }
  m.sentence += static_cast<char>(byte);
  if (m.sentence.size() > kMonitorSentenceLimit) {
    m.open = false;
    m.sentence.clear();
  }
  return std::nullopt;
}

std::optional<std::string> monitor_silence(MonitorLines& m, std::uint32_t now) {
  if (now - m.last_data_tick <= kMonitorSilenceMs) return std::nullopt;
  m.last_data_tick = now;
  return std::string(kMonitorNoData);
}

int monitor_lines_over_limit(int count) { return count > kMonitorListLimit ? count - kMonitorListLimit : 0; }

std::string monitor_command_bytes(std::wstring_view text) {
  std::string bytes = narrow_ascii(text.substr(0, kMonitorCommandLimit));
  bytes += "\r\n";
  return bytes;
}

}  // namespace quelor
