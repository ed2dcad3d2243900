#pragma once
// Builds NMEA sentences with a correct checksum for the tests.

#include <cstdio>
#include <string>

#include "gps/checksum.h"

namespace quelor::testing {

inline std::string nmea(const std::string& body) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "*%02X", nmea_checksum(body));
  return body + buf;
}

}  // namespace quelor::testing
