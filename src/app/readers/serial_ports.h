#pragma once
// The program's three serial ports: opening each with its line settings,
// closing them (the GPS port safely while its reader is blocked in a read),
// the port-error messages, and the instrument command and tilt output-rate
// exchanges on the open ports.

#include <windows.h>

#include <cstdint>

#include "platform/win32/serial_port_win32.h"
#include "serial/line_settings.h"
#include "serial/port_messages.h"

namespace quelor {

// The ports as the core's SerialPort (read/write/purge on the global handles).
Win32SerialPort& instrument_serial();
Win32SerialPort& gps_serial();
Win32SerialPort& tilt_serial();

// From the settings record and the variant. 1 on success, 0 on failure
// (message shown; the instrument's only when `report_errors`).
int open_gps_port();
int open_instrument_port(bool report_errors);
int open_tilt_port();

// The same on a given zero-based port index and line settings.
int open_gps_port_at(int port_index, const LineSettings& settings);
int open_instrument_port_at(int port_index, const LineSettings& settings, bool report_errors);
int open_tilt_port_at(int port_index, const LineSettings& settings);

// Closes the GPS port: closing flag, CancelIoEx, the reader thread told to
// stop and waited for (5000 + 2000 ms), purge, close. 1 when the port is
// closed (or was), 0 when the reader did not end (message shown, port left
// open, flag left set). Called on the GPS reader thread itself (its
// reconnection) it neither stops nor waits for that thread.
int close_gps_port();
// Empties the slot, wakes a polled reader, waits for the instrument readers
// that may be inside a read to end (up to kReaderEndWaitMs; one read
// time-out as a rule), then purges and closes the handle.
void close_instrument_port();
// Empties the slot, waits for the tilt reader to end (up to
// kReaderEndWaitMs), then closes the handle.
inline constexpr DWORD kReaderEndWaitMs = 1000;
void close_tilt_port();

// Title "Serial Port", the text by error code and device, "MESSAGEOK".
void show_port_error(DWORD error_code, int port_index, PortDevice device);

// Where operator messages go: the shared message dialog by default; a test
// (or a headless run) may take them instead. Null restores the dialog.
using PortMessageSink = void (*)(const PortMessage& message);
void set_port_message_sink(PortMessageSink sink);
void show_operator_message(const PortMessage& message);

// The two-byte instrument command ("OK" -> answer 1, "OV" -> 0 in
// reader_shared().instrument_answer); 1 if answered within three attempts.
// With `reopen_flag` > 0 the instrument port is closed and reopened first.
int instrument_command(std::uint8_t first, std::uint8_t second, int reopen_flag);

// The tilt meter's output-rate command; nonzero when confirmed.
int tilt_output_rate(int rate_index);

// Waits for a thread to end while handling messages sent to this thread, so
// that a reader blocked in SendMessageW to this thread can finish. True when
// it ended within `timeout_ms`.
bool wait_thread_end(HANDLE thread, DWORD timeout_ms);

}  // namespace quelor
