#pragma once
// A survey as the end-of-day report reads it: lines, positioned readings,
// GPS fixes, remarks and swath outlines of one or more data files, all in
// metres and local time of day, so that a day's files add up.

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
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

struct SurveyReading {
  int line = 0;             // index into `lines`
  bool positioned = false;  // a position was interpolated
  PlanePoint position;
  double time = kNoTime;  // local seconds since midnight
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
  std::vector<SurveyReading> readings;
  std::vector<SurveyFix> fixes;
  std::vector<SurveyRemark> remarks;
  std::vector<SwathQuad> swaths;
  std::vector<double> swath_widths;          // length of each swath cross-line
  std::string date;                          // "dd.mm.yyyy" of the first line block
  std::vector<std::string> truncated_files;  // files whose last record is cut off
};

// Local time "hh:mm:ss", or "-" for no time.
std::string clock_text(double seconds);

}  // namespace quelor
