#pragma once
// The operator messages of the serial ports: title and text lines for the
// shared message dialog.

#include <cstdint>
#include <string>
#include <vector>

#include "serial/line_settings.h"

namespace quelor {

struct OperatorMessage {
  std::string title;
  std::vector<std::string> lines;
};

// A port that cannot be opened, by system error code (2, 5, 32, 121 by
// device, any other); `port_index` is zero-based.
OperatorMessage port_error_message(std::uint32_t error_code, int port_index, PortDevice device);

// "Cannot open Tilt port COM%d" under "Serial Port Issue".
OperatorMessage tilt_open_error_message(int port_index);

// The GPS port whose reader does not end.
OperatorMessage gps_close_error_message();

}  // namespace quelor
