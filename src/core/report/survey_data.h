#pragma once
// A survey as the end-of-day report reads it: lines, GPS fixes, remarks and
// swath outlines of one or more data files, all in metres and local time of
// day, so that a day's files add up. Readings are not kept one by one: each
// is folded into its line's running summary as it is read (add_reading),
// and only positions stay, for the coverage: every run of a line's
// positioned readings keeps its first and last position and, between
// them, none within `kKeptPositionStep` of the one kept before it (so that
// they grow with the ground walked, not with the reading rate).

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace quelor {

inline constexpr double kNoTime = std::numeric_limits<double>::quiet_NaN();

struct PlanePoint {
  double easting = 0.0;  // metres
  double northing = 0.0;
};

struct SurveyLine {
  std::string file;  // the data file's name
  std::string name;  // the line name of its line block
};

// One reading as it is folded in.
struct SurveyReading {
  int line = 0;             // index into `lines`
  bool positioned = false;  // a position was interpolated
  PlanePoint position;
  double time = kNoTime;  // local seconds since midnight
};

// Steps between positioned readings further apart in time than this are not
// walked (a pause, a break); nor do runs without a position go on across them.
inline constexpr double kLineStepGap = 5.0;

// Metres: every positioned reading lies within this of a kept position.
inline constexpr double kKeptPositionStep = 0.1;

// A run of a line's readings logged without a position.
struct GpsOutage {
  double start = kNoTime;  // local time of its first and last reading without a position
  double end = kNoTime;
  long readings = 0;
};

// One line's readings, summed up in file order.
struct LineReadings {
  long readings = 0;
  long positioned = 0;
  double length = 0.0;                          // metres, between consecutive positioned readings walked
  double start = kNoTime, end = kNoTime;        // local time of its first and last timed reading
  double earliest = kNoTime, latest = kNoTime;  // the smallest and largest of its times
  std::vector<GpsOutage> outages;               // broken where the logging paused
  std::optional<SurveyReading> last, last_positioned;
};

// The positioned readings from `first` (into SurveyData::positions) on are of `line`.
struct PositionRun {
  std::size_t first = 0;
  int line = 0;
};

struct SurveyFix {
  int line = 0;
  int segment = 0;  // path segment: speeds only between fixes of one
  PlanePoint position;
  int quality = 0;
  int satellites = 0;
  double dilution = 0.0;
  double time_of_day = 0.0;  // of the sentence, as the live speed uses it
  double time = kNoTime;     // local
};

struct SurveyRemark {
  std::string file;
  char tag = 'X';  // 'X' program remark, 'C' operator comment
  std::string text;
  double time = kNoTime;
};

// One footprint between two consecutive swath cross-lines, corners in order
// around it.
using SwathQuad = std::array<PlanePoint, 4>;

struct SurveyData {
  std::vector<SurveyLine> lines;
  std::vector<LineReadings> line_readings;  // per line; lines past its end have no reading
  std::vector<PlanePoint> positions;        // kept of the positioned readings, in order
  std::vector<PositionRun> position_lines;  // whose they are
  std::vector<SurveyFix> fixes;
  std::vector<SurveyRemark> remarks;
  std::vector<SwathQuad> swaths;
  std::vector<double> swath_widths;          // length of each swath cross-line
  std::string date;                          // "dd.mm.yyyy" of the first line block
  std::vector<std::string> truncated_files;  // files whose last record is cut off
};

// Folds one reading into its line's summary (the line's entry made as needed).
void add_reading(SurveyData& survey, const SurveyReading& reading);

long reading_count(const SurveyData& survey);
long positioned_count(const SurveyData& survey);

// Local time "hh:mm:ss", or "-" for no time.
std::string clock_text(double seconds);

}  // namespace quelor
