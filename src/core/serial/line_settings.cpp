#include "serial/line_settings.h"

#include <array>

#include "variant/variant.h"

namespace quelor {

namespace {

constexpr std::array<std::uint32_t, 6> kGpsBauds{4800, 9600, 19200, 38400, 57600, 115200};
constexpr std::array<std::uint32_t, 5> kInstrumentBauds{9600, 19200, 38400, 57600, 115200};

template <std::size_t N>
std::optional<std::uint32_t> baud_at(const std::array<std::uint32_t, N>& table, int index) {
  if (index < 0 || index >= static_cast<int>(N)) return std::nullopt;
  return table[static_cast<std::size_t>(index)];
}

}  // namespace

std::uint32_t gps_baud(int index) { return baud_at(kGpsBauds, index).value_or(4800); }
std::optional<std::uint32_t> instrument_baud(int index) { return baud_at(kInstrumentBauds, index); }
std::optional<std::uint32_t> tilt_baud(int index) { return baud_at(kGpsBauds, index); }

LineSettings gps_line_settings(const Settings& s) {
  LineSettings l;
  l.in_queue = 4096;
  l.out_queue = 4096;
  l.read_interval_timeout = 50;
  l.read_total_constant = 50;
  l.write_total_multiplier = 10;
  l.write_total_constant = 50;
  l.baud = gps_baud(s.gps_baud_rate);
  l.data_bits = s.gps_data_bits == 0 ? 7 : 8;
  l.parity = s.gps_parity == 1 ? Parity::kEven : s.gps_parity == 2 ? Parity::kOdd : Parity::kNone;
  l.parity_check = l.parity != Parity::kNone;
  l.stop_bits = s.gps_stop_bits == 1 ? 2 : 1;
  l.binary = true;
  l.dsr_sensitivity = false;
  l.tx_continue_on_xoff = true;
  l.dtr_enable = true;
  l.rts_enable = false;
  return l;
}

LineSettings instrument_line_settings(InstrumentType instrument_type, int baud_index) {
  LineSettings l;
  l.read_total_multiplier = instrument_type < 0 ? 10 : 0;
  l.read_total_constant = 10;
  l.write_total_multiplier = 10;
  l.write_total_constant = 10;
  l.baud = instrument_baud(baud_index);
  l.binary = true;
  l.dtr_enable = true;
  l.rts_enable = true;
  return l;
}

LineSettings tilt_line_settings(int baud_index) {
  LineSettings l;
  l.read_interval_timeout = 10;
  l.read_total_constant = 10;
  l.write_total_multiplier = 10;
  l.write_total_constant = 10;
  l.baud = tilt_baud(baud_index);
  l.xon_xoff = true;
  return l;
}

std::wstring port_device_name(int port_index) {
  const int number = port_index + 1;
  if (number >= 1 && number <= 9) return L"COM" + std::to_wstring(number) + L":";
  return L"\\\\.\\COM" + std::to_wstring(number);
}

}  // namespace quelor
