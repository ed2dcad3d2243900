#include "serial/line_framer.h"

namespace quelor {

namespace {

constexpr int kWrapAt = 180;
constexpr int kMinimumLength = 9;  // characters, carriage return and line feed included

}  // namespace

LineFramer make_grad601_framer() { return LineFramer{}; }

LineFramer make_cs21_framer() {
  LineFramer f;
  f.head = "$PDLM";
  f.message = WM_CS21_READING;
  return f;
}

bool is_valid_instrument_line(std::string_view head, const std::uint8_t* line, int count) {
  if (count < kMinimumLength || line[count - 1] != '\n' || line[count - 2] != '\r') return false;
  // The line without its ending must fit InstrumentRecord with its NUL.
  if (count - 2 > static_cast<int>(kInstrumentRecordSize) - 1) return false;
  for (std::size_t i = 0; i < head.size(); ++i)
    if (line[i] != static_cast<std::uint8_t>(head[i])) return false;
  return true;
}

FrameStep frame_line_byte(LineFramer& f, std::uint8_t byte) {
  FrameStep step;
  const int count = assemble_line_byte(f.assembly, byte, kWrapAt);
  if (count == 0) return step;
  if (!is_valid_instrument_line(f.head, f.assembly.line.data(), count)) {
    step.event = FrameEvent::kRejected;
    return step;
  }
  assign_record(f.record, f.assembly.line.data(), static_cast<std::size_t>(count - 2));
  step.event = FrameEvent::kRecord;
  step.deliver = true;
  return step;
}

}  // namespace quelor
