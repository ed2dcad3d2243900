#pragma once
// One survey data file added to the report's survey: readings and fixes as
// the export reads them (positions interpolated by tick), remarks and
// comments, the swath outlines the map painter logged, and the local time of
// every tick from the file's time marks.

#include <string>
#include <string_view>

#include "export/export_table.h"
#include "report/survey_data.h"

namespace quelor {

// `name` is how the report calls the file. The readings are read by the
// export's walk of the records, without its table of values; the table
// returned (no rows: its warnings, zone, track) or why the bytes are no
// survey data file, the survey then left as it was.
ExportTableResult add_survey_file(SurveyData& survey, const std::string& name, std::string_view bytes,
                                  const ExportOptions& options);

// The local time of day of a tick from the time mark before it ('*' records:
// "hh:mm:ss.mmm" and the tick they were written at).
struct TimeMark {
  std::uint32_t tick = 0;
  double seconds = 0.0;
};
double time_at_tick(const TimeMark& mark, std::uint32_t tick);

}  // namespace quelor
