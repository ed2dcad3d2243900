#include "setup/filter_factor.h"

#include <cstdio>

namespace quelor {

namespace {

constexpr double kKneeCode = 3.1;

std::string format_line(const char* pattern, double value) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

}  // namespace

double filter_factor_of_code(double code) { return code <= kKneeCode ? 108.0 * code + 18.0 : 128.0 * code - 44.0; }

double filter_code_of_factor(double factor) {
  return factor <= kFilterFactorKnee ? (factor - 18.0) / 108.0 : (factor + 44.0) / 128.0;
}

bool filter_factor_in_range(double factor) { return factor >= kFilterFactorMinimum && factor <= kFilterFactorMaximum; }

OperatorMessage filter_factor_range_message(Coil coil, double entered, double kept) {
  const bool left = coil == Coil::kLeft;
  OperatorMessage m;
  m.title = left ? "Filter Factor Left Coil" : "Filter Factor Right Coil";
  m.text = format_line(
               left ? "Entered Filter Factor for Left Coil ( %.1f )" : "Entered Filter Factor for Right Coil ( %.1f )",
               entered) +
           "\r\n is out of valid range ( 125 to 1000 ).\r\n" +
           format_line("Program restores previous value ( %.1f )", kept);
  return m;
}

FilterFactorEntry enter_filter_factor(Coil coil, double entered, double current) {
  if (filter_factor_in_range(entered)) return {entered, std::nullopt};
  return {current, filter_factor_range_message(coil, entered, current)};
}

}  // namespace quelor
