#pragma once
// The two request/answer exchanges outside the reader threads: a two-byte
// command to the instrument answered "OK" or "OV", and the tilt meter's
// output-rate command.

#include <cstdint>
#include <functional>
#include <string>

#include "io/clock.h"
#include "io/serial_port.h"

namespace quelor {

// What the platform provides for the reopen step: close the instrument
// handle; open the instrument port again with error reporting, returning the
// reopened port or nullptr when it could not be opened.
struct ReopenInstrumentPort {
  std::function<void()> close;
  std::function<SerialPort*()> open;
};

// Sends `first`, waits 40 ms, sends `second` and watches up to three 1000 ms
// windows for "O" followed by "K" (answer 1) or "V" (answer 0). Returns 1 and
// stores the answer in `instrument_answer`, or 0 with it unchanged. With
// `reopen_flag` > 0 the port is reopened first (70 ms waits around it).
int send_instrument_command(SerialPort& port, Clock& clock, std::uint8_t first, std::uint8_t second, int reopen_flag,
                            const ReopenInstrumentPort& reopen, int& instrument_answer);

// "[1D" + rate digits + carriage return; rate index 0..4 -> 1, 2, 5, 10, 20.
// Empty for an index outside 0..4.
std::string tilt_rate_command(int rate_index);

// Writes the command, reads up to 40 single bytes (stops after a line feed)
// and returns nonzero when they contain ">New Output Data Rate".
int set_tilt_output_rate(SerialPort& port, int rate_index);

}  // namespace quelor
