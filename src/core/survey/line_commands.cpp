#include "survey/line_commands.h"

#include <cmath>
#include <cstdlib>

namespace quelor {

namespace {

bool file_state(const SurveyRecord& s) { return s.state == kStateStandBy || s.state == kStateLogging; }

CommandOutcome refused() {
  CommandOutcome o;
  o.ok = false;
  return o;
}

OperatorMessage warning(const char* text) { return {"WARNING", text, DialogTemplate::kOk}; }

bool printable_name(const std::string& name) {
  for (unsigned char c : name)
    if (c < 32 || c > 126) return false;
  return true;
}

}  // namespace

NewLineEntry new_line_defaults(const SurveyRecord& s) {
  return {s.line_name, s.start_station, s.line_direction, s.station_increment};
}

std::optional<OperatorMessage> new_line_entry_fault(const NewLineEntry& e) {
  if (e.line_name.empty() || e.line_name.size() > kLineNameMax || !printable_name(e.line_name))
    return warning("Line name must be 1 to 15 characters.");
  if (e.line_direction < 0 || e.line_direction > 3) return warning("Please select the line direction.");
  if (!std::isfinite(e.start_station)) return warning("Start station must be a number.");
  if (!std::isfinite(e.station_increment) || e.station_increment == 0.0)
    return warning("Station increment must be a number other than 0.");
  return std::nullopt;
}

CommandOutcome new_line_command(SurveyRecord& survey, Settings& settings, const NewLineEntry& entry) {
  if (!file_state(survey) || new_line_entry_fault(entry)) return refused();
  CommandOutcome o;
  ++survey.line_count;
  survey.readings_in_line = 0;
  survey.station_advance = false;
  survey.line_name = entry.line_name;
  survey.start_station = entry.start_station;
  survey.station = entry.start_station;
  survey.line_direction = entry.line_direction;
  survey.station_increment = entry.station_increment;
  settings.survey_line = entry.line_name;
  settings.start_station = entry.start_station;
  settings.line_direction = entry.line_direction;
  o.line_block = current_line_block(survey, settings);
  o.save_settings = true;
  o.redraw = true;
  return o;
}

CommandOutcome new_station_command(SurveyRecord& survey, double station) {
  if (!file_state(survey) || !std::isfinite(station)) return refused();
  CommandOutcome o;
  survey.station = station;
  survey.station_advance = false;
  o.station_record = station;
  o.redraw = true;
  return o;
}

CommandOutcome comment_command(const SurveyRecord& survey, std::wstring_view text) {
  if (!file_state(survey)) return refused();
  CommandOutcome o;
  o.comment = std::wstring(text.substr(0, kCommentEditMax));
  return o;
}

std::optional<double> parse_entered_number(std::string_view text) {
  const std::string s(text);
  const char* begin = s.c_str();
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  if (end == begin || !std::isfinite(value)) return std::nullopt;
  for (const char* p = end; *p; ++p)
    if (*p != ' ' && *p != '\t') return std::nullopt;
  return value;
}

AudioOptions audio_options_of(const Settings& s) {
  return {s.audio_ticks != 0, s.disconnection_alarm != 0, s.gps_audio_warning != 0};
}

bool apply_audio_options(Settings& s, const AudioOptions& a) {
  if (audio_options_of(s) == a) return false;
  s.audio_ticks = a.audio_ticks ? 1 : 0;
  s.disconnection_alarm = a.disconnection_alarm ? 1 : 0;
  s.gps_audio_warning = a.gps_audio_warning ? 1 : 0;
  return true;
}

bool apply_coordinates_display(Settings& s, int value) {
  if (value < 0 || value > 3 || value == s.coordinates_display) return false;
  s.coordinates_display = value;
  return true;
}

}  // namespace quelor
