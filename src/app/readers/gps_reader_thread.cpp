#include "app/readers/gps_reader_thread.h"

#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/readers/reader_shared.h"
#include "app/sound/sound_player.h"
#include "app/readers/serial_ports.h"
#include "gps/gps_settings.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_clock.h"
#include "serial/reading_messages.h"

namespace quelor {

namespace {

RecordBytes as_record(std::string_view text) {
  RecordBytes r;
  assign_record(r, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  return r;
}

class Win32GpsHost final : public GpsReaderHost {
 public:
  explicit Win32GpsHost(const GpsThreadSetup& setup) : setup_(setup) {}

  GpsSurveyStatus survey_status() override {
    const ReaderSurvey& s = reader_shared().survey;
    GpsSurveyStatus status;
    status.logging = s.logging.load();
    status.survey_mode = s.survey_mode.load();
    status.instrument_connected =
        !reader_shared().connection_lost.load() || reader_shared().instrument_reconnecting.load();
    status.sound_on = s.disconnection_alarm.load();
    return status;
  }
  void write_sentence(std::string_view text, std::uint32_t tick, const MarkerSet& markers) override {
    if (auto hook = reader_shared().hooks.write_gps_sentence.load()) hook(text, tick, markers);
  }
  void send_position(std::string_view sentence) override { send(sentence, WM_GPS_POSITION); }
  void send_gsa(std::string_view sentence) override { send(sentence, WM_GPS_GSA); }
  void write_remark(std::string_view text) override {
    if (auto hook = reader_shared().hooks.write_remark.load()) hook(text);
  }
  void play_sound(std::string_view resource) override { play_sound_named(resource); }
  void blank_gps_fields() override {
    if (auto hook = reader_shared().hooks.blank_gps_fields.load()) hook();
  }
  bool close_port() override { return close_gps_port() == 1; }
  bool reopen_port() override { return open_gps_port_at(setup_.port_index, setup_.line_settings) == 1; }
  SerialPort* port() override { return gps_serial().is_open() ? &gps_serial() : nullptr; }

 private:
  static void send(std::string_view sentence, std::uint32_t message) {
    ReaderShared& shared = reader_shared();
    shared.gps_sentence.publish(as_record(sentence));
    if (HWND window = shared.log_window.load()) SendMessageW(window, message, 0, 0);
  }

  GpsThreadSetup setup_;
};

DWORD WINAPI gps_reader_thread(LPVOID parameter) {
  std::unique_ptr<GpsThreadSetup> setup(static_cast<GpsThreadSetup*>(parameter));
  Win32GpsHost host(*setup);
  Win32Clock clock;
  GpsReaderState state = make_gps_reader(setup->reader);
  GpsReaderControl& control = gps_reader_control();
  reader_shared().gps_reader_state.store(kReaderRunning);
  if (HANDLE h = reader_shared().gps_port.load(); port_handle_valid(h)) SetCommMask(h, EV_RXCHAR | EV_BREAK);
  run_gps_reader(state, control, host, clock, &manual_gps_buffers());
  reader_shared().gps_reader_state.store(kReaderFinished);
  return 0;
}

}  // namespace

GpsReaderControl& gps_reader_control() {
  static GpsReaderControl control;
  return control;
}

ManualGpsBuffers& manual_gps_buffers() {
  static ManualGpsBuffers buffers;
  return buffers;
}

GpsThreadSetup gps_thread_setup_from_settings() {
  GpsThreadSetup setup;
  setup.reader = gps_reader_config(g_settings);
  setup.port_index = g_settings.gps_port;
  setup.line_settings = gps_line_settings(g_settings);
  return setup;
}

HANDLE create_gps_reader(const GpsThreadSetup& setup) {
  auto owned = std::make_unique<GpsThreadSetup>(setup);
  gps_reader_control().run.store(1);
  gps_reader_control().paused.store(false);
  KernelHandle thread(CreateThread(nullptr, 0, gps_reader_thread, owned.get(), CREATE_SUSPENDED, nullptr));
  if (!thread) {
    gps_reader_control().run.store(0);
    return nullptr;
  }
  owned.release();  // the thread owns it now
  const HANDLE started = thread.get();
  KernelHandle superseded(reader_shared().gps_thread.exchange(thread.release()));  // the slot keeps the handle to await
  return started;
}

void resume_gps_reader() {
  if (HANDLE thread = reader_shared().gps_thread.load()) ResumeThread(thread);
}

void stop_gps_reader() { gps_reader_control().run.store(0); }

}  // namespace quelor
