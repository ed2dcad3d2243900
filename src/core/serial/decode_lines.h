#pragma once
// Decoders of the line records: Grad601 ($PBAR) and DualEM CS-21 ($PDLM).
// Fields are comma-separated, the head being field 1.

#include <array>
#include <optional>
#include <string_view>

namespace quelor {

struct Grad601Reading {
  int count = 1;                                  // 1, or 2 with the two-sensor set-up
  std::array<std::optional<double>, 2> values{};  // nullopt: field empty or missing
};

// Field 2 is the first sensor, field 3 the second (two sensors); both read
// with atof when the field is not empty.
Grad601Reading decode_grad601(std::string_view line, bool two_sensors);

struct Cs21Reading {
  std::array<std::optional<double>, 4> values{};  // fields 3-6, nullopt where not numeric
  char flag = 0;                                  // the character right after the five-character head
};

Cs21Reading decode_cs21(std::string_view line);

}  // namespace quelor
