#include "survey/tilt_handler.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "gps/fields.h"
#include "gps/units.h"

namespace quelor {

namespace {

double field_angle(std::string_view sentence, int n) {
  std::string_view field;
  if (!extract_field(sentence, n, ',', field)) return 0.0;
  const std::string text(field.substr(0, field.find('*')));
  return limited_tilt_angle(std::atof(text.c_str()));
}

std::string angle_text(double degrees) {
  char text[16];
  std::snprintf(text, sizeof text, "%+0.2f", degrees);
  return text;
}

}  // namespace

double limited_tilt_angle(double degrees) {
  if (!std::isfinite(degrees)) return std::isnan(degrees) ? 0.0 : std::copysign(kTiltLimitDegrees, degrees);
  return std::fmax(-kTiltLimitDegrees, std::fmin(kTiltLimitDegrees, degrees));
}

TiltOutcome handle_tilt_sentence(const SurveyRecord& survey, std::string_view sentence, double antenna_height,
                                 int map_units, std::uint32_t tick) {
  TiltOutcome o;
  o.tick = tick;
  o.first_angle = field_angle(sentence, kTiltFirstAngleField);
  o.second_angle = field_angle(sentence, kTiltSecondAngleField);
  constexpr double kRadians = std::numbers::pi / 180.0;
  o.inline_offset = metres_to_working_unit(antenna_height * std::sin(o.first_angle * kRadians), map_units);
  o.lateral_offset = metres_to_working_unit(antenna_height * std::sin(o.second_angle * kRadians), map_units);
  o.first_text = angle_text(o.first_angle);
  o.second_text = angle_text(o.second_angle);
  o.write = survey.state == kStateLogging;
  return o;
}

bool write_tilt_garbage(DataFileWriter& writer, std::string_view line, std::uint32_t tick) {
  return writer.write_remark(line, kTiltGarbageTag, tick);
}

}  // namespace quelor
