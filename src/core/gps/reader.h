#pragma once
// The GPS reader: a byte-fed state machine run by the platform's reader
// thread. It assembles and checks sentences, tells the data file what to log
// with which marker set, forwards position sentences to the logging window at
// a limited rate (Auto and Wheel modes) or at once through the Manual-mode
// buffers, and reconnects a receiver that has been silent for 3000 ms. All
// platform actions go through GpsReaderHost, so the thread is a thin loop.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "gps/assembler.h"
#include "gps/formats.h"
#include "gps/manual_buffers.h"
#include "gps/markers.h"
#include "io/clock.h"
#include "io/serial_port.h"

namespace quelor {

// Survey state and mode values as the logging window keeps them.
inline constexpr int kSurveyLogging = 1;
inline constexpr int kSurveyModeManual = 2;

inline constexpr std::string_view kGpsBreakRemark = "GPS CONN BRK";
inline constexpr std::string_view kRingSound = "SOUND_RING";

// What the reader needs to know of the survey at each sentence.
struct GpsSurveyStatus {
  bool logging = false;              // survey state is Logging
  int survey_mode = 0;               // 0 Auto, 1 Wheel, 2 Manual
  bool instrument_connected = true;  // acquiring: no instrument connection break
  bool sound_on = true;              // the disconnection alarm
};

class GpsReaderHost {
 public:
  virtual ~GpsReaderHost() = default;
  virtual GpsSurveyStatus survey_status() = 0;
  // Logs one GPS line to the data file with its start tick and markers.
  virtual void write_sentence(std::string_view text, std::uint32_t tick, const MarkerSet& markers) = 0;
  // WM_GPS_POSITION / WM_GPS_GSA with the sentence in GpsSentence; blocking.
  virtual void send_position(std::string_view sentence) = 0;
  virtual void send_gsa(std::string_view sentence) = 0;
  virtual void write_remark(std::string_view text) = 0;
  virtual void play_sound(std::string_view resource) = 0;
  // Blanks the six GPS fields of the logging window's status area.
  virtual void blank_gps_fields() = 0;
  // Closes the GPS port; false when the close failed (it is retried).
  virtual bool close_port() = 0;
  // Opens the GPS port again; a failure is reported by the host.
  virtual bool reopen_port() = 0;
  // The open GPS port, or nullptr while there is none.
  virtual SerialPort* port() = 0;
};

struct GpsReaderConfig {
  FormatTable format = make_format_table(kFormatGga, false);
  std::uint32_t minimum_interval_ms = 910;
  std::uint32_t silence_ms = 3000;
  std::uint32_t close_retry_ms = 500;
};

// Run flag and reader state shared with the thread that starts and ends it.
struct GpsReaderControl {
  std::atomic<int> run{0};    // 1 while the reader should run
  std::atomic<int> state{0};  // 2 running, 1 ended
  std::atomic<bool> connection_broken{false};
  // Set while an instrument procedure holds the GPS: the reader stops
  // reading; on resume it purges the port and starts its silence wait afresh.
  std::atomic<bool> paused{false};
};
inline constexpr int kGpsReaderRunning = 2;
inline constexpr int kGpsReaderEnded = 1;

struct GpsReaderState {
  GpsReaderConfig config;
  SentenceAssembler assembler;
  std::uint32_t last_data_tick = 0;
  std::optional<std::uint32_t> last_forwarded_tick;  // none forwarded yet
  std::string sentence;                              // GpsSentence: the last accepted sentence
};

GpsReaderState make_gps_reader(const GpsReaderConfig& config);

// Start of the loop: the last-data tick is now and the state running.
void gps_reader_begin(GpsReaderState& s, GpsReaderControl& control, Clock& clock);

// The silence test: more than 3000 ms since the last accepted sentence runs
// the reconnection. True when it ran.
bool gps_reader_check_silence(GpsReaderState& s, GpsReaderControl& control, GpsReaderHost& host, Clock& clock);

// One byte from the port. `manual` may be null when Manual mode is not used.
void gps_reader_feed(GpsReaderState& s, std::uint8_t byte, GpsReaderHost& host, Clock& clock, ManualGpsBuffers* manual);

// What one completed line does (called by gps_reader_feed).
void gps_reader_line(GpsReaderState& s, std::string_view line, std::uint32_t start_tick, GpsReaderHost& host,
                     Clock& clock, ManualGpsBuffers* manual);

// The reconnection steps (remark, ring, blank, close with retries, reopen).
void gps_reader_reconnect(GpsReaderState& s, GpsReaderHost& host, Clock& clock);

// Back from a pause: the port purged, a half line dropped, the last-data tick now.
void gps_reader_resume(GpsReaderState& s, GpsReaderHost& host, Clock& clock);

// The whole loop, until control.run is no longer 1 (set it before the
// thread starts). A port that is missing or broken is waited for in 50 ms
// steps so that the silence test can reconnect it.
void run_gps_reader(GpsReaderState& s, GpsReaderControl& control, GpsReaderHost& host, Clock& clock,
                    ManualGpsBuffers* manual);

// |a - b| of two start ticks, robust to the 32-bit wrap.
std::uint32_t tick_distance(std::uint32_t a, std::uint32_t b);

}  // namespace quelor
