#include "report/verdict.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

#include "report/remarks.h"

namespace quelor {

namespace {

std::string text_of(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

bool several_files(const SurveyData& s) {
  return std::any_of(s.lines.begin(), s.lines.end(), [&](const SurveyLine& l) { return l.file != s.lines[0].file; });
}

// The two lines whose positioned readings come nearest the point, in line order.
std::vector<int> nearest_lines(const SurveyData& s, PlanePoint p) {
  std::vector<double> best(s.lines.size(), std::numeric_limits<double>::infinity());
  for (std::size_t run = 0; run < s.position_lines.size(); ++run) {
    const std::size_t end = run + 1 < s.position_lines.size() ? s.position_lines[run + 1].first : s.positions.size();
    double& b = best[static_cast<std::size_t>(s.position_lines[run].line)];
    for (std::size_t i = s.position_lines[run].first; i < end; ++i)
      b = std::min(b, std::hypot(s.positions[i].easting - p.easting, s.positions[i].northing - p.northing));
  }
  std::vector<int> order;
  for (std::size_t i = 0; i < best.size(); ++i)
    if (std::isfinite(best[i])) order.push_back(static_cast<int>(i));
  std::sort(order.begin(), order.end(),
            [&](int a, int b) { return best[static_cast<std::size_t>(a)] < best[static_cast<std::size_t>(b)]; });
  if (order.size() > 2) order.resize(2);
  std::sort(order.begin(), order.end());  // named in line order: a gap midway has no nearer side
  return order;
}

std::string gap_text(const SurveyData& s, const CoverageGap& g, std::size_t number) {
  std::string t = text_of("gap %zu: %.0f x %.0f m (%.0f sq m) at E %.1f N %.1f", number, g.high.easting - g.low.easting,
                          g.high.northing - g.low.northing, g.area, g.centre.easting, g.centre.northing);
  const std::vector<int> near = nearest_lines(s, g.centre);
  if (near.size() == 2)
    t += ", between line " + line_label(s, near[0]) + " and line " + line_label(s, near[1]);
  else if (near.size() == 1)
    t += ", beside line " + line_label(s, near[0]);
  return t;
}

bool starts_logging(const SurveyRemark& r) { return r.tag == 'X' && r.text.starts_with("$STARTED"); }
bool ends_logging(const SurveyRemark& r) {
  return r.tag == 'X' && (r.text.starts_with("PAUSED") || r.text.starts_with("$CONN END"));
}

void add_line_flags(Verdict& v, const SurveyData& s, const std::vector<LineFlags>& flags) {
  std::size_t outages = 0;
  for (const LineFlags& f : flags) {
    const std::string line = "line " + line_label(s, f.line);
    if (f.fast)
      v.findings.push_back(text_of("%s: walked above the speed bar's maximum %.0f%% of the time", line.c_str(),
                                   100.0 * f.seconds_fast / f.seconds_timed));
    if (f.sparse) v.findings.push_back(line + ": too few readings per metre");
    if (f.poor_gps)
      v.findings.push_back(
          text_of("%s: %ld of %ld fixes below the GPS warning mask (quality %d, %d satellites, HDOP %.1f)",
                  line.c_str(), f.poor_fixes, f.fixes, f.worst_quality, f.fewest_satellites, f.worst_dilution));
    for (const GpsOutage& o : f.outages) {
      if (++outages > kVerdictGaps) continue;
      v.findings.push_back(text_of("%s: GPS outage %s-%s (%ld readings without a position)", line.c_str(),
                                   clock_text(o.start).c_str(), clock_text(o.end).c_str(), o.readings));
    }
  }
  if (outages > kVerdictGaps) v.findings.push_back(text_of("%zu more GPS outages", outages - kVerdictGaps));
}

}  // namespace

std::vector<std::string> files_ending_while_logging(const SurveyData& s) {
  std::vector<std::pair<std::string, bool>> logging;  // per file in order: a start not yet paused
  for (const SurveyRemark& r : s.remarks) {
    if (logging.empty() || logging.back().first != r.file) logging.push_back({r.file, false});
    if (starts_logging(r)) logging.back().second = true;
    if (ends_logging(r)) logging.back().second = false;
  }
  std::vector<std::string> out;
  for (const auto& [file, open] : logging)
    if (open) out.push_back(file);
  return out;
}

std::string line_label(const SurveyData& s, int line) {
  const SurveyLine& l = s.lines[static_cast<std::size_t>(line)];
  const std::string name = l.name.empty() ? "(unnamed)" : l.name;
  return several_files(s) ? l.file + " " + name : name;
}

Verdict survey_verdict(const SurveyData& s, const std::vector<LineSummary>& lines, const Coverage& coverage,
                       const std::vector<LineFlags>& flags) {
  Verdict v;
  for (const std::string& f : s.truncated_files) v.findings.push_back("file " + f + ": its last record is cut off");
  for (const std::string& f : files_ending_while_logging(s))
    v.findings.push_back("file " + f + " ends while logging (no pause after the last start): it may be cut off");
  const bool positioned = positioned_count(s) > 0;
  if (reading_count(s) == 0)
    v.findings.push_back("no readings");
  else if (!positioned)
    v.findings.push_back("no reading has a position");
  else if (!coverage.known)
    v.findings.push_back(s.swath_widths.empty() ? "coverage unknown: no swath outline logged"
                                                : "coverage unknown: the positions span no area");
  for (std::size_t i = 0; i < coverage.gaps.size() && i < kVerdictGaps; ++i)
    v.findings.push_back(gap_text(s, coverage.gaps[i], i + 1));
  if (coverage.gaps.size() > kVerdictGaps)
    v.findings.push_back(text_of("%zu more gaps", coverage.gaps.size() - kVerdictGaps));
  for (const LineSummary& l : lines) {
    const long missing = l.readings - l.positioned;
    if (positioned && missing > 0 &&
        static_cast<double>(missing) > kUnpositionedShare * static_cast<double>(l.readings))
      v.findings.push_back(text_of("line %s: %ld of %ld readings without a position", line_label(s, l.line).c_str(),
                                   missing, l.readings));
  }
  add_line_flags(v, s, flags);
  long lost = 0;
  for (const SurveyRemark& r : s.remarks) lost += r.tag == 'X' ? lost_readings(r.text) : 0;
  if (lost > 0) v.findings.push_back(text_of("%ld readings lost", lost));
  v.complete = v.findings.empty();
  if (v.complete) {
    v.text = "complete";
    return v;
  }
  v.text = "incomplete: ";
  for (std::size_t i = 0; i < v.findings.size(); ++i) v.text += (i ? "; " : "") + v.findings[i];
  return v;
}

}  // namespace quelor
