#pragma once
// The tilt-meter handler: the two angles of a tilt sentence, limited to
// +-75 degrees, the antenna offsets they give for the footprint, the texts
// shown and whether the tilt record is written.

#include <cstdint>
#include <string>
#include <string_view>

#include "datafile/writer.h"
#include "survey/survey_record.h"

namespace quelor {

// Fields of "$PTLT,pitch,heading,temperature,roll*hh" (the head is field 1).
inline constexpr int kTiltFirstAngleField = 2;   // pitch, in line
inline constexpr int kTiltSecondAngleField = 5;  // roll, across
inline constexpr double kTiltLimitDegrees = 75.0;

// Limited to +-75 degrees; a value that is not a number (or a missing field) is 0.
double limited_tilt_angle(double degrees);

struct TiltOutcome {
  double first_angle = 0.0;   // pitch
  double second_angle = 0.0;  // roll
  // In map units, as the footprint geometry they correct.
  double inline_offset = 0.0;   // h sin(pitch), added to the in-line offset
  double lateral_offset = 0.0;  // h sin(roll), added to both half-widths
  std::string first_text;       // "%+0.2f"
  std::string second_text;
  bool write = false;  // while Logging: the tilt record
  std::uint32_t tick = 0;
};

// `antenna_height` in metres; `map_units` 0 metres, 1 feet, 2 US survey feet.
TiltOutcome handle_tilt_sentence(const SurveyRecord& survey, std::string_view sentence, double antenna_height,
                                 int map_units, std::uint32_t tick);

// A line of the tilt meter that failed its test (checksum, "*" or "$"),
// while Logging: a record tagged '\' with its first 11 characters and the
// tick it arrived at.
bool write_tilt_garbage(DataFileWriter& writer, std::string_view line, std::uint32_t tick);

}  // namespace quelor
