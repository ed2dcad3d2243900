#include "export/export_formats.h"

#include <cstdio>
#include <vector>

#include "variant/instrument.h"
#include "variant/variant.h"
#include "export/xml_text.h"

namespace quelor {

namespace {

// The cells of one row as text, empty where there is no value.
struct Cells {
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> rows;
  std::vector<bool> text;  // a column of text, not numbers
};

std::string printed(const char* format, double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

// The length of the well-formed UTF-8 sequence at the start of `s`, 0 when
// there is none (a stray continuation byte, an overlong form, a surrogate,
// beyond U+10FFFF, or cut short).
std::size_t utf8_sequence_length(std::string_view s) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b = byte(0);
  if (b < 0x80) return 1;
  const std::size_t n = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
  if (n == 0 || s.size() < n) return 0;
  for (std::size_t i = 1; i < n; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  const unsigned char second = byte(1);
  if ((b == 0xE0 && second < 0xA0) || (b == 0xED && second > 0x9F) || (b == 0xF0 && second < 0x90) ||
      (b == 0xF4 && second > 0x8F))
    return 0;
  return n;
}

std::string instrument_name(const Variant& v) {
  const VariantRow* row = find_variant_row(v.instrument_type);
  return row ? std::string(row->instrument) : std::string("?");
}

// EMagPy reads the coil configurations by their names: a conductivity
// meter's columns without one (the EM38-4 auxiliary channels) stay out of
// that form. The columns of other instruments have no such names and stay.
bool in_form(const ExportTable& t, const ValueColumn& col, bool emagpy) {
  return !emagpy || !col.emagpy_name.empty() || !is_conductivity_meter(t.variant.instrument_type);
}

Cells cells_of(const ExportTable& t, bool emagpy) {
  Cells c;
  c.names = {"line",     "station",   "tick",       emagpy ? "x" : "easting", emagpy ? "y" : "northing", "zone",
             "latitude", "longitude", "fix_quality"};
  c.text = {true, false, false, false, false, false, false, false, false};
  for (const ValueColumn& col : t.columns) {
    if (!in_form(t, col, emagpy)) continue;
    c.names.push_back(emagpy && !col.emagpy_name.empty() ? col.emagpy_name : col.name);
    c.text.push_back(col.text);
  }
  for (const ExportRow& r : t.rows) {
    std::vector<std::string> cells = {utf8_text(r.line), printed("%.2f", r.station), std::to_string(r.tick)};
    if (r.position) {
      const PathPosition& p = *r.position;
      cells.push_back(printed("%.3f", p.easting));
      cells.push_back(printed("%.3f", p.northing));
      cells.push_back(p.geographic && t.zone > 0 ? std::to_string(t.zone) : std::string());
      cells.push_back(p.geographic ? printed("%.8f", p.latitude) : std::string());
      cells.push_back(p.geographic ? printed("%.8f", p.longitude) : std::string());
      cells.push_back(std::to_string(p.quality));
    } else {
      cells.insert(cells.end(), 6, std::string());
    }
    for (std::size_t i = 0; i < r.values.size() && i < t.columns.size(); ++i)
      if (in_form(t, t.columns[i], emagpy)) cells.push_back(utf8_text(r.values[i]));
    c.rows.push_back(std::move(cells));
  }
  return c;
}

std::string csv_field(const std::string& s) {
  if (s.find_first_of(",\"\n\r") == std::string::npos) return s;
  std::string out = "\"";
  for (char ch : s) out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
  return out + "\"";
}

std::string json_escaped(std::string_view s) {
  std::string out = "\"";
  for (unsigned char ch : s) {
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += static_cast<char>(ch);
    } else if (ch < 0x20 || ch == 0x7F) {
      out += printed("\\u%04x", ch);
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + "\"";
}

// Geosoft XYZ: blank-separated, "*" for no value, no blanks inside a cell.
std::string xyz_cell(const std::string& s) {
  if (s.empty()) return "*";
  std::string out = s;
  for (char& ch : out)
    if (ch == ' ' || ch == '\t') ch = '_';
  return out;
}

std::string line_label(const std::string& line, int ordinal) {
  return line.empty() ? std::to_string(ordinal) : xyz_cell(utf8_text(line));
}

std::string point_name(const ExportRow& r) {
  return "line " + utf8_text(r.line) + " station " + printed("%.2f", r.station);
}

}  // namespace

std::string utf8_text(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t n = utf8_sequence_length(bytes);
    out += n ? bytes.substr(0, n) : std::string_view("\xEF\xBF\xBD");  // U+FFFD
    bytes.remove_prefix(n ? n : 1);
  }
  return out;
}

std::optional<ExportFormat> export_format_named(std::string_view name, bool emagpy) {
  if (name == "csv") return emagpy ? ExportFormat::kEmagpyCsv : ExportFormat::kCsv;
  if (emagpy) return std::nullopt;
  if (name == "xyz") return ExportFormat::kXyz;
  if (name == "geojson") return ExportFormat::kGeoJson;
  if (name == "kml") return ExportFormat::kKml;
  if (name == "gpx") return ExportFormat::kGpx;
  return std::nullopt;
}

std::string export_text(const ExportTable& table, ExportFormat format) {
  switch (format) {
    case ExportFormat::kCsv: return csv_text(table, false);
    case ExportFormat::kEmagpyCsv: return csv_text(table, true);
    case ExportFormat::kXyz: return xyz_text(table);
    case ExportFormat::kGeoJson: return geojson_text(table);
    case ExportFormat::kKml: return kml_text(table);
    case ExportFormat::kGpx: return gpx_text(table);
  }
  return {};
}

std::string csv_text(const ExportTable& table, bool emagpy) {
  const Cells c = cells_of(table, emagpy);
  std::string out;
  for (std::size_t i = 0; i < c.names.size(); ++i) {
    if (i) out += ',';
    out += csv_field(c.names[i]);
  }
  out += '\n';
  for (const auto& row : c.rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i) out += ',';
      out += csv_field(row[i]);
    }
    out += '\n';
  }
  return out;
}

