#include "serial/tilt_framer.h"

#include "gps/checksum.h"

namespace quelor {

namespace {

constexpr int kWrapAt = 200;

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool tilt_checksum_ok(std::string_view s) {
  if (s.empty() || s[0] != '$') return false;
  const std::size_t star = s.find('*');
  if (star == std::string_view::npos || star + 2 >= s.size()) return false;
  const int high = hex_value(s[star + 1]);
  const int low = hex_value(s[star + 2]);
  if (high < 0 || low < 0) return false;
  return nmea_checksum(s) == high * 16 + low;
}

FrameStep frame_tilt_byte(TiltFramer& f, std::uint8_t byte) {
  FrameStep step;
  int count = assemble_line_byte(f.assembly, byte, kWrapAt);
  if (count == 0) return step;
  --count;  // the line feed is not kept
  if (count > 0 && f.assembly.line[static_cast<std::size_t>(count - 1)] == '\r') --count;
  if (count == 0) return step;  // an empty line is nothing to log
  assign_record(f.record, f.assembly.line.data(), static_cast<std::size_t>(count));
  if (tilt_checksum_ok(f.record.text())) {
    step.event = FrameEvent::kRecord;
    step.deliver = true;
  } else {
    step.event = FrameEvent::kRejected;
  }
  return step;
}

}  // namespace quelor
