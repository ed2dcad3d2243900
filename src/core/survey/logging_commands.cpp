#include "survey/logging_commands.h"

#include <cstdio>
#include <cstdlib>

#include "procedures/em38_4_values.h"
#include "variant/instrument.h"
#include "variant/variant.h"

namespace quelor {

namespace {

std::string format_number(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string reading_count_text(int reading, int of) {
  char text[48];
  std::snprintf(text, sizeof text, "Rdg: %1d of %1d", reading, of);
  return text;
}

std::uint32_t poll_timeout(std::uint32_t period_ms) { return static_cast<std::uint32_t>(1.1 * period_ms) + 1; }

OperatorMessage information(const char* text) { return {"INFORMATION", text, DialogTemplate::kOk}; }

// West <-> East, South <-> North.
int reversed_direction(int direction) {
  constexpr int kReverse[] = {3, 2, 1, 0};
  return direction >= 0 && direction <= 3 ? kReverse[direction] : direction;
}

void go_by_mode(SurveyRecord& survey, const CommandContext& c, CommandOutcome& o) {
  switch (survey.survey_mode) {
    case kModeWheel:
      if (is_em61(c.instrument_type)) o.wheel = WheelAction::kStartWheel;
      o.stop_timer = true;
      break;
    case kModeManual:
      if (has_trait(c.instrument_type, Trait::kStationReadings) && c.readings_per_station > 0)
        o.reading_count_text = reading_count_text(0, c.readings_per_station);
      break;
    default:
      if (has_trait(c.instrument_type, Trait::kPolledReadings) && c.em61_polled) {
        o.timer_period_ms = c.logging_poll_ms;
        o.poll_timeout_ms = poll_timeout(c.logging_poll_ms);
      } else {
        survey.records_per_reading = survey.configured_records_per_reading;
        o.records_per_reading = survey.records_per_reading;
      }
  }
}

void pause_by_mode(SurveyRecord& survey, const CommandContext& c, CommandOutcome& o) {
  if (survey.survey_mode == kModeWheel) {
    if (is_em61(c.instrument_type)) o.wheel = WheelAction::kStopWheel;
    o.timer_period_ms = c.stand_by_poll_ms;
    o.poll_pending = true;
    return;
  }
  survey.records_per_reading = 1;
  o.records_per_reading = 1;
  if (has_trait(c.instrument_type, Trait::kPolledReadings) && c.em61_polled) {
    o.timer_period_ms = c.stand_by_poll_ms;
    o.poll_timeout_ms = poll_timeout(c.stand_by_poll_ms);
  }
}

// The end of a survey: timer, ports and window closed, state Closed.
void close_survey(SurveyRecord& survey, const CommandContext& c, CommandOutcome& o) {
  o.stop_timer = c.instrument_used;
  o.close_gps = c.gps_used;
  o.close_tilt = c.tilt_used;
  o.close_instrument = c.instrument_used;
  o.hide_window = true;
  survey.file_open = false;
  survey.file_name.clear();
  survey.map_review = false;
  clear_survey_counters(survey);
  survey.state = kStateClosed;
}

}  // namespace

OperatorMessage instrument_required() { return information("Option avaiable only when Instrument is enabled"); }
OperatorMessage gps_required() { return information("Option avaiable only when GPS is enabled"); }
OperatorMessage map_required() { return information("Option avaiable only when map is visible"); }

CommandOutcome go_command(SurveyRecord& survey, const CommandContext& c) {
  CommandOutcome o;
  if (survey.state != kStateStandBy) {
    o.ok = false;
    return o;
  }
  if (survey.map_full == kMapMustGrow) {
    o.ok = false;
    o.sound = kSoundRing;
    o.notices.push_back(
        {"WARNING", "Cannot start logging.\r\nPlease increase the map size\r\nby 20-25%.", DialogTemplate::kOk});
    return o;
  }
  survey.readings_since_last_record = 0;
  survey.write_enable = 0;
  survey.connection_lost = false;
  survey.break_remarked = false;
  survey.start_tick = c.now;
  o.channel_selectors = false;
  go_by_mode(survey, c, o);
  survey.state = kStateLogging;
  survey.gps_start_tick = c.now;
  o.remarks.emplace_back("$STARTED");
  o.redraw = true;
  return o;
}

CommandOutcome pause_command(SurveyRecord& survey, const CommandContext& c) {
  CommandOutcome o;
  if (survey.state != kStateLogging) {
    o.ok = false;
    return o;
  }
  survey.earlier_logging_ms += c.now - survey.start_tick;
  survey.state = kStateStandBy;
  if (has_trait(c.instrument_type, Trait::kStationReadings) && survey.survey_mode == kModeManual)
    o.reading_count_text = "";
  o.remarks.emplace_back(survey.map_full == kMapReachedEdge ? "PAUSED BMP" : "PAUSED");
  o.commit_to_disk = true;
  o.channel_selectors = true;
  pause_by_mode(survey, c, o);
  o.redraw = true;
  if (survey.map_full == kMapReachedEdge) {
    survey.map_full = kMapMustGrow;
    o.sound = kSoundRing2s;
    o.notices.push_back(
        {"WARNING", "Please select Map Size option\r\nand increase the map size\r\nby 20-25%.", DialogTemplate::kOk});
  }
  return o;
}

CommandOutcome exit_command(SurveyRecord& survey, const CommandContext& c, bool forced, const AskOperator& ask) {
  CommandOutcome o;
  survey.gps_start_tick = 0;
  if (survey.state == kStateClosed) return o;
  const bool file_state = survey.state == kStateLogging || survey.state == kStateStandBy;
  if (file_state && !forced && !survey.map_review) {
    if (!ask || ask({"Confirm Exit", "Exit Logging?", DialogTemplate::kYesNo}) != 1) {
      if (survey.state == kStateLogging) survey.earlier_logging_ms += c.now - survey.start_tick;
      survey.state = kStateStandBy;
      o.ok = false;
      o.redraw = true;
      return o;
    }
  }
  o.close_file = file_state;
  close_survey(survey, c, o);
  return o;
}

std::string quick_line_question_text(const std::string& line_name, double line_increment) {
  return format_number("New Line: %.2f", std::atof(line_name.c_str()) + line_increment);
}

LineBlockFields current_line_block(const SurveyRecord& survey, const Settings& settings) {
  LineBlockFields f = line_block_fields_from_settings(settings);
  f.line_name = survey.line_name;
  f.file_name = survey.file_name;
  f.start_station = survey.start_station;
  f.line_direction = survey.line_direction;
  f.station_increment = survey.station_increment;
  // The EM38-4 calibration in force, which the re-plot and the export read back.
  const std::array<double, 28> constants = em38_4_constants(em38_4_calibration(settings.em38_4));
  for (std::size_t i = 0; i < constants.size(); ++i) f.em38_4_constants[i] = {constants[i], constants[i]};
  return f;
}

CommandOutcome quick_line_command(SurveyRecord& survey, Settings& settings, const CommandContext& c,
                                  const AskOperator& ask) {
  CommandOutcome o;
  if (!c.instrument_used) {
    o.ok = false;
    o.notices.push_back(instrument_required());
    return o;
  }
  if (survey.state != kStateStandBy) {
    o.ok = false;
    return o;
  }
  const double line = std::atof(survey.line_name.c_str()) + settings.line_increment;
  if (!ask || ask({"Quick Line", quick_line_question_text(survey.line_name, settings.line_increment),
                   DialogTemplate::kYesNo}) != 1) {
    o.ok = false;
    return o;
  }
  ++survey.line_count;
  survey.readings_in_line = 0;
  survey.station_advance = false;
  survey.line_name = format_number("%.2f", line);
  if (settings.line_sequence == 1) {
    survey.station = survey.start_station;
  } else {
    survey.start_station = survey.station;
    survey.station_increment = -survey.station_increment;
    survey.line_direction = reversed_direction(survey.line_direction);
  }
  settings.survey_line = survey.line_name;
  settings.line_direction = survey.line_direction;
  o.line_block = current_line_block(survey, settings);
  o.save_settings = true;
  o.redraw = true;
  return o;
}

CommandOutcome file_command(SurveyRecord& survey, CreateDataFileContext& create, const AppendSituation& situation,
                            const MapFrame& frame, const CommandContext& c) {
  CommandOutcome o;
  if (survey.state != kStateMonitoring) {
    o.ok = false;
    return o;
  }
  const CreateDataFileResult r = create_data_file(create);
  if (r.outcome == CreateOutcome::kCancelled || r.outcome == CreateOutcome::kOpenFailed) {
    o.ok = false;
    return o;
  }
  long positions_in_file = 0;
  if (r.outcome == CreateOutcome::kOwnFile) {
    const ContinueResult cont = continue_data_file(create, situation, frame);
    if (!cont.ok) {
      o.ok = false;
      // The file holds the maximum number of positions: the survey ends as
      // Exit ends it (the file is already closed).
      if (cont.must_exit) close_survey(survey, c, o);
      return o;
    }
    if (cont.scan) positions_in_file = cont.scan->positions;
  }
  survey.file_open = true;
  survey.file_name = r.name;
  if (create.settings.instrument_state < 1) clear_survey_offsets(survey);  // GPS-only: the antenna is the sensor
  survey.state = kStateStandBy;
  clear_survey_counters(survey);
  // A continued file's positions count toward the survey's maximum.
  survey.gps_position_count = static_cast<int>(positions_in_file);
  o.redraw = true;
  o.channel_selectors = true;
  return o;
}

bool write_outcome(DataFileWriter& writer, const CommandOutcome& o, const LocalTime& now, std::uint32_t tick) {
  bool ok = true;
  for (const std::string& remark : o.remarks) ok = writer.write_remark(std::string_view(remark), 'X', tick) && ok;
  if (o.line_block) ok = writer.write_line_block(*o.line_block, now, tick) && ok;
  if (o.station_record) {
    ok = writer.write_station(*o.station_record, now) && ok;
    ok = writer.write_time_mark(now, tick) && ok;
  }
  if (o.comment) ok = writer.write_remark(std::wstring_view(*o.comment), 'C', tick) && ok;
  if (o.commit_to_disk || o.line_block) ok = writer.commit_to_disk() && ok;
  return ok;
}

}  // namespace quelor
