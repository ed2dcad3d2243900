#pragma once
// Opening a COM port and giving it a device's line settings: the name, the
// CreateFileW call, the time-outs and the fields of the DCB.

#include <windows.h>

#include "platform/win32/unique_handle.h"
#include "serial/line_settings.h"

namespace quelor {

COMMTIMEOUTS comm_timeouts(const LineSettings& settings);

// Writes the table's fields into `dcb`; fields the settings leave open keep
// what the port had.
void apply_line_settings(DCB& dcb, const LineSettings& settings);

// CreateFileW for reading and writing, no sharing, OPEN_EXISTING, no
// overlapped I/O. No handle, with `error` set, on failure.
FileHandle open_com_handle(int port_index, DWORD& error);

// Driver queues (when the settings give them), time-outs, GetCommState into
// a zero-filled DCB with its length set, the table's fields, SetCommState.
// Returns 0 or the error code of the first failing time-out or state call.
// With `stop_on_failure` the steps after a failure are skipped; without it
// every step is tried (the instrument port uses what it ends up with).
DWORD configure_com_port(HANDLE handle, const LineSettings& settings, bool stop_on_failure);

}  // namespace quelor
