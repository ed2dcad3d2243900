#pragma once
// One open serial port as the core sees it. The Windows program implements it
// on a COM handle; tests implement it with scripted fakes.

#include <cstddef>
#include <cstdint>

namespace quelor {

class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Reads up to `size` bytes, waiting at most the port's read time-out.
  // Returns the number read (0 on time-out) or -1 when the port is closed or
  // broken: a reader stops on -1.
  virtual int read(std::uint8_t* buffer, std::size_t size) = 0;
  // Writes all bytes; returns the number written, -1 on failure.
  virtual int write(const std::uint8_t* data, std::size_t size) = 0;
  // Drops what is queued in both directions.
  virtual void purge() = 0;
};

}  // namespace quelor
