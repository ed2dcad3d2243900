#include "report/speed_histogram.h"

#include <algorithm>
#include <cmath>

#include "report/line_table.h"

namespace quelor {

SpeedHistogram speed_histogram(const SurveyData& survey, double maximum, int bins, double to_bar_units) {
  SpeedHistogram h;
  h.maximum = maximum > 0 ? maximum : 5.0;
  bins = std::max(bins, 1);
  h.seconds.assign(static_cast<std::size_t>(bins) + 1, 0.0);
  for (std::size_t i = 1; i < survey.fixes.size(); ++i) {
    const auto step = fix_step(survey.fixes[i - 1], survey.fixes[i]);
    if (!step) continue;
    const double speed = step->speed() * to_bar_units;
    const double at = std::floor(speed / h.maximum * bins);
    const std::size_t bin = at >= bins ? static_cast<std::size_t>(bins) : static_cast<std::size_t>(std::max(at, 0.0));
    h.seconds[bin] += step->seconds;
    h.total += step->seconds;
  }
  return h;
}

std::vector<GpsQualityPoint> gps_quality_series(const SurveyData& survey, int buckets) {
  std::vector<GpsQualityPoint> out;
  std::vector<const SurveyFix*> timed;
  for (const SurveyFix& f : survey.fixes)
    if (std::isfinite(f.time)) timed.push_back(&f);
  if (timed.empty() || buckets < 1) return out;
  std::stable_sort(timed.begin(), timed.end(),
                   [](const SurveyFix* a, const SurveyFix* b) { return a->time < b->time; });
  const double first = timed.front()->time;
  const double span = std::max(timed.back()->time - first, 1e-9);
  int bucket = -1;
  for (const SurveyFix* f : timed) {
    const int b = std::min(buckets - 1, static_cast<int>((f->time - first) / span * buckets));
    if (b != bucket) {
      out.push_back({f->time, f->quality, f->satellites, f->dilution});
      bucket = b;
      continue;
    }
    GpsQualityPoint& p = out.back();
    p.quality = std::min(p.quality, f->quality);
    p.satellites = std::min(p.satellites, f->satellites);
    p.dilution = std::max(p.dilution, f->dilution);
  }
  return out;
}

}  // namespace quelor
