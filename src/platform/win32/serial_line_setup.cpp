#include "platform/win32/serial_line_setup.h"

#include <string>

namespace quelor {

COMMTIMEOUTS comm_timeouts(const LineSettings& l) {
  COMMTIMEOUTS t{};
  t.ReadIntervalTimeout = l.read_interval_timeout;
  t.ReadTotalTimeoutMultiplier = l.read_total_multiplier;
  t.ReadTotalTimeoutConstant = l.read_total_constant;
  t.WriteTotalTimeoutMultiplier = l.write_total_multiplier;
  t.WriteTotalTimeoutConstant = l.write_total_constant;
  return t;
}

namespace {

BYTE parity_code(Parity p) {
  switch (p) {
    case Parity::kEven: return EVENPARITY;
    case Parity::kOdd: return ODDPARITY;
    default: return NOPARITY;
  }
}

}  // namespace

void apply_line_settings(DCB& dcb, const LineSettings& l) {
  if (l.baud) dcb.BaudRate = *l.baud;
  dcb.ByteSize = static_cast<BYTE>(l.data_bits);
  dcb.Parity = parity_code(l.parity);
  dcb.fParity = l.parity_check ? TRUE : FALSE;
  dcb.StopBits = l.stop_bits == 2 ? TWOSTOPBITS : ONESTOPBIT;
  if (l.binary) dcb.fBinary = *l.binary ? TRUE : FALSE;
  dcb.fOutxCtsFlow = l.cts_flow ? TRUE : FALSE;
  dcb.fOutxDsrFlow = l.dsr_flow ? TRUE : FALSE;
  if (l.dsr_sensitivity) dcb.fDsrSensitivity = *l.dsr_sensitivity ? TRUE : FALSE;
  if (l.tx_continue_on_xoff) dcb.fTXContinueOnXoff = *l.tx_continue_on_xoff ? TRUE : FALSE;
  dcb.fOutX = l.xon_xoff ? TRUE : FALSE;
  dcb.fInX = l.xon_xoff ? TRUE : FALSE;
  if (l.dtr_enable) dcb.fDtrControl = *l.dtr_enable ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
  if (l.rts_enable) dcb.fRtsControl = *l.rts_enable ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
}

FileHandle open_com_handle(int port_index, DWORD& error) {
  const std::wstring name = port_device_name(port_index);
  FileHandle h(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  error = h ? 0 : GetLastError();
  return h;
}

DWORD configure_com_port(HANDLE h, const LineSettings& l, bool stop_on_failure) {
  DWORD first_error = 0;
  auto step = [&](BOOL ok) {
    if (!ok && first_error == 0) {
      const DWORD e = GetLastError();
      first_error = e != 0 ? e : ERROR_GEN_FAILURE;
    }
    return ok || !stop_on_failure;
  };
  if (l.in_queue && l.out_queue) SetupComm(h, *l.in_queue, *l.out_queue);  // not tested
  COMMTIMEOUTS timeouts = comm_timeouts(l);
  if (!step(SetCommTimeouts(h, &timeouts))) return first_error;
  DCB dcb;
  ZeroMemory(&dcb, sizeof dcb);
  dcb.DCBlength = sizeof dcb;
  if (!step(GetCommState(h, &dcb))) return first_error;
  apply_line_settings(dcb, l);
  step(SetCommState(h, &dcb));
  return first_error;
}

}  // namespace quelor
