#pragma once
// Framing of the line readers: Grad601 ($PBAR) and DualEM CS-21 ($PDLM).
// A "$" always starts a new line; a line feed ends it.

#include <cstdint>
#include <string_view>

#include "serial/frame_step.h"
#include "serial/line_assembly.h"
#include "serial/reading_messages.h"
#include "serial/record_bytes.h"

namespace quelor {

struct LineFramer {
  std::string_view head = "$PBAR";  // first five characters of a valid line
  std::uint32_t message = WM_GRAD_READING;
  LineAssembly assembly;
  RecordBytes record;  // the last valid line without carriage return and line feed
};

LineFramer make_grad601_framer();
LineFramer make_cs21_framer();

// kRecord (delivered at once) for a valid line; kRejected for any other line.
FrameStep frame_line_byte(LineFramer& framer, std::uint8_t byte);

// The validity test of a line as received (carriage return and line feed
// included).
bool is_valid_instrument_line(std::string_view head, const std::uint8_t* line, int count);

}  // namespace quelor
