#include "export/export_table.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "datafile/naming.h"
#include "datafile/record_layout.h"
#include "gps/formats.h"
#include "gps/parser.h"
#include "gps/survey_zone.h"
#include "reading/reading_meaning.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

double number_at(std::string_view rec, std::size_t first, std::size_t count) {
  if (first >= rec.size()) return 0.0;
  return std::atof(std::string(rec.substr(first, count)).c_str());
}

int digit_at(std::string_view rec, std::size_t i) {
  return i < rec.size() && std::isdigit(static_cast<unsigned char>(rec[i])) ? rec[i] - '0' : 0;
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return std::string(s);
}

bool is_identification(std::string_view rec) {
  if (rec.size() < 12) return false;
  const std::string_view start = rec.substr(1, 2);
  if (start != "LK" && start != "YN") return false;
  for (std::size_t i = 9; i < 12; ++i)
    if (!std::isdigit(static_cast<unsigned char>(rec[i]))) return false;
  return variant_of_program_code(rec.substr(0, 9)).has_value();
}

struct Reader {
  explicit Reader(const ExportOptions& o) : options(o) {}
  const ExportOptions& options;
  ExportTable table;
  int length = 0;
  DecodeContext decode;
  ConstantRecordState constants;
  FormatTable format = make_format_table(kFormatGga, false);
  SurveyZone zone;
  int header_g_records = -1;  // 'G' records seen since the identification record
  std::string line;
  int line_block = 0;
  double station = 0.0, increment = 1.0;
  bool station_advance = false;
  std::string sentence;       // '@' and '#' pieces of the sentence being read
  bool in_sentence = false;
  std::vector<PathEvent> events;

  void header(std::string_view rec) {
    // A continued file's header may change the set-up; the constants that
    // follow it are read by apply_constant_record. Another instrument's
    // header (a file pasted onto this one) leaves the decoding and the
    // columns as this file's first header set them.
    const auto c = decode_context_from_file(rec, Settings{});
    if (c && c->instrument_type == table.variant.instrument_type) decode = *c;
    header_g_records = 0;
    events.push_back({PathEventKind::kBreak});
  }

  void g_record(std::string_view rec) {
    if (header_g_records < 0) return;
    ++header_g_records;
    if (header_g_records == 1) {
      const int sentence_index = rec[17] == 'A' ? kFormatPseudoGll : digit_at(rec, 19);
      format = make_format_table(sentence_index, digit_at(rec, 18) == 1);
    } else if (header_g_records == 2 && options.zone == kAutomaticZone && !zone.fixed && zone.setting == kAutomaticZone) {
      const int z = digit_at(rec, 16) * 10 + digit_at(rec, 17);
      if (z >= 1 && z <= 60) zone = make_survey_zone(z);
    }
  }

  void gps_summary(std::uint32_t tick) {
    if (!in_sentence) return;
    in_sentence = false;
    while (!sentence.empty() && sentence.back() == ' ') sentence.pop_back();
    if (sentence.find(format.sentence_name) == std::string::npos) return;
    GpsFix fix = parse_gps_fix(sentence, format, FixOptions{});
    if (!fix.valid) return;
    PathFix f;
    f.tick = tick;
    f.quality = fix.quality;
    f.satellites = fix.satellites;
    f.dilution = fix.dilution;
    f.time_of_day = fix.time_of_day;
    if (fix.geographic) {
      project_fix(zone, fix);
      table.zone = fix.zone;
      f.geographic = true;
      f.latitude = fix.latitude;
      f.longitude = fix.longitude;
    }
    f.easting = fix.easting;
    f.northing = fix.northing;
    events.push_back({PathEventKind::kFix, tick, f});
  }

  void reading(std::string_view rec, std::uint32_t tick) {
    if (station_advance) station += increment;
    station_advance = true;
    ExportRow row;
    row.line = line;
    row.line_block = line_block;
    row.station = station;
    row.tick = tick;
    row.values = reading_values(decode, rec.substr(0, reading_body_length(length)));
    table.rows.push_back(std::move(row));
    events.push_back({PathEventKind::kReading, tick});
  }

