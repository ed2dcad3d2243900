#include "report/survey_data.h"

#include <cstdio>

namespace quelor {

std::string clock_text(double seconds) {
  if (!std::isfinite(seconds)) return "-";
  const long s = static_cast<long>(std::floor(seconds + 0.5)) % 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  return text;
}

}  // namespace quelor
