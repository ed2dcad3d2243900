#include "serial/decode_lines.h"

#include "serial/text_fields.h"

namespace quelor {

namespace {

std::optional<double> atof_field(std::string_view line, int n) {
  const std::optional<std::string_view> field = text_field(line, n);
  if (!field || field->empty()) return std::nullopt;
  return text_atof(*field);
}

}  // namespace

Grad601Reading decode_grad601(std::string_view line, bool two_sensors) {
  Grad601Reading r;
  r.count = two_sensors ? 2 : 1;
  r.values[0] = atof_field(line, 2);
  if (two_sensors) r.values[1] = atof_field(line, 3);
  return r;
}

Cs21Reading decode_cs21(std::string_view line) {
  Cs21Reading r;
  for (int i = 0; i < 4; ++i) {
    const std::optional<std::string_view> field = text_field(line, 3 + i);
    if (field) r.values[i] = numeric_field(*field);
  }
  r.flag = line.size() > 5 ? line[5] : 0;
  return r;
}

}  // namespace quelor
