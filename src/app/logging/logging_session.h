#pragma once
// The running survey as the logging window keeps it: the survey record, what
// the start worked out, the open data file and its writer, the child windows
// and buttons, and the values shown between paints. Lives for the whole run
// and is touched on the window thread only, except the writer (thread-safe)
// that the GPS reader thread also writes through.

#include "map/map_buttons.h"
#include <windows.h>
#undef MessageBox  // the survey code's MessageBox, not the Win32 macro

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "datafile/writer.h"
#include "platform/win32/win32_data_sink.h"
#include "survey/connection_monitor.h"
#include "survey/gps_fix_handler.h"
#include "survey/instrument_handler.h"
#include "survey/procedure_hook.h"
#include "survey/reading_handler.h"
#include "survey/em34_station_group.h"
#include "survey/start_plan.h"
#include "survey/survey_record.h"

namespace quelor {

inline constexpr UINT_PTR kConnectionTimer = 1;
inline constexpr int kCurveWindowId = 600;
inline constexpr int kDecayWindowId = 610;
inline constexpr int kBarQWindowId = 620;
inline constexpr int kBarIWindowId = 630;
inline constexpr int kNumbersWindowId = 650;
inline constexpr int kSpeedWindowId = 651;
inline constexpr int kMapWindowId = 652;
inline constexpr int kColourBarWindowId = 653;
inline constexpr int kFirstMapButtonId = 470;
inline constexpr int kFirstSelectorId = 480;
inline constexpr int kMaxSelectors = 8;
inline constexpr int kProfileHistory = 400;

// The child windows of the logging window.
struct LoggingChildren {
  std::array<HWND, 3> curves{};
  HWND decay = nullptr;
  HWND bar_q = nullptr;
  HWND bar_i = nullptr;
  HWND numbers = nullptr;
  HWND map = nullptr;
  HWND colour_bar = nullptr;
  HWND speed = nullptr;
  std::array<HWND, kLoggingButtonCount> buttons{};  // ids 460..463
  HWND pause = nullptr;                             // id 460 too, hidden unless logging
  std::array<HWND, kMapButtonCount> map_buttons{};
  std::array<HWND, kMaxSelectors> selectors{};
  int selector_count = 0;
};

// The last reading and fix as the displays show them.
struct DisplayValues {
  bool have_reading = false;
  double first_value = 0.0;
  double second_value = 0.0;
  bool has_second_value = false;
  char dipole = 'V';
  double range = 0.0;           // "T" records: the range's full-scale number
  bool inphase_record = false;  // EM38: the record's value is an in-phase value
  int coil_spacing_m = 0;       // EM34-3: the spacing the last record carries
  bool marker = false;
  std::array<double, kProfileHistory> history{};  // first values, oldest first
  int history_count = 0;
  FixTexts fix;
  bool have_fix = false;
  double cursor_x = 0.0;  // map units from the origin
  double cursor_y = 0.0;
  std::string dilution = "N/A";
  double speed = 0.0;  // map units per second
  std::string reading_count_text;
  // every channel of the last reading (binary and line instruments)
  std::array<double, kMaxChannels> channels{};
  int channel_count = 0;
  std::string battery_text;      // EM61 "%4.1f V"
  std::string current_text;      // EM61 "%4.1f A"
  std::string tilt_first_text;   // pitch "%+0.2f"
  std::string tilt_second_text;  // roll
};

struct LoggingSession {
  bool active = false;         // a survey is running (the window is shown)
  MonitorClock monitor_clock;  // the connection monitor's ticks
  StartPlan plan;
  SurveyRecord& survey = plan.survey;
  bool instrument_used = false;
  bool gps_used = false;
  bool tilt_used = false;
  FixContext fix_context;
  ReadingContext reading_context;
  InstrumentContext instrument_context;  // the binary and line instruments
  // How every reading is read (refresh_decode_context): options,
  // calibrations, nulls, the mapped view and its scale.
  DecodeContext decode;
  InstrumentSurveyState instrument_state;
  ProcedureHook procedure;           // a running procedure takes the readings
  double tilt_inline_offset = 0.0;   // added to the footprint's in-line offset
  double tilt_lateral_offset = 0.0;  // added to its half-widths
  Em34StationGroup em34_group;       // EM34-3 Manual: the readings of one station
  bool em61_polled = false;          // EM61-MK2 in its polled-reading (fast) mode
  bool instrument_port_open = true;  // false after a failed battery-save reconnection
  bool battery_saved = false;        // EM34-3: battery save answered No, the port closed until Go
  bool map_view = true;              // "Toggle View": the map shown beside the profiles (with GPS)
  bool command_busy = false;
  bool handling_readings = false;  // a reading handler is on the stack
  bool ending_survey = false;      // the position maximum was reached: WM_END_SURVEY is on its way
  FixOutcome end_outcome;
  int focused_button = 0;

  Win32DataSink sink;
  // The writer of this survey's data file, made for the program's variant
  // when the survey starts (and on first use).
  DataFileWriter& writer();
  void renew_writer();
  std::optional<DataFileWriter> file_writer;
  // The survey has a data file to write to: open, or lost to a failed write
  // and its records held by the writer until Go writes them.
  bool data_file_open() const { return sink.is_open() || (file_writer && file_writer->failing()); }

  LoggingChildren children;
  DisplayValues display;
};

LoggingSession& logging_session();

// The wide form of 8-bit text.
std::wstring widen(std::string_view text);

// Tells the readers what they look at on every record: logging or not, the
// survey mode, the records-per-reading factor, the audio ticks.
void sync_reader_survey();

// Installs the data-file hooks of the GPS and tilt readers.
void install_reader_hooks();

// Manual mode with the GPS: a logged reading takes the position sentence the
// GPS reader keeps (written before the reading); when that copy went with an
// earlier reading, the GPS reader is asked to write its next one.
void write_manual_position();

// Writes a remark record while a file is open.
void write_survey_remark(std::string_view text, std::uint32_t tick);

}  // namespace quelor
