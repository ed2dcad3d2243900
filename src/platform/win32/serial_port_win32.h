#pragma once
// A COM port handle shared between the window thread (which opens and closes
// it) and a reader thread (which reads it), and the SerialPort the core's
// exchanges and framers run on. The handle lives in an atomic slot: storing
// INVALID_HANDLE_VALUE there is the reader's order to stop.

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "io/serial_port.h"

namespace quelor {

using PortHandleSlot = std::atomic<HANDLE>;

inline bool port_handle_valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }

// Takes the handle out of the slot (leaving it invalid) and closes it.
// Returns false when the slot already held no handle.
bool close_port_slot(PortHandleSlot& slot);

class Win32SerialPort final : public SerialPort {
 public:
  explicit Win32SerialPort(PortHandleSlot& slot) : slot_(slot) {}
  // One ReadFile with the port's time-outs; -1 when the slot holds no handle
  // or the read failed (cancelled, handle closed, device gone).
  int read(std::uint8_t* buffer, std::size_t size) override;
  // One WriteFile; -1 on failure or without a handle.
  int write(const std::uint8_t* data, std::size_t size) override;
  // Transmit side first (abort and clear), then the receive side.
  void purge() override;

  HANDLE handle() const { return slot_.load(); }
  bool is_open() const { return port_handle_valid(slot_.load()); }
  // False when the open port no longer answers a status query: a vanished
  // Bluetooth link (and a pty whose other end is gone) may time out every
  // read rather than fail it.
  bool answers() const;

 private:
  PortHandleSlot& slot_;
};

}  // namespace quelor
