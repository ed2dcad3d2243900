#include "survey/logged_reading.h"

#include <cstdio>

namespace quelor {

namespace {

std::string formatted(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

std::string formatted(const char* format, int v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

}  // namespace

LoggedTexts count_logged_reading(SurveyRecord& survey, std::uint32_t now) {
  if (survey.station_advance) survey.station += survey.station_increment;
  ++survey.readings_in_line;
  ++survey.readings_in_survey;
  survey.station_advance = true;
  survey.readings_since_last_record = 0;
  return {formatted("%-11.2f", survey.station), formatted("%-7d", survey.readings_in_survey),
          formatted("%-6d", survey.readings_in_line), elapsed_text(elapsed_logging_ms(survey, now))};
}

bool arrived_while_logging(const SurveyRecord& survey, std::uint32_t tick) {
  // Tick differences, so the 49-day wrap of the tick count does not matter.
  return static_cast<std::int32_t>(tick - survey.start_tick) >= 0;
}

}  // namespace quelor
