#include "gps/reader.h"

#include "gps/checksum.h"

namespace quelor {

namespace {

constexpr std::string_view kGsaName = "GSA";
constexpr std::uint32_t kCloseRetryStepMs = 10;
constexpr std::uint32_t kNoPortWaitMs = 50;

bool contains(std::string_view text, std::string_view name) {
  return !name.empty() && text.find(name) != std::string_view::npos;
}

bool interval_passed(const GpsReaderState& s, std::uint32_t tick) {
  return !s.last_forwarded_tick || tick_distance(tick, *s.last_forwarded_tick) > s.config.minimum_interval_ms;
}

// A blocking send to the window thread: the time the window thread kept the
// reader waiting is no silence of the receiver (its bytes wait in the port),
// so the silence test's wait is moved on by that time.
template <typename Send>
void send_blocking(GpsReaderState& s, Clock& clock, Send send) {
  const std::uint32_t before = clock.now_ms();
  send();
  s.last_data_tick += elapsed_ms(before, clock.now_ms());
}

void forward_auto(GpsReaderState& s, std::string_view line, std::uint32_t tick, bool position, bool gsa,
                  const GpsSurveyStatus& status, GpsReaderHost& host, Clock& clock) {
  const bool acquiring = status.logging && status.instrument_connected;
  if (position) {
    if (interval_passed(s, tick)) {
      s.last_forwarded_tick = tick;
      if (acquiring) host.write_sentence(line, tick, kMarkerSetAp);
      send_blocking(s, clock, [&] { host.send_position(s.sentence); });
    } else if (acquiring) {
      host.write_sentence(line, tick, kMarkerSetA);
    }
  } else if (gsa) {
    if (status.logging) host.write_sentence(line, tick, kMarkerSetA);
    send_blocking(s, clock, [&] { host.send_gsa(s.sentence); });
  } else if (!s.config.format.checksum_required && status.logging) {
    host.write_sentence(line, tick, kMarkerSetA);
  }
}

void forward_manual(GpsReaderState& s, std::string_view line, std::uint32_t tick, bool position, bool gsa,
                    GpsReaderHost& host, Clock& clock, ManualGpsBuffers* manual) {
  if (position) {
    if (manual) manual->offer_position(line, tick);
    send_blocking(s, clock, [&] { host.send_position(s.sentence); });
  } else if (gsa) {
    if (manual) manual->offer_gsa(line, tick);
    send_blocking(s, clock, [&] { host.send_gsa(s.sentence); });
  }
  HeldSentences held;
  if (manual && manual->take_requested(held)) {
    host.write_sentence(held.position.text, held.position.tick, kMarkerSetA);
    if (held.gsa.pending) host.write_sentence(held.gsa.text, held.gsa.tick, kMarkerSetA);
  }
}

}  // namespace

std::uint32_t tick_distance(std::uint32_t a, std::uint32_t b) {
  const std::uint32_t d = a - b;
  return d > 0x80000000u ? 0u - d : d;
}

GpsReaderState make_gps_reader(const GpsReaderConfig& config) {
  GpsReaderState s;
  s.config = config;
  s.sentence.reserve(kGpsSentenceSize);
  return s;
}

void gps_reader_begin(GpsReaderState& s, GpsReaderControl& control, Clock& clock) {
  control.state.store(kGpsReaderRunning);
  control.connection_broken.store(false);
  s.last_data_tick = clock.now_ms();
}

void gps_reader_line(GpsReaderState& s, std::string_view line, std::uint32_t tick, GpsReaderHost& host, Clock& clock,
                     ManualGpsBuffers* manual) {
  const GpsSurveyStatus status = host.survey_status();
  const bool manual_mode = status.survey_mode == kSurveyModeManual;
  const bool rejected = line[0] != '$' || (s.config.format.checksum_required && !checksum_ok(line));
  if (rejected) {
    if (status.logging && !manual_mode) host.write_sentence(line, tick, kMarkerSetQ);
    return;
  }
  s.sentence.assign(line);
  s.last_data_tick = clock.now_ms();
  const bool position = contains(line, s.config.format.sentence_name);
  const bool gsa = !position && s.config.format.format == kFormatGgaGsa && contains(line, kGsaName);
  if (manual_mode)
    forward_manual(s, line, tick, position, gsa, host, clock, manual);
  else
    forward_auto(s, line, tick, position, gsa, status, host, clock);
}

void gps_reader_feed(GpsReaderState& s, std::uint8_t byte, GpsReaderHost& host, Clock& clock,
                     ManualGpsBuffers* manual) {
  if (assemble_byte(s.assembler, byte, clock.now_ms()))
    gps_reader_line(s, assembled_line(s.assembler), s.assembler.line_tick, host, clock, manual);
}

void gps_reader_reconnect(GpsReaderState& s, GpsReaderHost& host, Clock& clock) {
  const GpsSurveyStatus status = host.survey_status();
  if (status.logging) host.write_remark(kGpsBreakRemark);
  if (status.sound_on) host.play_sound(kRingSound);
  host.blank_gps_fields();
  const std::uint32_t start = clock.now_ms();
  while (!host.close_port()) {
    if (elapsed_ms(start, clock.now_ms()) >= s.config.close_retry_ms) break;
    clock.wait_ms(kCloseRetryStepMs);
  }
  host.reopen_port();
  // A sentence cut by the break must not be completed by the new stream.
  s.assembler.length = 0;
}

bool gps_reader_check_silence(GpsReaderState& s, GpsReaderControl& control, GpsReaderHost& host, Clock& clock) {
  if (elapsed_ms(s.last_data_tick, clock.now_ms()) <= s.config.silence_ms) return false;
  if (control.connection_broken.load()) return false;
  control.connection_broken.store(true);
  gps_reader_reconnect(s, host, clock);
  s.last_data_tick = clock.now_ms();
  control.connection_broken.store(false);
  return true;
}

void gps_reader_resume(GpsReaderState& s, GpsReaderHost& host, Clock& clock) {
  if (SerialPort* port = host.port()) port->purge();
  s.assembler = SentenceAssembler{};
  s.last_data_tick = clock.now_ms();
}

void run_gps_reader(GpsReaderState& s, GpsReaderControl& control, GpsReaderHost& host, Clock& clock,
                    ManualGpsBuffers* manual) {
  gps_reader_begin(s, control, clock);
  bool was_paused = false;
  while (control.run.load() == 1) {
    if (control.paused.load()) {
      was_paused = true;
      clock.wait_ms(kNoPortWaitMs);
      continue;
    }
    if (was_paused) {
      was_paused = false;
      gps_reader_resume(s, host, clock);
    }
    // Checked before every read: a stream of rejected lines is silence too.
    gps_reader_check_silence(s, control, host, clock);
    SerialPort* port = host.port();
    std::uint8_t byte = 0;
    const int n = port ? port->read(&byte, 1) : -1;
    if (n == 1)
      gps_reader_feed(s, byte, host, clock, manual);
    else if (n < 0 && control.run.load() == 1)
      clock.wait_ms(kNoPortWaitMs);
  }
  control.state.store(kGpsReaderEnded);
}

}  // namespace quelor
