#include "gps/quality.h"

namespace quelor {

namespace {

constexpr std::string_view kLabels[10] = {"NO FIX", "AGPS", "DGPS", "RTK3", "RTK4",
                                          "RTK5",   "RTK6", "RTK7", "RTK8", "RTK9"};

}  // namespace

std::string_view quality_label(std::string_view quality_field) {
  if (quality_field.empty()) return "UNKW";
  const char c = quality_field[0];
  if (c < '0' || c > '9') return "UNKW";
  return kLabels[c - '0'];
}

}  // namespace quelor
