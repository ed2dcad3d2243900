#pragma once
// The framer of the reader an instrument type runs, behind one call, so that
// a reader thread is a thin loop: read a byte, frame it, hand the record over
// with the message this returns.

#include <cstdint>
#include <optional>
#include <variant>

#include "serial/binary_framer.h"
#include "serial/line_framer.h"
#include "serial/reading_messages.h"
#include "serial/t_framer.h"
#include "serial/tilt_framer.h"
#include "variant/variant.h"

namespace quelor {

struct ReaderOptions {
  int record_length = 12;    // EM38: the detected length (7 or 12)
  bool two_coils = false;    // EM61-LX2 left and right coils
  bool polled = false;       // EM61-MK2 polled-reading mode
  bool second_mode = false;  // EM61-MK2 second-mode reader
};

using InstrumentFramer = std::variant<TFramer, BinaryFramer, LineFramer, TiltFramer>;

// nullopt for an instrument type outside the variant table.
std::optional<InstrumentFramer> make_instrument_framer(InstrumentType instrument_type, const ReaderOptions& options);

InstrumentFramer make_tilt_reader_framer();

FrameStep frame_byte(InstrumentFramer& framer, std::uint8_t byte, const FrameContext& ctx);

// The last record framed (valid, or for the tilt meter the last bad line
// after kRejected).
const RecordBytes& framed_record(const InstrumentFramer& framer);

// Whether a framed record carries the trigger mark: in Manual mode only such
// a record can become a reading. The "T" records by bit 6 of their status
// byte, the EM61 types by their letter; false for the others.
bool record_triggered(InstrumentType instrument_type, const RecordBytes& record);

// The reading message of this reader and whether it is sent or posted.
const ReadingMessage& framer_message(const InstrumentFramer& framer);

}  // namespace quelor
