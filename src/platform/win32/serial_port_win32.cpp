#include "platform/win32/serial_port_win32.h"

#include <limits>

namespace quelor {

bool close_port_slot(PortHandleSlot& slot) {
  HANDLE h = slot.exchange(INVALID_HANDLE_VALUE);
  if (!port_handle_valid(h)) return false;
  CloseHandle(h);
  return true;
}

namespace {

DWORD clamp_size(std::size_t size) {
  constexpr std::size_t kMax = std::numeric_limits<DWORD>::max();
  return static_cast<DWORD>(size > kMax ? kMax : size);
}

}  // namespace

int Win32SerialPort::read(std::uint8_t* buffer, std::size_t size) {
  HANDLE h = slot_.load();
  if (!port_handle_valid(h)) return -1;
  DWORD got = 0;
  if (!ReadFile(h, buffer, clamp_size(size), &got, nullptr)) return -1;
  return static_cast<int>(got);
}

int Win32SerialPort::write(const std::uint8_t* data, std::size_t size) {
  HANDLE h = slot_.load();
  if (!port_handle_valid(h)) return -1;
  DWORD written = 0;
  if (!WriteFile(h, data, clamp_size(size), &written, nullptr)) return -1;
  return static_cast<int>(written);
}

bool Win32SerialPort::answers() const {
  HANDLE h = slot_.load();
  DWORD errors = 0;
  return port_handle_valid(h) && ClearCommError(h, &errors, nullptr);
}

void Win32SerialPort::purge() {
  HANDLE h = slot_.load();
  if (!port_handle_valid(h)) return;
  PurgeComm(h, PURGE_TXABORT | PURGE_TXCLEAR);
  PurgeComm(h, PURGE_RXABORT | PURGE_RXCLEAR);
}

}  // namespace quelor
