#include "export/export_table.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "datafile/file_header.h"
#include "datafile/naming.h"
#include "datafile/record_cursor.h"
#include "datafile/record_layout.h"
#include "datafile/stored_gps.h"
#include "gps/formats.h"
#include "gps/parser.h"
#include "gps/survey_zone.h"
#include "reading/reading_meaning.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

// Warnings of positions not used, one by one up to this many, then counted.
constexpr int kListedGpsWarnings = 10;
// Readings handed their positions at a time.
constexpr std::size_t kPositionBlock = 4096;

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return std::string(s);
}

struct Reader {
  Reader(const ExportOptions& o, const ReadingVisitor& v) : options(o), visitor(v) {}
  const ExportOptions& options;
  const ReadingVisitor& visitor;
  ExportTable table;
  int length = 0;
  DecodeContext decode;
  ConstantRecordState constants;
  FormatTable format = make_format_table(kFormatGga, false);
  SurveyZone zone;
  std::string line;
  int line_block = 0;
  double station = 0.0, increment = 1.0;
  bool station_advance = false;
  SentenceAssembly sentences;
  FixJumpScreen jumps;
  int unused_positions = 0;
  bool columns_named = false, columns_raw_inphase = false;
  // The path segment being read: its fixes in file order, its readings' ticks.
  std::vector<PathFix> fixes;
  std::vector<std::uint32_t> ticks;

  // A continued file's header may change the set-up; the constants that
  // follow it are read by apply_constant_record. Another instrument's
  // header (a file pasted onto this one) leaves the decoding and the
  // columns as this file's first header set them.
  void header(const FileHeader& h) {
    if (h.variant.instrument_type == table.variant.instrument_type) set_decoding(h);
    if (h.has_g3) format = make_format_table(h.fields.gps_sentence, h.fields.pseudo_gga_variant == 1);
    const int z = h.fields.reference_zone;
    if (h.has_g4 && options.zone == kAutomaticZone && !zone.fixed && zone.setting == kAutomaticZone && z >= 1 &&
        z <= 60)
      zone = make_survey_zone(z);
    jumps = FixJumpScreen{};  // another session: another clock
    end_segment();
  }

  // The first header names the columns (the in-phase units among them); a
  // continued survey's header in other units is said, not silently mixed in.
  void set_decoding(const FileHeader& h) {
    decode = decode_context_from_header(h, Settings{});
    if (!columns_named) {
      table.columns = reading_value_columns(decode, options.height_m);
      columns_raw_inphase = decode.em38_4_raw_inphase;
      columns_named = true;
    } else if (decode.em38_4_raw_inphase != columns_raw_inphase) {
      table.warnings.push_back(
          format_text("a continued survey's header changes the in-phase units to %s; its "
                      "readings are exported under the first header's column names",
                      decode.em38_4_raw_inphase ? "mS/m" : "ppt"));
    }
  }

  void position_not_used(long record, const std::string& why) {
    if (++unused_positions <= kListedGpsWarnings)
      table.warnings.push_back(format_text("record %ld: %s; its position is not used", record, why.c_str()));
  }

  void gps_sentence(const StoredSentence& s) {
    if (!s.summarised || s.text.find(format.sentence_name) == std::string::npos) return;
    if (const StoredSentenceCheck c = check_stored_sentence(s.text, format); c != StoredSentenceCheck::kOk)
      return position_not_used(s.record, std::string(stored_sentence_problem(c)));
    GpsFix fix = parse_gps_fix(s.text, format, FixOptions{});
    if (!fix.valid) return;
    if (const auto jump = screen_fix(jumps, fix, s.tick))
      return position_not_used(s.record,
                               format_text("GPS position jumps %.0f m in %.1f s", jump->metres, jump->seconds));
    const std::uint32_t tick = s.tick;
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
    fixes.push_back(f);
  }

  void reading(std::string_view rec, std::uint32_t tick) {
    if (station_advance) station += increment;
    station_advance = true;
    visitor.reading({line, line_block, station, tick, table.columns}, decode,
                    rec.substr(0, reading_body_length(length)));
    ticks.push_back(tick);
  }

  // A path segment ends: its readings' positions go to the visitor, a
  // block at a time, its fixes to the track.
  void end_segment() {
    if (table.track.empty()) table.track.emplace_back();
    table.track.back().insert(table.track.back().end(), fixes.begin(), fixes.end());
    if (!table.track.back().empty()) table.track.emplace_back();
    sort_by_tick(fixes);
    std::vector<std::optional<PathPosition>> positions;
    for (std::size_t begin = 0; begin < ticks.size(); begin += kPositionBlock) {
      const std::size_t end = std::min(ticks.size(), begin + kPositionBlock);
      positions.clear();
      for (std::size_t i = begin; i < end; ++i) positions.push_back(position_at(fixes, ticks[i]));
      visitor.positions(positions);
    }
    fixes.clear();
    ticks.clear();
  }

