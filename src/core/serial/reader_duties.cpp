#include "serial/reader_duties.h"

#include "variant/variant.h"

namespace quelor {

namespace {

ReaderDuties em61_duties(BinaryReader reader, InstrumentType instrument_type) {
  ReaderDuties d;
  d.stamp_arrival_tick = true;
  d.rejected_clears_lost_flag = reader != BinaryReader::kEm61SecondMode;
  d.resend_wakeup_when_lost = reader != BinaryReader::kEm61SecondMode;
  d.stamp_last_record_tick = reader == BinaryReader::kEm61Continuous;
  d.stamp_on_closing_pair = reader == BinaryReader::kEm61SecondMode;
  d.repaint_after_blanking = instrument_type == kEm61Lx2;
  return d;
}

}  // namespace

ReaderDuties reader_duties(InstrumentType instrument_type, const InstrumentFramer& framer) {
  ReaderDuties d;
  if (std::holds_alternative<TFramer>(framer)) {
    d.stamp_last_record_tick = true;
    d.stamp_arrival_tick = true;
  } else if (const auto* b = std::get_if<BinaryFramer>(&framer)) {
    if (b->reader == BinaryReader::kEm38Mk2) {
      d.stamp_last_record_tick = true;
      d.stamp_arrival_tick = true;
    } else if (b->reader == BinaryReader::kEm38_4) {
      d.stamp_arrival_tick = true;
    } else {
      d = em61_duties(b->reader, instrument_type);
    }
  } else if (std::holds_alternative<LineFramer>(framer)) {
    d.stamp_last_record_tick = true;
    d.repaint_after_blanking = true;
  } else {
    d = tilt_reader_duties();
  }
  return d;
}

ReaderDuties tilt_reader_duties() {
  ReaderDuties d;
  d.log_rejected_lines = true;
  return d;
}

}  // namespace quelor