  void record(std::string_view rec) {
    if (is_identification(rec)) return header(rec);
    const char tag = rec[0];
    const std::uint32_t tick = static_cast<std::uint32_t>(std::strtoul(
        std::string(rec.substr(static_cast<std::size_t>(length - 11), 10)).c_str(), nullptr, 10));
    apply_constant_record(decode, constants, rec);
    if (tag != 'G' && tag != 'H') header_g_records = -1;
    if (is_instrument_letter(table.variant.instrument_type, tag)) return reading(rec, tick);
    switch (tag) {
      case 'G': g_record(rec); break;
      case 'L':
        line = trimmed(rec.substr(1, 12));
        ++line_block;
        events.push_back({PathEventKind::kBreak});
        break;
      case 'B':
        station = number_at(rec, 1, 11);
        station_advance = false;
        break;
      case 'A': increment = number_at(rec, 8, 11); break;
      case 'S':
        station = number_at(rec, 1, 11);
        station_advance = false;
        break;
      case 'X': events.push_back({PathEventKind::kBreak}); break;
      case '@':
        sentence.assign(rec.substr(1, static_cast<std::size_t>(length - 2)));
        in_sentence = true;
        break;
      case '#':
        if (in_sentence) sentence.append(rec.substr(1, static_cast<std::size_t>(length - 2)));
        break;
      case '?': in_sentence = false; break;
      case '!': gps_summary(tick); break;
      default: break;
    }
  }

  void keep_columns_with_values() {
    std::vector<bool> used(table.columns.size(), false);
    bool any = false;
    for (const ExportRow& r : table.rows)
      for (std::size_t i = 0; i < used.size() && i < r.values.size(); ++i)
        if (!r.values[i].empty()) used[i] = any = true;
    if (!any) return;
    std::vector<ValueColumn> columns;
    for (std::size_t i = 0; i < used.size(); ++i)
      if (used[i]) columns.push_back(table.columns[i]);
    for (ExportRow& r : table.rows) {
      std::vector<std::string> values;
      for (std::size_t i = 0; i < used.size() && i < r.values.size(); ++i)
        if (used[i]) values.push_back(std::move(r.values[i]));
      r.values = std::move(values);
    }
    table.columns = std::move(columns);
  }

  void finish() {
    const std::vector<std::optional<PathPosition>> positions = interpolate_readings(events);
    for (std::size_t i = 0; i < positions.size() && i < table.rows.size(); ++i) table.rows[i].position = positions[i];
    table.track.emplace_back();
    for (const PathEvent& e : events) {
      if (e.kind == PathEventKind::kBreak && !table.track.back().empty()) table.track.emplace_back();
      if (e.kind == PathEventKind::kFix) table.track.back().push_back(e.fix);
    }
    if (table.track.back().empty()) table.track.pop_back();
    keep_columns_with_values();
  }
};

}  // namespace

ExportTableResult build_export_table(std::string_view bytes, const ExportOptions& options) {
  ExportTableResult result;
  const std::size_t lf = bytes.find('\n');
  if (lf == std::string_view::npos || bytes.size() < 12) {
    result.error = "not a survey data file (no record)";
    return result;
  }
  Reader reader(options);
  reader.length = static_cast<int>(lf + 1);
  const std::string_view first = bytes.substr(0, lf + 1);
  if (!is_identification(first)) {
    result.error = "not a survey data file (the first record is no header)";
    return result;
  }
  reader.table.variant = *variant_of_program_code(first.substr(0, 9));
  reader.table.program_code = std::string(first.substr(0, 9));
  if (record_length(reader.table.variant) != reader.length) {
    result.error = format_text("record length %d does not match the program code %s", reader.length,
                               reader.table.program_code.c_str());
    return result;
  }
  reader.zone = make_survey_zone(options.zone);
  reader.table.columns = reading_value_columns(reader.table.variant.instrument_type, options.height_m);
  const std::size_t l = static_cast<std::size_t>(reader.length);
  for (std::size_t at = 0; at + l <= bytes.size(); at += l) reader.record(bytes.substr(at, l));
  if (bytes.size() % l != 0)
    reader.table.warnings.push_back(format_text("the last record is truncated (%d of %d bytes) and was skipped",
                                                static_cast<int>(bytes.size() % l), reader.length));
  reader.finish();
  result.table = std::move(reader.table);
  return result;
}

}  // namespace quelor
