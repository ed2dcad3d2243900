#pragma once
// The instrument and tilt-meter reader threads: single-byte reads on the
// port, the core framer of the instrument, the record handed over in
// reader_shared(), the ticks stamped and the reading message sent or posted
// to the logging window. A reader ends when its port handle is invalid.

#include <windows.h>

#include <cstdint>

#include "serial/instrument_framer.h"
#include "variant/variant.h"

namespace quelor {

struct InstrumentReaderSetup {
  InstrumentType instrument_type = kEm31Mk2;
  ReaderOptions options;
  int port_number = 0;  // one-based instrument port (EM38-4 modem-status check)
};

// What a reader does besides framing, by instrument and mode.
struct ReaderTraits {
  bool stamps_last_record = false;        // LastRecordTick on every valid record
  bool stamps_arrival = false;            // the arrival tick
  bool repaints_after_blank = false;      // display-cleared flag -> repaint the status area
  bool wakes_on_connection_lost = false;  // sends "H","X" and sleeps 1000 ms
  bool rejected_clears_lost = false;      // an unknown letter clears connection-lost
  bool polled = false;                    // waits on the poll event before each burst
  bool reads_modem_status = false;        // EM38-4 +16 bit
};

ReaderTraits reader_traits(InstrumentType instrument_type, const ReaderOptions& options);

// Creates the reader thread (held when asked) and stores its handle in
// reader_shared(): the second-mode EM61-MK2 reader in second_mode_thread,
// any other in instrument_thread. The polled reader creates its manual-reset
// event. nullptr when the thread could not be created or the type is unknown.
HANDLE start_instrument_reader(const InstrumentReaderSetup& setup, bool suspended);

// The tilt-meter reader on the tilt port.
HANDLE start_tilt_reader();

// The connection monitor's request of one polled EM61 reading: when the
// reader is idle, sends "A" (TransmitCommChar), stamps LastRecordTick when
// the previous poll was answered, and sets the reader's event. The reader
// gives the request up after the poll time-out. 1 when requested.
int request_polled_reading();

// Waits (pumping sent messages) until a record newer than the
// `records_before`-th has been framed (reader_shared().framed_records); the
// survey start's "first record within 1000 ms" check.
bool wait_for_record(std::uint32_t records_before, DWORD timeout_ms);

// The cooperative pause of an instrument reader: hold_reader asks it to stop
// between two reads and waits (letting its sent message through) until it
// has acknowledged, ended or the port is gone; false after 1.5 s without an
// answer. release_reader lets it go on; with `discard_waiting` it first
// reads what the port received meanwhile, counts its readings in
// discarded_readings and delivers none (the purge after a box).
enum class ReaderRole { kTimed, kSecondMode };
bool hold_reader(ReaderRole role);
void release_reader(ReaderRole role, bool discard_waiting);
// The survey's end: held readers are let go, and end with their port.
void end_held_readers();

// Blanking period of the tilt fields without a valid sentence.
inline constexpr DWORD kTiltBlankMs = 2000;

}  // namespace quelor
