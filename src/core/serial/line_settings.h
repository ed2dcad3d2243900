#pragma once
// The fixed line settings of the three serial devices (GPS receiver,
// instrument, tilt meter), as data for the platform's port opener.

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings.h"
#include "variant/instrument.h"  // instrument_baud_index: the instrument port's default

namespace quelor {

enum class PortDevice : int { kGnss = 0, kInstrument = 1, kTilt = 2 };
enum class Parity : std::uint8_t { kNone = 0, kEven = 1, kOdd = 2 };

// std::nullopt in a field: leave what the port already has.
struct LineSettings {
  std::optional<std::uint32_t> in_queue;  // SetupComm sizes (GPS only)
  std::optional<std::uint32_t> out_queue;
  std::uint32_t read_interval_timeout = 0;
  std::uint32_t read_total_multiplier = 0;
  std::uint32_t read_total_constant = 0;
  std::uint32_t write_total_multiplier = 0;
  std::uint32_t write_total_constant = 0;
  std::optional<std::uint32_t> baud;
  int data_bits = 8;
  Parity parity = Parity::kNone;
  bool parity_check = false;
  int stop_bits = 1;           // 1 or 2
  std::optional<bool> binary;  // binary transfer mode
  bool cts_flow = false;       // CTS output flow control
  bool dsr_flow = false;       // DSR output flow control
  std::optional<bool> dsr_sensitivity;
  std::optional<bool> tx_continue_on_xoff;
  bool xon_xoff = false;           // output and input
  std::optional<bool> dtr_enable;  // DTR line control enabled
  std::optional<bool> rts_enable;  // RTS control "enable" (false: disabled)
};

// GPS: 0 4800 ... 5 115200, any other index 4800.
std::uint32_t gps_baud(int index);
// Instrument: 0 9600 ... 4 115200; nullopt keeps the port's rate.
std::optional<std::uint32_t> instrument_baud(int index);
// Tilt meter: as GPS, but nullopt for an index outside 0..5.
std::optional<std::uint32_t> tilt_baud(int index);

LineSettings gps_line_settings(const Settings& settings);
LineSettings instrument_line_settings(InstrumentType instrument_type, int baud_index);
LineSettings tilt_line_settings(int baud_index);

// "COM%d:" for COM1-COM9, "\\.\COM%d" from COM10 (port index = number - 1).
std::wstring port_device_name(int port_index);

}  // namespace quelor
