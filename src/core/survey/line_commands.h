#pragma once
// The commands that put the survey's own events into the data file: New Line
// (a line block and a time mark), New Station (a station record and a time
// mark) and Comment (a 'C' record), and the option dialogs of the logging
// window (audio options, coordinates display units) as values of the
// settings.

#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "survey/logging_commands.h"
#include "survey/survey_record.h"

namespace quelor {

inline constexpr std::size_t kLineNameMax = 15;  // the settings file keeps 15
inline constexpr std::size_t kCommentEditMax = 63;

// What the "GETNEWLINE" dialog shows and takes.
struct NewLineEntry {
  std::string line_name;
  double start_station = 0.0;
  int line_direction = 2;  // 0 West, 1 South, 2 North, 3 East
  double station_increment = 1.0;
};

// The current line: its name, start station, direction and increment.
NewLineEntry new_line_defaults(const SurveyRecord& survey);

// The operator's entry checked: a line name of 1-15 printable characters, a
// direction 0-3 and a station increment other than 0. Nothing when valid,
// else the notice to show (the dialog stays open).
std::optional<OperatorMessage> new_line_entry_fault(const NewLineEntry& entry);

// New Line, with a file open (Stand By or Logging): counts the line, restarts
// the line's reading count, makes the entry the current line (the station
// returns to its start) and hands out the line block; the settings keep the
// line name, start station and direction.
CommandOutcome new_line_command(SurveyRecord& survey, Settings& settings, const NewLineEntry& entry);

// New Station, with a file open: the station becomes current, the
// station-advance flag is cleared, a station record and a time mark go out.
CommandOutcome new_station_command(SurveyRecord& survey, double station);

// Comment, with a file open: one 'C' record of the text's first 11
// characters.
CommandOutcome comment_command(const SurveyRecord& survey, std::wstring_view text);

// A number typed into a dialog edit: surrounding blanks allowed, nothing
// else after the number; nothing for an empty, partial or non-finite entry.
std::optional<double> parse_entered_number(std::string_view text);

// "Au&dio Options": tick sound per logged reading, the alarm when the
// instrument or GPS stops sending, the GPS warning-mask sound.
struct AudioOptions {
  bool audio_ticks = true;
  bool disconnection_alarm = true;
  bool gps_audio_warning = true;
  friend bool operator==(const AudioOptions&, const AudioOptions&) = default;
};
AudioOptions audio_options_of(const Settings& settings);
// True when a value changed (the settings are then saved).
bool apply_audio_options(Settings& settings, const AudioOptions& options);

// "Coordina&tes Display Units": 0 "Geodetic", 1 "UTM meters", 2 "UTM feet",
// 3 "UTM US Feet".
inline constexpr const char* kCoordinatesUnitNames[] = {"Geodetic", "UTM meters", "UTM feet", "UTM US Feet"};
// True when the value changed; values outside 0-3 are refused.
bool apply_coordinates_display(Settings& settings, int coordinates_display);

}  // namespace quelor
