#pragma once
// The GPS-fix handler of the logging window: parse, validity, projection in
// the survey's zone, reference position and map origin at the first fix,
// speed, the GPS position count and its maximum, the status texts of the fix
// and the cursor position on the map.

#include <optional>
#include <string>
#include <string_view>

#include "datafile/message_box.h"
#include "gps/fix.h"
#include "gps/formats.h"
#include "gps/parser.h"
#include "gps/warning.h"
#include "settings/settings.h"
#include "survey/survey_record.h"
#include "variant/variant.h"

namespace quelor {

struct FixContext {
  FormatTable format;
  FixOptions options;
  GpsWarningLimits warning;
  int map_units = 0;               // 0 metres, 1 feet, 2 US survey feet
  int coordinates_display = 0;     // 0 geodetic, 1 metres, 2 feet, 3 US survey feet
  bool warning_sound = true;       // the GPS warning sound ("Enable Audio Warning")
  bool connection_broken = false;  // the GPS connection is marked broken
  bool instrument_used = true;     // positions are not counted while its connection is lost
  int selected_channel = 0;        // the mapped channel; 0 none
};

FixContext fix_context_from_settings(const Settings& s, InstrumentType instrument_type);

// Texts of the GPS block for this fix.
struct FixTexts {
  std::string satellites;    // "%d", or the shown count of p-GGA SLAM
  std::string quality;       // quality label
  std::string first_label;   // "Lon:" or "E:"
  std::string second_label;  // "Lat:" or "N:"
  std::string first;         // longitude text or easting read-out; "     N/A     " when unusable
  std::string second;        // latitude text or northing read-out
  std::string zone;          // "%-2d" with a grid display of a projected fix
  std::string dilution;
  // The dilution cell ("%-4.1f" or "N/A") when the format carries a
  // dilution of its own (GGA's HDOP); nothing leaves the GSA's value.
  std::optional<std::string> dilution_cell;
};

struct FixOutcome {
  GpsFix fix;
  bool usable = false;
  bool first_fix = false;  // reference position and map origin set; enable File, Map Size, Menu, selectors
  double easting = 0.0;    // map units
  double northing = 0.0;
  double cursor_x = 0.0;  // map units from the map origin
  double cursor_y = 0.0;
  double distance = 0.0;        // from the previous fix, map units
  std::optional<double> speed;  // map units per second (display/speed_bar shows it)
  bool fix_good = true;
  bool warning_sound = false;   // "SOUND_GPSWARNING"
  bool segment_closed = false;  // the colour-index row of the closed segment is ready
  bool counted = false;
  std::string position_count_text;  // "%5d"
  bool maximum_reached = false;     // stop readers and timer, Monitoring, tell, end the program
  std::optional<OperatorMessage> maximum_message;
  FixTexts texts;
};

// Seconds from one fix to the next by the sentences' times of day (past
// midnight wrapped): what the speed divides by; the live speed only where
// it is above 0.
double seconds_between_fixes(double previous_time_of_day, double time_of_day);

// Handles one position sentence.
FixOutcome handle_gps_fix(SurveyRecord& survey, const FixContext& context, std::string_view sentence);

}  // namespace quelor
