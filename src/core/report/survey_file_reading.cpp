#include "report/survey_file_reading.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <span>

#include "background/replot.h"
#include "background/survey_file.h"
#include "datafile/record_cursor.h"
#include "gps/units.h"

namespace quelor {

namespace {

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return std::string(s);
}

std::optional<double> mark_seconds(std::string_view rec) {
  // "*hh:mm:ss.mmm"
  if (rec.size() < 13 || rec[3] != ':' || rec[6] != ':') return std::nullopt;
  const std::string t(rec.substr(1, 12));
  return std::atoi(t.substr(0, 2).c_str()) * 3600.0 + std::atoi(t.substr(3, 2).c_str()) * 60.0 +
         std::atof(t.substr(6).c_str());
}

// The time marks of the file in order, for the readings and fixes of the
// export table (which are in file order too).
class MarkClock {
 public:
  void add(TimeMark m) { marks_.push_back(m); }
  // Ticks of one file only grow: the mark in effect moves forward only.
  double at(std::uint32_t tick) {
    while (next_ < marks_.size() && marks_[next_].tick <= tick) ++next_;
    return next_ == 0 ? kNoTime : time_at_tick(marks_[next_ - 1], tick);
  }
  void restart() { next_ = 0; }

 private:
  std::vector<TimeMark> marks_;
  std::size_t next_ = 0;
};

struct SwathScan {
  double metres_per_unit = 1.0;
  bool open = false;
  struct Kind {
    std::array<double, 4> corners{};
    int parts = 0;
    bool has_previous = false;
    PlanePoint left, right;
  };
  std::array<Kind, 3> kinds{};

  void reset(bool now_open) {
    open = now_open;
    for (Kind& k : kinds) k = Kind{};
  }

  void corner(SurveyData& s, std::string_view rec, int index) {
    Kind& k = kinds[static_cast<std::size_t>(index / 4)];
    const int part = index % 4;
    if (part == 0) k.parts = 0;
    k.corners[static_cast<std::size_t>(part)] = std::atof(std::string(rec.substr(2)).c_str()) * metres_per_unit;
    k.parts |= 1 << part;
    if (part != 3 || k.parts != 0xF) return;
    if (!open) reset(true);
    const PlanePoint left{k.corners[0], k.corners[1]}, right{k.corners[2], k.corners[3]};
    s.swath_widths.push_back(std::hypot(right.easting - left.easting, right.northing - left.northing));
    if (k.has_previous) s.swaths.push_back({k.left, k.right, right, left});
    k.left = left;
    k.right = right;
    k.has_previous = true;
  }
};

// 'Z' and "ddmmyyyy": the line block's date.
bool is_date_record(const DataRecord& r) {
  const std::string_view rec = r.body();
  if (r.tag != 'Z' || r.kind != RecordKind::kLineBlock || rec.size() < 9) return false;
  for (std::size_t i = 1; i < 9; ++i)
    if (!digit_at(rec, i)) return false;
  return true;
}

// The survey as it was before a file's readings from `first_line` on.
void forget_readings(SurveyData& s, int first_line, std::size_t first_position) {
  s.line_readings.resize(std::min(s.line_readings.size(), static_cast<std::size_t>(first_line)));
  s.positions.resize(first_position);
  while (!s.position_lines.empty() && s.position_lines.back().first >= first_position) s.position_lines.pop_back();
}

}  // namespace

double time_at_tick(const TimeMark& mark, std::uint32_t tick) {
  return mark.seconds + static_cast<double>(tick - mark.tick) / 1000.0;
}

