#pragma once
// The File, Go, Pause, Quick Line and Exit commands of the logging window as
// transitions of the survey record. Each returns what the window side has to
// do and what goes to the data file; questions go through the message box.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "datafile/create_data_file.h"
#include "datafile/data_records.h"
#include "datafile/message_box.h"
#include "datafile/writer.h"
#include "settings/settings.h"
#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {

// Asks the operator (yes/no box); 1 for Yes, 0 for No. A callback rather
// than MessageBox& in the signatures, so that translation units that include
// windows.h (where MessageBox is a macro) link against the same functions.
using AskOperator = std::function<int(const OperatorMessage&)>;
inline AskOperator ask_with(MessageBox& box) {
  return [&box](const OperatorMessage& m) { return box.show(m); };
}

inline constexpr const char* kSoundRing = "SOUND_RING";
inline constexpr const char* kSoundRing2s = "SOUND_RING_2S";

// What the EM61 wheel reader needs around Go and Pause.
enum class WheelAction { kNone, kStartWheel, kStopWheel };

struct CommandOutcome {
  bool ok = true;  // false: refused, cancelled or answered No
  // data file, in this order: remarks ('X'), line block with time mark,
  // station record with time mark, comment ('C'), commit
  std::vector<std::string> remarks;
  std::optional<LineBlockFields> line_block;
  std::optional<double> station_record;
  std::optional<std::wstring> comment;
  bool commit_to_disk = false;  // flush, close and reopen at the end
  bool close_file = false;
  bool save_settings = false;
  // operator
  const char* sound = nullptr;           // resource sound to start
  std::vector<OperatorMessage> notices;  // shown after the sound
  // window
  bool redraw = false;                    // status panels, profile and map
  std::optional<bool> channel_selectors;  // show (true) or hide (false)
  // instrument and ports
  WheelAction wheel = WheelAction::kNone;
  bool stop_timer = false;
  std::optional<std::uint32_t> timer_period_ms;  // restart timer 1 with this period
  std::optional<std::uint32_t> poll_timeout_ms;  // EM61-MK2 polling: 1.1 x period + 1
  bool poll_pending = false;                     // EM61-MK2 after the wheel stops
  std::optional<int> records_per_reading;        // the reader's decimation factor
  bool close_gps = false;
  bool close_tilt = false;
  bool close_instrument = false;
  bool hide_window = false;                       // back to the setup window (delete temp files, leave review)
  std::optional<std::string> reading_count_text;  // EM34-3 Manual: "Rdg: %1d of %1d", or "" to clear
};

// What the commands need from the program beyond the survey record.
struct CommandContext {
  InstrumentType instrument_type = kEm31Mk2;
  bool instrument_used = true;
  bool gps_used = true;
  bool tilt_used = false;
  bool em61_polled = false;
  std::uint32_t logging_poll_ms = 100;   // EM61-MK2 polling while logging: the polling interval
  std::uint32_t stand_by_poll_ms = 500;  // timer 1 in Stand By: the period the survey started with
  int readings_per_station = 0;          // EM34-3 Manual station groups
  std::uint32_t now = 0;
};

// "Option avaiable only when Instrument is enabled" (title "INFORMATION"),
// likewise GPS and map.
OperatorMessage instrument_required();
OperatorMessage gps_required();
OperatorMessage map_required();

// Go (Stand By -> Logging). With the map-full flag 2 it rings, tells
// "Cannot start logging." and stays in Stand By.
CommandOutcome go_command(SurveyRecord& survey, const CommandContext& context);

// Pause (Logging -> Stand By): "PAUSED" or "PAUSED BMP", commit to disk.
CommandOutcome pause_command(SurveyRecord& survey, const CommandContext& context);

// Exit: asks "Exit Logging?" in Logging and Stand By unless forced or in map
// review; No keeps (or makes) Stand By.
CommandOutcome exit_command(SurveyRecord& survey, const CommandContext& context, bool forced, const AskOperator& ask);

// "New Line: %.2f" of the current line name read as a number + the increment.
std::string quick_line_question_text(const std::string& line_name, double line_increment);

// Quick Line (Stand By): asks "Quick Line"; on Yes counts the line, names it
// "%.2f", turns the direction for back-and-forth lines (or returns to the
// start station for one-way lines) and hands out the line block.
CommandOutcome quick_line_command(SurveyRecord& survey, Settings& settings, const CommandContext& context,
                                  const AskOperator& ask);

// The line block of the survey's current line (the settings give the rest).
LineBlockFields current_line_block(const SurveyRecord& survey, const Settings& settings);

// File (Monitoring): Create Data File, and for an own file the append check
// and continuation. A new, foreign or continued file puts the survey in
// Stand By with its name and cleared counters.
CommandOutcome file_command(SurveyRecord& survey, CreateDataFileContext& create, const AppendSituation& situation,
                            const MapFrame& frame, const CommandContext& context = {});

// Writes the outcome's remarks, line block, station, comment and commit
// through the writer.
bool write_outcome(DataFileWriter& writer, const CommandOutcome& outcome, const LocalTime& now, std::uint32_t tick);

}  // namespace quelor
