#pragma once
// How long the crew walked at each speed, against the speed bar's maximum:
// the time between consecutive fixes of a line, in equal bins from 0 to the
// maximum and one bin above it.

#include <vector>

#include "report/survey_data.h"

namespace quelor {

struct SpeedHistogram {
  double maximum = 5.0;         // the speed bar's full scale, in `unit` per second
  std::vector<double> seconds;  // `bins` bins over 0..maximum, then one above the maximum
  double total = 0.0;           // seconds
  double above_share() const { return total > 0 ? seconds.back() / total : 0.0; }
};

// `to_bar_units` turns metres per second into the speed bar's unit.
SpeedHistogram speed_histogram(const SurveyData& survey, double maximum, int bins, double to_bar_units);

// The GPS quality over time, in at most `buckets` time buckets, each with
// its worst values (lowest quality and satellite count, highest dilution).
struct GpsQualityPoint {
  double time = 0.0;  // local, the bucket's first fix
  int quality = 0;
  int satellites = 0;
  double dilution = 0.0;
};
std::vector<GpsQualityPoint> gps_quality_series(const SurveyData& survey, int buckets);

}  // namespace quelor
