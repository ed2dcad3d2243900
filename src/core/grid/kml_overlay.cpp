#include "grid/kml_overlay.h"

#include <cmath>
#include <cstdio>

#include "gps/projection_inverse.h"
#include "gps/units.h"

namespace quelor {

namespace {

constexpr double kDegrees = 57.29577951308232;

// A point's offset from the centre in the box's plane (east, north).
struct Offset {
  double east, north;
};

Offset offset_of(const GeographicPoint& p, const GeographicPoint& centre) {
  double dlon = p.longitude - centre.longitude;
  if (dlon > 180.0) dlon -= 360.0;
  if (dlon < -180.0) dlon += 360.0;
  return {dlon * std::cos(centre.latitude / kDegrees), p.latitude - centre.latitude};
}

std::string xml_text(const std::string& s) {
  static const struct {
    char ch;
    const char* entity;
  } kEntities[] = {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&apos;"}};
  std::string out;
  for (char ch : s) {
    const char* entity = nullptr;
    for (const auto& e : kEntities)
      if (e.ch == ch) entity = e.entity;
    if (entity) out += entity;
    else if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t') out += ch;  // no control characters in XML 1.0
  }
  return out;
}

}  // namespace

LatLonBox overlay_box(const Grid& g, int zone, bool south, int map_units) {
  const double m = metres_per_unit(map_units);
  const double half_width = g.columns * g.cell * m / 2, half_height = g.rows * g.cell * m / 2;
  const double e = (g.west + g.columns * g.cell / 2) * m, n = (g.north - g.rows * g.cell / 2) * m;
  const GeographicPoint centre = utm_to_geographic(e, n, zone, south);
  const Offset up = offset_of(utm_to_geographic(e, n + half_height, zone, south), centre);
  const Offset right = offset_of(utm_to_geographic(e + half_width, n, zone, south), centre);
  const double h = std::hypot(up.east, up.north), w = std::hypot(right.east, right.north);
  const double w_lon = w / std::cos(centre.latitude / kDegrees);
  LatLonBox box;
  box.north = centre.latitude + h;
  box.south = centre.latitude - h;
  box.east = centre.longitude + w_lon;
  box.west = centre.longitude - w_lon;
  // Grid north, clockwise from true north; the overlay turns the other way.
  box.rotation = -std::atan2(up.east, up.north) * kDegrees;
  return box;
}

std::string ground_overlay_kml(const std::string& name, const std::string& description, const std::string& image,
                               const LatLonBox& box) {
  char numbers[400];
  std::snprintf(numbers, sizeof numbers,
                "      <north>%.9f</north>\n      <south>%.9f</south>\n      <east>%.9f</east>\n"
                "      <west>%.9f</west>\n      <rotation>%.6f</rotation>\n",
                box.north, box.south, box.east, box.west, box.rotation);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
         "<Document>\n"
         "  <name>" + xml_text(name) + "</name>\n"
         "  <GroundOverlay>\n"
         "    <name>" + xml_text(name) + "</name>\n"
         "    <description>" + xml_text(description) + "</description>\n"
         "    <Icon><href>" + xml_text(image) + "</href></Icon>\n"
         "    <LatLonBox>\n" + numbers +
         "    </LatLonBox>\n"
         "  </GroundOverlay>\n"
         "</Document>\n"
         "</kml>\n";
}

}  // namespace quelor