std::string xyz_text(const ExportTable& table) {
  const Cells c = cells_of(table, false);
  std::string out = "/ " + instrument_name(table.variant) + " survey, program code " + table.program_code + "\n";
  out += table.zone > 0 ? "/ easting, northing: UTM zone " + std::to_string(table.zone) + " on WGS 84, metres\n"
                        : std::string("/ easting, northing: grid metres\n");
  out += "/";
  for (const std::string& n : c.names) out += " " + n;
  out += '\n';
  for (std::size_t r = 0; r < c.rows.size(); ++r) {
    // A new block at every line block of the file, even for a repeated name.
    if (r == 0 || table.rows[r].line_block != table.rows[r - 1].line_block)
      out += "Line " + line_label(table.rows[r].line, table.rows[r].line_block) + "\n";
    for (std::size_t i = 0; i < c.rows[r].size(); ++i) {
      if (i) out += ' ';
      out += xyz_cell(c.rows[r][i]);
    }
    out += '\n';
  }
  return out;
}

std::string geojson_text(const ExportTable& table) {
  const Cells c = cells_of(table, false);
  std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
  for (std::size_t r = 0; r < c.rows.size(); ++r) {
    const ExportRow& row = table.rows[r];
    out += r ? ",\n" : "\n";
    out += "{\"type\":\"Feature\",\"geometry\":";
    if (row.position && row.position->geographic)
      out += "{\"type\":\"Point\",\"coordinates\":[" + printed("%.8f", row.position->longitude) + "," +
             printed("%.8f", row.position->latitude) + "]}";
    else
      out += "null";
    out += ",\"properties\":{";
    for (std::size_t i = 0; i < c.names.size(); ++i) {
      const std::string& v = c.rows[r][i];
      if (i) out += ',';
      out += json_escaped(c.names[i]);
      out += ':';
      out += v.empty() ? std::string("null") : c.text[i] ? json_escaped(v) : v;
    }
    out += "}}";
  }
  out += "\n]}\n";
  return out;
}

std::string kml_text(const ExportTable& table) {
  const Cells c = cells_of(table, false);
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";
  out += "<name>" + xml_escaped(instrument_name(table.variant)) + " readings</name>\n";
  for (std::size_t r = 0; r < c.rows.size(); ++r) {
    const ExportRow& row = table.rows[r];
    out += "<Placemark><name>" + xml_escaped(point_name(row)) + "</name><ExtendedData>";
    for (std::size_t i = 0; i < c.names.size(); ++i)
      out += "<Data name=\"" + xml_escaped(c.names[i]) + "\"><value>" + xml_escaped(c.rows[r][i]) + "</value></Data>";
    out += "</ExtendedData>";
    if (row.position && row.position->geographic)
      out += "<Point><coordinates>" + printed("%.8f", row.position->longitude) + "," +
             printed("%.8f", row.position->latitude) + "</coordinates></Point>";
    out += "</Placemark>\n";
  }
  out += "</Document>\n</kml>\n";
  return out;
}

std::string gpx_text(const ExportTable& table) {
  const Cells c = cells_of(table, false);
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"quelor\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
  for (std::size_t r = 0; r < c.rows.size(); ++r) {
    const ExportRow& row = table.rows[r];
    if (!row.position || !row.position->geographic) continue;
    out += "<wpt lat=\"" + printed("%.8f", row.position->latitude) + "\" lon=\"" +
           printed("%.8f", row.position->longitude) + "\"><name>" + xml_escaped(point_name(row)) + "</name><desc>";
    bool first = true;
    for (std::size_t i = 0; i < c.names.size(); ++i) {
      if (c.rows[r][i].empty()) continue;
      if (!first) out += ' ';
      out += xml_escaped(c.names[i]);
      out += '=';
      out += xml_escaped(c.rows[r][i]);
      first = false;
    }
    out += "</desc></wpt>\n";
  }
  out += "<trk><name>" + xml_escaped(instrument_name(table.variant)) + " GPS fixes</name>\n";
  for (const std::vector<PathFix>& segment : table.track) {
    std::string points;
    for (const PathFix& f : segment)
      if (f.geographic)
        points += "<trkpt lat=\"" + printed("%.8f", f.latitude) + "\" lon=\"" + printed("%.8f", f.longitude) + "\"/>\n";
    if (!points.empty()) out += "<trkseg>\n" + points + "</trkseg>\n";
  }
  out += "</trk>\n</gpx>\n";
  return out;
}

}  // namespace quelor
