#pragma once
// The operator messages of the serial ports: title and text lines for the
// shared message dialog.

#include <cstdint>
#include <string>
#include <vector>

#include "serial/line_settings.h"

namespace quelor {

// Not named OperatorMessage: datafile/message_box.h has that name with
// another layout, and one program links both.
struct PortMessage {
  std::string title;
  std::vector<std::string> lines;
};

// A port that cannot be opened, by system error code (2, 5, 32, 121 by
// device, any other); `port_index` is zero-based.
PortMessage port_error_message(std::uint32_t error_code, int port_index, PortDevice device);

// "Cannot open Tilt port COM%d" under "Serial Port Issue".
PortMessage tilt_open_error_message(int port_index);

// The GPS port whose reader does not end.
PortMessage gps_close_error_message();

}  // namespace quelor
