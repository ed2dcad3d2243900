// quelor utm LAT LON [--zone N]: one geographic position to UTM grid
// coordinates on WGS 84. quelor utm --batch reads "LAT LON [ZONE]" lines
// (zone 0 or none: the zone of the longitude) from stdin, one answer a line.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "commands.h"
#include "gps/projection.h"

namespace quelor::tool {

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "quelor utm: %s\n", message.c_str());
  return 2;
}

bool read_double(const char* text, double& value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end && *end == '\0' && std::isfinite(value);
}

bool read_zone(const char* text, int& zone) {
  if (!text || !*text) return false;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (!end || *end != '\0' || v < 1 || v > 60) return false;
  zone = static_cast<int>(v);
  return true;
}

bool position_in_range(double lat, double lon) { return lat >= -90.0 && lat <= 90.0 && lon >= -180.0 && lon <= 180.0; }

void print_point(const GridPoint& p) {
  std::printf("{\"zone\":%d,\"easting\":%.4f,\"northing\":%.4f}\n", p.zone, p.easting, p.northing);
}

int run_batch() {
  std::string line;
  long number = 0;
  while (std::getline(std::cin, line)) {
    ++number;
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::istringstream in(line);
    double lat = 0, lon = 0;
    int zone = 0;
    if (!(in >> lat >> lon)) return fail("line " + std::to_string(number) + ": expected LAT LON [ZONE]");
    if (!(in >> zone)) zone = 0;
    if (!position_in_range(lat, lon) || zone < 0 || zone > 60)
      return fail("line " + std::to_string(number) + ": position or zone out of range");
    print_point(project_to_utm(lat, lon, zone));
  }
  return 0;
}

}  // namespace

int run_utm(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--batch") == 0) return run_batch();
  const char* numbers[2] = {nullptr, nullptr};
  int count = 0;
  int zone = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--zone") == 0) {
      if (i + 1 >= argc || !read_zone(argv[i + 1], zone)) return fail("--zone needs a zone 1 to 60");
      ++i;
    } else if (std::strncmp(argv[i], "--", 2) == 0) {
      return fail(std::string("unknown option ") + argv[i]);
    } else if (count < 2) {
      numbers[count++] = argv[i];
    } else {
      return fail("usage: quelor utm LAT LON [--zone N]");
    }
  }
  double lat = 0, lon = 0;
  if (count != 2 || !read_double(numbers[0], lat) || !read_double(numbers[1], lon))
    return fail("usage: quelor utm LAT LON [--zone N] (decimal degrees)");
  if (!position_in_range(lat, lon)) return fail("latitude must be -90..90 and longitude -180..180");
  print_point(project_to_utm(lat, lon, zone));
  return 0;
}

}  // namespace quelor::tool