ExportTableResult add_survey_file(SurveyData& survey, const std::string& name, std::string_view bytes,
                                  const ExportOptions& options) {
  const DataFile file = open_data_file(bytes);
  if (file.record_length < 13) return build_export_table(bytes, options);  // says why
  const auto info = read_survey_file_info(bytes);
  SwathScan swaths;
  swaths.metres_per_unit = metres_per_unit(info ? info->map_units : 0);
  MarkClock clock;
  std::optional<TimeMark> mark;
  RecordCursor cursor = record_cursor(file);
  while (const auto r = next_record(cursor)) {
    const std::string_view rec = r->body();
    const char tag = r->tag;
    if (r->kind == RecordKind::kTimeMark) {
      if (const auto seconds = mark_seconds(rec)) {
        mark = TimeMark{r->tick.value_or(0), *seconds};
        clock.add(*mark);
      }
    } else if (survey.date.empty() && is_date_record(*r)) {
      const std::string d(rec.substr(1, 8));
      survey.date = d.substr(0, 2) + "." + d.substr(2, 2) + "." + d.substr(4);
    } else if (tag == 'X' || tag == 'C') {
      const std::uint32_t tick = r->tick.value_or(0);
      survey.remarks.push_back({name, tag, trimmed(rec.substr(1, 11)), mark ? time_at_tick(*mark, tick) : kNoTime});
    }
    const int index = swath_letter_index(rec);
    if (index == -1)
      swaths.reset(true);
    else if (index >= 0)
      swaths.corner(survey, rec, index);
    else if (swath_closing_record(rec))
      swaths.reset(false);
  }

  // Readings, each given its line block's line and its local time, folded
  // into their lines once their path segment's positions are known.
  const int first_line = static_cast<int>(survey.lines.size());
  const std::size_t first_position = survey.positions.size();
  struct Pending {
    int line = 0;
    double time = kNoTime;
  };
  std::vector<Pending> pending;  // of the path segment being read
  std::size_t placed = 0;
  const auto place = [&](const Pending& p, const std::optional<PathPosition>& at) {
    SurveyReading reading;
    reading.line = p.line;
    reading.time = p.time;
    if (at) {
      reading.positioned = true;
      reading.position = {at->easting, at->northing};
    }
    add_reading(survey, reading);
  };
  std::vector<std::string> names(1);                  // of each line block, in order
  std::vector<std::pair<std::uint32_t, int>> starts;  // first tick of each line block, in order
  clock.restart();
  ReadingVisitor visitor;
  visitor.reading = [&](const ReadingHead& h, const DecodeContext&, std::string_view) {
    const std::size_t block = static_cast<std::size_t>(std::max(h.line_block, 1));
    if (names.size() < block) names.resize(block);
    if (h.line_block >= 1) names[block - 1] = h.line;
    const int line = first_line + static_cast<int>(block) - 1;
    if (starts.empty() || starts.back().second != line) starts.push_back({h.tick, line});
    pending.push_back({line, clock.at(h.tick)});
  };
  visitor.positions = [&](std::span<const std::optional<PathPosition>> at) {
    for (std::size_t i = 0; i < at.size() && placed < pending.size(); ++i) place(pending[placed++], at[i]);
    if (placed == pending.size()) {
      pending.clear();
      placed = 0;
    }
  };
  ExportTableResult result = walk_survey_readings(bytes, options, visitor);
  if (!result.table) {
    forget_readings(survey, first_line, first_position);
    return result;
  }
  // A reading whose position never came counts, without one.
  while (placed < pending.size()) place(pending[placed++], std::nullopt);
  for (const std::string& n : names) survey.lines.push_back({name, n});
  survey.line_readings.resize(survey.lines.size());

  int segment = 0;
  for (const SurveyFix& f : survey.fixes) segment = std::max(segment, f.segment + 1);
  clock.restart();
  std::size_t line_at = 0;
  for (const std::vector<PathFix>& track : result.table->track) {
    for (const PathFix& p : track) {
      while (line_at + 1 < starts.size() && starts[line_at + 1].first <= p.tick) ++line_at;
      SurveyFix f;
      f.line = starts.empty() ? first_line : starts[line_at].second;
      f.segment = segment;
      f.position = {p.easting, p.northing};
      f.quality = p.quality;
      f.satellites = p.satellites;
      f.dilution = p.dilution;
      f.time_of_day = p.time_of_day;
      f.time = clock.at(p.tick);
      survey.fixes.push_back(f);
    }
    ++segment;
  }
  return result;
}

}  // namespace quelor
