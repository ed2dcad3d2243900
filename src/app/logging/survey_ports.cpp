#include "app/logging/survey_ports.h"

#include "app/logging/instrument_reconnect_win.h"
#include "app/readers/gps_reader_thread.h"
#include "app/readers/instrument_reader.h"
#include "app/readers/reader_shared.h"
#include "app/readers/serial_ports.h"
#include "platform/win32/win32_clock.h"
#include "serial/em38_length.h"

namespace quelor {

namespace {

void close_thread_handle(std::atomic<HANDLE>& slot) {
  if (HANDLE h = slot.exchange(nullptr)) CloseHandle(h);
}

// The reader the survey started (not the second-mode one), for a restart.
InstrumentReaderSetup g_survey_reader;
bool g_survey_reader_known = false;

}  // namespace

void busy_wait_ms(std::uint32_t ms) {
  Win32Clock clock;
  clock.wait_ms(ms);
}

bool open_instrument_port_with_tries(int tries, std::uint32_t gap_ms) {
  if (instrument_serial().is_open()) {
    instrument_serial().purge();
    close_instrument_port();
    close_thread_handle(reader_shared().instrument_thread);
  }
  for (int i = 0; i < tries; ++i) {
    if (open_instrument_port(i == tries - 1) == 1) return true;
    if (i + 1 < tries) busy_wait_ms(gap_ms);
  }
  return false;
}

bool open_survey_gps_port() { return open_gps_port() == 1; }
bool open_survey_tilt_port() { return open_tilt_port() == 1; }

std::optional<int> detect_em38_length_on_port() {
  Win32Clock clock;
  return detect_em38_record_length(instrument_serial(), clock);
}

bool em61_handshake() { return instrument_command('H', 'X', 0) == 1; }

bool tilt_meter_check(int rate_index) { return tilt_output_rate(rate_index) != 0; }

std::uint32_t published_records() { return reader_shared().framed_records.load(); }

bool start_survey_reader(InstrumentType instrument_type, int record_length, bool polled, bool second_mode,
                         bool suspended) {
  InstrumentReaderSetup setup;
  setup.instrument_type = instrument_type;
  setup.options.record_length = record_length;
  setup.options.polled = polled;
  setup.options.second_mode = second_mode;
  if (!second_mode) {
    g_survey_reader = setup;
    g_survey_reader_known = true;
  }
  return start_instrument_reader(setup, suspended) != nullptr;
}

bool restart_survey_reader(int record_length) {
  if (!g_survey_reader_known) return false;
  InstrumentReaderSetup setup = g_survey_reader;
  if (record_length > 0) setup.options.record_length = record_length;
  return start_instrument_reader(setup, false) != nullptr;
}

bool start_survey_tilt_reader() { return start_tilt_reader() != nullptr; }

bool wait_first_record(std::uint32_t records_before, std::uint32_t ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    if (published_records() != records_before) return true;
    Sleep(1);
  }
  return published_records() != records_before;
}

bool create_survey_gps_reader() { return create_gps_reader(gps_thread_setup_from_settings()) != nullptr; }

void resume_survey_gps_reader() { resume_gps_reader(); }

void close_survey_gps() {
  if (gps_serial().is_open() || reader_shared().gps_thread.load() != nullptr) {
    stop_gps_reader();
    close_gps_port();
  }
}

void close_survey_tilt() {
  close_tilt_port();
  close_thread_handle(reader_shared().tilt_thread);
}

void close_survey_instrument() {
  stop_instrument_reconnect();
  reader_shared().instrument_generation.fetch_add(1);
  close_instrument_port();
  if (HANDLE event = reader_shared().poll_event.load()) SetEvent(event);
  end_held_readers();
  close_thread_handle(reader_shared().instrument_thread);
  close_thread_handle(reader_shared().second_mode_thread);
}

namespace {

constexpr std::uint32_t kAfterWheelAnswerMs = 1300;
constexpr std::uint32_t kAfterTimedAnswerMs = 100;

bool switch_em61_mode(ReaderRole from, ReaderRole to, std::uint8_t mode, std::uint32_t wait_ms) {
  hold_reader(from);
  instrument_serial().purge();
  if (instrument_command('H', mode, 0) != 1) {
    release_reader(from, false);
    return false;
  }
  busy_wait_ms(wait_ms);
  instrument_serial().purge();
  release_reader(to, false);
  return true;
}

}  // namespace

bool switch_em61_to_wheel() {
  return switch_em61_mode(ReaderRole::kTimed, ReaderRole::kSecondMode, 'W', kAfterWheelAnswerMs);
}

bool switch_em61_to_timed() {
  return switch_em61_mode(ReaderRole::kSecondMode, ReaderRole::kTimed, 'X', kAfterTimedAnswerMs);
}

bool request_poll() { return request_polled_reading() == 1; }

}  // namespace quelor
