#include "background/data_file_conversion.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "background/point_file.h"
#include "datafile/naming.h"
#include "gps/checksum.h"
#include "gps/formats.h"
#include "gps/parser.h"
#include "gps/projection.h"
#include "gps/units.h"
#include "map/footprint.h"
#include "settings/value_text.h"

namespace quelor {

namespace {

constexpr std::string_view kEarlierFormatMarks[] = {"EM", "PRO", "ML", "QYN"};

std::string_view trim_right(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The GPS format stored in header record 3 ('G', column 19, the pseudo-GGA
// variant in column 18); GGA when the file does not say.
FormatTable file_format(std::string_view bytes, std::size_t length) {
  if (bytes.size() < 3 * length) return make_format_table(kFormatGga, false);
  const std::string_view g = bytes.substr(2 * length, length);
  if (g[0] != 'G' || length < 21 || g[19] < '0' || g[19] > '8') return make_format_table(kFormatGga, false);
  return make_format_table(g[19] - '0', g[18] == '1');
}

// The navigation-line format ("QYN") keeps the GPS antenna's offsets from
// the sensor in header record 3 ('G', "%7.3f" X in columns 1-7 and Y in
// 8-14, in the file's map unit: record 1 column 15): its positions are moved
// to the sensor as the live map moves them.
struct SensorOffsets {
  double x = 0.0;  // lateral: the sensor lies x to the left of the antenna
  double y = 0.0;  // in-line: the sensor lies y behind the antenna
};

double field_number(std::string_view field) {
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  return parse_double(field);
}

SensorOffsets file_offsets(std::string_view bytes, std::size_t length, int map_units) {
  if (bytes.size() < 3 * length || length < 16 || bytes.substr(0, 8).find("QYN") == std::string_view::npos) return {};
  const std::string_view g = bytes.substr(2 * length, length);
  if (g[0] != 'G') return {};
  const char unit_digit = bytes.size() > 15 ? bytes[15] : '0';
  const int file_unit = unit_digit >= '0' && unit_digit <= '2' ? unit_digit - '0' : 0;
  const double to_metres = metres_per_unit(file_unit);
  SensorOffsets o{field_number(g.substr(1, 7)) * to_metres, field_number(g.substr(8, 7)) * to_metres};
  if (!std::isfinite(o.x) || !std::isfinite(o.y)) return {};
  return {metres_to_working_unit(o.x, map_units), metres_to_working_unit(o.y, map_units)};
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

  void sentence(std::string_view text) {
    text = trim_right(text);
    if (text.empty() || text[0] != '$') return;
    if (table.checksum_required && !checksum_ok(text)) return;
    if (text.find(table.sentence_name) == std::string_view::npos) return;
    const GpsFix fix = parse_gps_fix(text, table, options);
    if (!fix.valid) return;
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

int data_file_record_length(std::string_view bytes) {
  const std::size_t lf = bytes.substr(0, kLongestDataRecord).find('\n');
  return lf == std::string_view::npos ? 0 : static_cast<int>(lf) + 1;
}

bool data_file_identification_supported(std::string_view first_record) {
  if (variant_of_program_code(first_record.substr(0, 9)).has_value()) return true;
  const std::string_view head = first_record.substr(0, 8);
  for (std::string_view mark : kEarlierFormatMarks)
    if (head.find(mark) != std::string_view::npos) return true;
  return false;
}

std::optional<std::string> convert_data_file(std::string_view bytes, const DataFileConversion& c) {
  const int record_length = data_file_record_length(bytes);
  // Shorter records cannot hold an identification (code and version).
  if (record_length < 13) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(record_length);
  if (!data_file_identification_supported(bytes.substr(0, length - 1))) return std::nullopt;

  Converter k{c, file_format(bytes, length), fix_options(c.rts_units, c.instrument_type),
              file_offsets(bytes, length, c.map_units), {}, {}};
  std::string pending;
  bool open = false;
  for (std::size_t at = 0; at + length <= bytes.size(); at += length) {
    const std::string_view rec = bytes.substr(at, length);
    const std::string_view body = rec.substr(1, length - 2);
    if (rec[0] == '#' && open) {
      pending += body;
      continue;
    }
    if (open) k.sentence(pending);
    open = rec[0] == '@';
    if (open) pending.assign(body);
    if (rec[0] == 'L') k.new_line();
  }
  if (open) k.sentence(pending);
  return k.finish();
}

}  // namespace quelor