  void record(const DataRecord& r) {
    if (auto s = feed_sentence(sentences, r)) gps_sentence(*s);
    const std::string_view rec = r.bytes;
    apply_constant_record(decode, constants, rec);
    if (r.kind == RecordKind::kReading || r.kind == RecordKind::kMarker) return reading(rec, r.tick.value_or(0));
    switch (r.tag) {
      case 'L':
        line = trimmed(rec.substr(1, 12));
        ++line_block;
        end_segment();
        break;
      case 'B':
        station = number_at(rec, 1, 11).value_or(0.0);
        station_advance = false;
        break;
      case 'A': increment = number_at(rec, 8, 11).value_or(0.0); break;
      case 'S':
        station = number_at(rec, 1, 11).value_or(0.0);
        station_advance = false;
        break;
      case 'X': end_segment(); break;
      default: break;
    }
  }

  void finish() {
    if (auto s = finish_sentence(sentences)) gps_sentence(*s);
    if (unused_positions > kListedGpsWarnings)
      table.warnings.push_back(
          format_text("%d more GPS positions are not used", unused_positions - kListedGpsWarnings));
    end_segment();
    if (!table.track.empty() && table.track.back().empty()) table.track.pop_back();
  }
};

void keep_columns_with_values(ExportTable& table) {
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
    std::vector<std::optional<double>> numbers;
    for (std::size_t i = 0; i < used.size() && i < r.values.size(); ++i) {
      if (!used[i]) continue;
      values.push_back(std::move(r.values[i]));
      numbers.push_back(r.numbers[i]);
    }
    r.values = std::move(values);
    r.numbers = std::move(numbers);
  }
  table.columns = std::move(columns);
}

}  // namespace

ExportTableResult walk_survey_readings(std::string_view bytes, const ExportOptions& options,
                                       const ReadingVisitor& visitor) {
  ExportTableResult result;
  const DataFile file = open_data_file(bytes);
  if (file.record_length == 0 || bytes.size() < 12) {
    result.error = "not a survey data file (no record)";
    return result;
  }
  if (!file.variant) {
    result.error = "not a survey data file (the first record is no header)";
    return result;
  }
  Reader reader(options, visitor);
  reader.length = file.record_length;
  reader.table.variant = *file.variant;
  reader.table.program_code = std::string(bytes.substr(0, 9));
  if (record_length(reader.table.variant) != reader.length) {
    result.error = format_text("record length %d does not match the program code %s", reader.length,
                               reader.table.program_code.c_str());
    return result;
  }
  reader.zone = make_survey_zone(options.zone);
  reader.decode.instrument_type = reader.table.variant.instrument_type;
  reader.table.columns = reading_value_columns(reader.decode, options.height_m);  // a header renames them
  RecordCursor cursor = record_cursor(file);
  for (RecordCursor at = cursor; const auto r = next_record(cursor); at = cursor) {
    if (r->kind == RecordKind::kIdentification)
      if (const auto h = read_file_header(at)) reader.header(*h);
    reader.record(*r);
  }
  if (file.trailing_bytes() != 0)
    reader.table.warnings.push_back(format_text("the last record is truncated (%d of %d bytes) and was skipped",
                                                static_cast<int>(file.trailing_bytes()), reader.length));
  reader.finish();
  result.table = std::move(reader.table);
  return result;
}

ExportTableResult build_export_table(std::string_view bytes, const ExportOptions& options) {
  std::vector<ExportRow> rows;
  std::size_t positioned = 0;
  ReadingVisitor visitor;
  visitor.reading = [&](const ReadingHead& head, const DecodeContext& decode, std::string_view body) {
    ExportRow row;
    row.line = head.line;
    row.line_block = head.line_block;
    row.station = head.station;
    row.tick = head.tick;
    ReadingCells cells = reading_cells(decode, body);
    row.values = std::move(cells.values);
    row.numbers = std::move(cells.numbers);
    rows.push_back(std::move(row));
  };
  visitor.positions = [&](std::span<const std::optional<PathPosition>> positions) {
    for (const auto& p : positions) rows[positioned++].position = p;
  };
  ExportTableResult result = walk_survey_readings(bytes, options, visitor);
  if (!result.table) return result;
  result.table->rows = std::move(rows);
  keep_columns_with_values(*result.table);
  return result;
}

}  // namespace quelor
