#include "background/data_file_conversion.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "background/point_file.h"
#include "datafile/file_header.h"
#include "datafile/naming.h"
#include "datafile/record_cursor.h"
#include "datafile/stored_gps.h"
#include "gps/formats.h"
#include "gps/parser.h"
#include "gps/projection.h"
#include "gps/units.h"
#include "map/footprint.h"
#include "settings/value_text.h"

namespace quelor {

namespace {

constexpr std::string_view kEarlierFormatMarks[] = {"EM", "PRO", "ML", "QYN"};

// The navigation-line format ("QYN") keeps the GPS antenna's offsets from
// the sensor in header record 3 ('G', "%7.3f" X in columns 1-7 and Y in
// 8-14, in the file's map unit: record 1 column 15): its positions are moved
// to the sensor as the live map moves them.
struct SensorOffsets {
  double x = 0.0;  // lateral: the sensor lies x to the left of the antenna
  double y = 0.0;  // in-line: the sensor lies y behind the antenna
};

// What header records 1 and 3 tell the conversion.
struct FileSetup {
  FormatTable format = make_format_table(kFormatGga, false);  // GGA when the file does not say
  SensorOffsets offsets;
};

SensorOffsets offsets_in(double x, double y, int file_unit, int map_units) {
  const double to_metres = metres_per_unit(file_unit >= 0 && file_unit <= 2 ? file_unit : 0);
  if (!std::isfinite(x * to_metres) || !std::isfinite(y * to_metres)) return {};
  return {metres_to_working_unit(x * to_metres, map_units), metres_to_working_unit(y * to_metres, map_units)};
}

// This program's own files through their header; the earlier formats of the
// family by record 3 where it is a 'G' record.
FileSetup file_setup(const DataFile& file, int map_units) {
  FileSetup setup;
  if (const std::optional<FileHeader> h = read_file_header(file)) {
    const HeaderFields& f = h->fields;
    if (h->has_gps_digits) setup.format = make_format_table(f.gps_sentence, f.pseudo_gga_variant == 1);
    if (h->has_g3 && h->variant.navigation_mode == kNavigation)
      setup.offsets = offsets_in(f.gps_x_offset, f.gps_y_offset, f.map_units, map_units);
    return setup;
  }
  RecordCursor cursor = record_cursor(file, 3);
  const std::optional<DataRecord> g = next_record(cursor);
  if (!g || g->tag != 'G') return setup;
  const std::string_view r = g->body();
  if (const auto sentence = digit_at(r, 19); sentence && *sentence <= 8)
    setup.format = make_format_table(*sentence, digit_at(r, 18) == 1);
  if (file.bytes.substr(0, 8).find("QYN") != std::string_view::npos)
    setup.offsets = offsets_in(number_at(r, 1, 7).value_or(0.0), number_at(r, 8, 7).value_or(0.0),
                               digit_at(file.bytes, 15).value_or(0), map_units);
  return setup;
}

// The sensor positions of one line's antenna positions: each moved along its
// direction of travel (from the point before; the first point takes the
// direction to the next one). A point without a direction stays.
std::vector<MapPoint> sensor_positions(const std::vector<MapPoint>& antenna, SensorOffsets o) {
  std::vector<MapPoint> out = antenna;
  if (o.x == 0.0 && o.y == 0.0) return out;
  for (std::size_t i = 0; i < antenna.size(); ++i) {
    const MapPoint& from = antenna[i == 0 ? 0 : i - 1];
    const MapPoint& to = antenna[i == 0 ? std::min<std::size_t>(1, antenna.size() - 1) : i];
    const double dx = to.easting - from.easting, dy = to.northing - from.northing, d = std::hypot(dx, dy);
    if (!(d > 0)) continue;
    const double ux = dx / d, uy = dy / d;
    out[i] = {antenna[i].easting - o.y * ux - o.x * uy, antenna[i].northing - o.y * uy + o.x * ux};
  }
  return out;
}

struct Converter {
  const DataFileConversion& c;
  FormatTable table;
  FixOptions options;
  SensorOffsets offsets;
  std::string out;
  std::vector<MapPoint> line;  // antenna positions of the current survey line
  bool drawn_since_break = false;
  FixJumpScreen jumps;

  // A sentence whose checksum fails, or a position that jumps, gives no point.
  void sentence(const StoredSentence& s) {
    const std::string_view text = s.text;
    if (text.empty() || text[0] != '$') return;
    if (check_stored_sentence(s.text, table) != StoredSentenceCheck::kOk) return;
    if (text.find(table.sentence_name) == std::string_view::npos) return;
    const GpsFix fix = parse_gps_fix(text, table, options);
    if (!fix.valid) return;
    if (s.summarised && screen_fix(jumps, fix, s.tick)) return;
    double easting = 0.0, northing = 0.0;
    if (fix.geographic) {
      const GridPoint p = project_to_utm(fix.latitude, fix.longitude, c.zone);
      easting = metres_to_working_unit(p.easting, c.map_units);
      northing = metres_to_working_unit(p.northing, c.map_units);
    } else {
      easting = rts_metres_to_working_unit(fix.easting, c.map_units);
      northing = rts_metres_to_working_unit(fix.northing, c.map_units);
    }
    line.push_back({easting, northing});
  }

  void new_line() {
    for (const MapPoint& p : sensor_positions(line, offsets)) {
      out += point_record(p.easting, p.northing);
      drawn_since_break = true;
    }
    line.clear();
    if (drawn_since_break) out += break_record();
    drawn_since_break = false;
  }

  std::string finish() {
    for (const MapPoint& p : sensor_positions(line, offsets)) out += point_record(p.easting, p.northing);
    line.clear();
    return std::move(out);
  }
};

}  // namespace

int data_file_record_length(std::string_view bytes) { return open_data_file(bytes).record_length; }

bool data_file_identification_supported(std::string_view first_record) {
  if (variant_of_program_code(first_record.substr(0, 9)).has_value()) return true;
  const std::string_view head = first_record.substr(0, 8);
  for (std::string_view mark : kEarlierFormatMarks)
    if (head.find(mark) != std::string_view::npos) return true;
  return false;
}

std::optional<std::string> convert_data_file(std::string_view bytes, const DataFileConversion& c) {
  const DataFile file = open_data_file(bytes);
  // Shorter records cannot hold an identification (code and version).
  if (file.record_length < 13) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(file.record_length);
  if (!data_file_identification_supported(bytes.substr(0, length - 1))) return std::nullopt;

  const FileSetup setup = file_setup(file, c.map_units);
  Converter k{c, setup.format, fix_options(c.rts_units, c.instrument_type), setup.offsets, {}, {}};
  SentenceAssembly sentences;
  RecordCursor cursor = record_cursor(file);
  while (const auto r = next_record(cursor)) {
    if (const auto s = feed_sentence(sentences, *r)) k.sentence(*s);
    if (r->kind == RecordKind::kIdentification) k.jumps = FixJumpScreen{};
    if (r->tag == 'L') k.new_line();
  }
  if (const auto s = finish_sentence(sentences)) k.sentence(*s);
  return k.finish();
}

}  // namespace quelor
