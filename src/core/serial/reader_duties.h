#pragma once
// What a reader thread does around its framer besides handing the record
// over: which ticks it stamps and which flags of the connection monitor it
// answers. Data, so that the platform's reader loops stay uniform.

#include "serial/instrument_framer.h"
#include "variant/variant.h"

namespace quelor {

struct ReaderDuties {
  bool stamp_last_record_tick = false;     // LastRecordTick on a valid record
  bool stamp_on_closing_pair = false;      // LastRecordTick on any closing pair (valid or not)
  bool stamp_arrival_tick = false;         // arrival tick on a valid record
  bool repaint_after_blanking = false;     // repaint the status area on the first record after blanking
  bool resend_wakeup_when_lost = false;    // send "H","X", sleep 1000 ms, clear the connection-lost flag
  bool rejected_clears_lost_flag = false;  // a record with a letter outside the set clears the flag
  bool log_rejected_lines = false;         // bad lines are logged as "\" comment records while logging
};

// The duties of the reader that runs `framer` for `instrument_type`.
ReaderDuties reader_duties(InstrumentType instrument_type, const InstrumentFramer& framer);

// The tilt-meter reader's duties.
ReaderDuties tilt_reader_duties();

}  // namespace quelor
