#include "serial/port_messages.h"

#include <cstdio>

namespace quelor {

namespace {

std::string format_port(const char* format, int number, std::uint32_t code = 0) {
  char buffer[320];
  std::snprintf(buffer, sizeof buffer, format, number, static_cast<int>(code));
  return buffer;
}

const char* const kTimeoutTexts[] = {
    "COM%d - A timeout occurred while waiting for a response from the GNSS/RTS (disconnected or "
    "powered off, port open but the device not streaming, incorrect settings: baud rate, parity, "
    "etc., faulty cabling).",
    "COM%d - A timeout occurred while waiting for a response from the instrument (disconnected or "
    "powered off, port open but the device not streaming, or faulty cabling).",
    "COM%d - A timeout occurred while waiting for a response from the Tiltmeter (disconnected or "
    "powered off, port open but the device not streaming, incorrect settings: baud rate, parity, "
    "etc., faulty cabling).",
};

const char* error_format(std::uint32_t code, PortDevice device) {
  switch (code) {
    case 2: return "Port COM%d does not exists";
    case 5: return "COM%d is already open by another process, or insufficient permission is provided";
    case 32: return "COM%d is in use by other process";
    case 121: {
      const int kind = static_cast<int>(device);
      if (kind >= 0 && kind <= 2) return kTimeoutTexts[kind];
      break;
    }
    default: break;
  }
  return "Port COM%d cannot be open - Error #%d. For a full list, see Windows System Error Codes.";
}

}  // namespace

PortMessage port_error_message(std::uint32_t error_code, int port_index, PortDevice device) {
  return {"Serial Port", {format_port(error_format(error_code, device), port_index + 1, error_code)}};
}

PortMessage tilt_open_error_message(int port_index) {
  return {"Serial Port Issue", {format_port("Cannot open Tilt port COM%d", port_index + 1)}};
}

PortMessage gps_close_error_message() {
  return {"WARNING",
          {"The GPS port (cable or Bluetooth connection) cannot be closed. Please exit and re-start "
           "the program."}};
}

}  // namespace quelor
