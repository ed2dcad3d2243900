#include "survey/survey_record.h"

#include <cstdio>

namespace quelor {

std::uint32_t elapsed_logging_ms(const SurveyRecord& r, std::uint32_t now) {
  std::uint32_t ms = r.earlier_logging_ms;
  if (r.state == kStateLogging) ms += now - r.start_tick;
  return ms;
}

std::string elapsed_text(std::uint32_t ms) {
  const std::uint32_t seconds = ms / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", seconds / 3600, (seconds / 60) % 60, seconds % 60);
  return text;
}

ColourIndexBuffer& kind_buffer(SurveyRecord& r, int kind) {
  return kind == 1 || kind == 2 ? r.spacing_index[static_cast<std::size_t>(kind - 1)] : r.colour_index;
}

const ColourIndexBuffer& kind_buffer(const SurveyRecord& r, int kind) {
  return kind == 1 || kind == 2 ? r.spacing_index[static_cast<std::size_t>(kind - 1)] : r.colour_index;
}

void map_written_reading(SurveyRecord& r, int kind, std::optional<int> entry) {
  const int k = kind >= 0 && kind < 3 ? kind : 0;
  r.kind_readings[static_cast<std::size_t>(k)] = true;
  ColourIndexBuffer& b = kind_buffer(r, k);
  if (entry && b.filling) segment_push(b, *entry);
}

void clear_survey_offsets(SurveyRecord& r) {
  r.working_gps_x_offset = 0.0;
  r.working_gps_y_offset = 0.0;
  r.manual_gps_y_offsets = {};
}

void clear_survey_counters(SurveyRecord& r) {
  r.readings_in_line = 0;
  r.readings_in_survey = 0;
  r.stations_in_survey = 0;
  r.readings_since_last_record = 0;
  r.write_enable = 0;
  r.earlier_logging_ms = 0;
  r.gps_position_count = 0;
  r.connection_lost = false;
  r.break_remarked = false;
}

}  // namespace quelor
