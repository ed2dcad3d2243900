#include "grid/contours_geojson.h"

#include <cstdio>

#include "gps/projection_inverse.h"
#include "gps/units.h"

namespace quelor {

namespace {

std::string json_string(const std::string& s) {
  std::string out = "\"";
  for (unsigned char ch : s) {
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += static_cast<char>(ch);
    } else if (ch < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", ch);
      out += buf;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + "\"";
}

std::string line_text(const std::vector<ContourPoint>& line, const UtmFrame& f) {
  const double m = metres_per_unit(f.map_units);
  std::string out = "[";
  for (const ContourPoint& p : line) {
    const GeographicPoint g = utm_to_geographic(p.x * m, p.y * m, f.zone, f.south);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s[%.9f,%.9f]", out.size() > 1 ? "," : "", g.longitude, g.latitude);
    out += buf;
  }
  return out + "]";
}

}  // namespace

std::string contours_geojson(const std::vector<ContourLevel>& levels, const UtmFrame& frame, const std::string& name) {
  std::string out = "{\"type\":\"FeatureCollection\",\"name\":" + json_string(name) + ",\"features\":[";
  for (std::size_t i = 0; i < levels.size(); ++i) {
    char level[40];
    std::snprintf(level, sizeof level, "%.10g", levels[i].level);
    out += i ? ",\n" : "\n";
    out += "{\"type\":\"Feature\",\"properties\":{\"level\":";
    out += level;
    out += "},\"geometry\":{\"type\":\"MultiLineString\",\"coordinates\":[";
    for (std::size_t k = 0; k < levels[i].lines.size(); ++k) {
      if (k) out += ',';
      out += line_text(levels[i].lines[k], frame);
    }
    out += "]}}";
  }
  return out + "\n]}\n";
}

}  // namespace quelor
