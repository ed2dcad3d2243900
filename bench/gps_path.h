#pragma once
// The GGA sentence of the GPS benchmarks and the whole path it takes in the
// program: byte-by-byte assembly, checksum, parse and projection.

#include <cstdio>
#include <string>

#include "gps/assembler.h"
#include "gps/checksum.h"
#include "gps/fix_texts.h"
#include "gps/parser.h"
#include "gps/survey_zone.h"

namespace quelor::bench {

inline std::string with_checksum(const std::string& body) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "*%02X", nmea_checksum(body));
  return body + buf + "\r\n";
}

inline const std::string kGga =
    with_checksum("$GPGGA,123519.00,4807.03812,N,01131.00045,E,4,12,0.9,545.4,M,46.9,M,1.2,0031");

struct GpsPath {
  FormatTable table = make_format_table(kFormatGga, false);
  SentenceAssembler assembler;
  SurveyZone zone = make_survey_zone(kAutomaticZone);
};

// Feeds `bytes` through the path; the sum of the eastings of the fixes (and,
// with `texts`, of their latitude texts' lengths: the window's work).
inline double feed(GpsPath& path, const std::string& bytes, bool texts) {
  double sum = 0;
  for (unsigned char c : bytes) {
    if (!assemble_byte(path.assembler, c, 0)) continue;
    const std::string_view line = assembled_line(path.assembler);
    if (!checksum_ok(line)) continue;
    GpsFix fix = parse_gps_fix(line, path.table, FixOptions{});
    project_fix(path.zone, fix);
    sum += fix.easting;
    if (texts) sum += static_cast<double>(fix_display_texts(fix, line).latitude.size());
  }
  return sum;
}

}  // namespace quelor::bench
