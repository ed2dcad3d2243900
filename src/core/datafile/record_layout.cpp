#include "datafile/record_layout.h"

#include <cstdarg>
#include <cstdio>

#include "variant/instrument.h"

namespace quelor {

int record_length(const Variant& v) {
  const int length = instrument_record_length(v);
  return length > 0 ? length : 27;
}

std::string format_text(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n) < sizeof buffer ? n : sizeof buffer - 1);
}

std::string fit_text(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

std::string printable_text(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u > 126) c = '?';
  }
  return out;
}

std::string finish_record(std::string body, int record_length, char fill) {
  const std::size_t width = static_cast<std::size_t>(record_length - 1);
  body.resize(width, fill);
  body += '\n';
  return body;
}

std::string tick_field(std::uint32_t tick) { return format_text("%10lu", static_cast<unsigned long>(tick)); }

std::string ticked_record(std::string_view body, std::uint32_t tick, int record_length) {
  std::string out = fit_text(body, static_cast<std::size_t>(record_length - 11));
  out += tick_field(tick);
  return finish_record(std::move(out), record_length);
}

}  // namespace quelor
