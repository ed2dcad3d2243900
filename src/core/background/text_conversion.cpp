#include "background/text_conversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "background/point_file.h"
#include "background/unit_factors.h"
#include "gps/projection.h"

namespace quelor {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool geodetic_in_range(double latitude, double longitude) {
  return std::fabs(latitude) <= 90.0 && std::fabs(longitude) <= 180.0;
}

// Map-unit coordinates of the line's position, false when unusable.
bool to_map_units(double first, double second, const TextConversion& c, double& easting, double& northing) {
  const double factor = background_unit_factor(c.options.coordinates, c.map_units);
  if (c.options.coordinates != kGeodetic) {
    easting = first * factor;
    northing = second * factor;
    return true;
  }
  if (!geodetic_in_range(second, first)) return false;
  const GridPoint p = project_to_utm(second, first, c.zone);
  easting = p.easting * factor;
  northing = p.northing * factor;
  return true;
}

}  // namespace

std::vector<std::string_view> split_columns(std::string_view line, char delimiter) {
  std::vector<std::string_view> columns;
  if (delimiter == ' ') {
    std::size_t at = 0;
    while (at < line.size()) {
      while (at < line.size() && line[at] == ' ') ++at;
      if (at >= line.size()) break;
      const std::size_t end = line.find(' ', at);
      columns.push_back(line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
      at = end == std::string_view::npos ? line.size() : end;
    }
    return columns;
  }
  std::size_t at = 0;
  while (true) {
    const std::size_t end = line.find(delimiter, at);
    if (end == std::string_view::npos) {
      columns.push_back(line.substr(at));
      return columns;
    }
    columns.push_back(line.substr(at, end - at));
    at = end + 1;
  }
}

bool allows_decimal_comma(int delimiter) {
  const char d = delimiter_character(delimiter);
  return d == ';' || d == '\t';
}

// Independent of the C locale: from_chars reads the point only.
bool read_coordinate(std::string_view field, double& value, bool decimal_comma) {
  std::string text(trim(field));
  if (!text.empty() && text[0] == '+') text.erase(0, 1);
  if (text.empty() || text[0] == '+') return false;
  if (decimal_comma && std::count(text.begin(), text.end(), ',') == 1 && text.find('.') == std::string::npos)
    std::replace(text.begin(), text.end(), ',', '.');
  double v = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (end != text.data() + text.size()) return false;
  if (error == std::errc::result_out_of_range) {
    value = text[0] == '-' ? -HUGE_VAL : HUGE_VAL;  // a number, but of no map
    return true;
  }
  if (error != std::errc{} || !std::isfinite(v)) return false;
  value = v;
  return true;
}

std::string convert_text_line(std::string_view line, const TextConversion& c, std::string* refusal) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty() || line[0] == '/') return {};
  if (line[0] == 'b' || line[0] == 'B') return break_record();
  const std::vector<std::string_view> columns = split_columns(line, delimiter_character(c.options.delimiter));
  const auto column = [&](int index) -> std::string_view {
    return index >= 0 && static_cast<std::size_t>(index) < columns.size() ? columns[index] : std::string_view{};
  };
  const bool comma = allows_decimal_comma(c.options.delimiter);
  double first = 0.0, second = 0.0;
  for (const auto& [index, value] :
       {std::pair{c.options.easting_column, &first}, {c.options.northing_column, &second}}) {
    const std::string_view field = trim(column(index));
    if (field.empty()) return {};  // a missing or empty column: no record
    if (!read_coordinate(field, *value, comma)) {
      if (refusal)
        *refusal =
            "\"" + std::string(field.substr(0, 24)) + "\" in column " + std::to_string(index + 1) + " is not a number";
      return {};
    }
  }
  double easting = 0.0, northing = 0.0;
  if (!to_map_units(first, second, c, easting, northing)) return unusable_point_record();
  std::string_view label;
  if (c.options.file_type == kBackgroundLabelledText)
    label = trim(column(c.options.labels_column)).substr(0, kPointLabelLength);
  return point_record(easting, northing, label);
}

namespace {

bool has_digit(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

// A heading such as "Easting;Northing;Name" before the first point.
bool is_heading(std::string_view line, const TextConversion& c) {
  const std::vector<std::string_view> columns = split_columns(line, delimiter_character(c.options.delimiter));
  for (int index : {c.options.easting_column, c.options.northing_column})
    if (index >= 0 && static_cast<std::size_t>(index) < columns.size() && has_digit(columns[index])) return false;
  return true;
}

}  // namespace

TextFileConversion convert_text_file(std::string_view text, const TextConversion& c) {
  TextFileConversion out;
  std::size_t at = 0;
  for (int number = 1; at < text.size(); ++number) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    std::string refusal;
    const std::string record = convert_text_line(line, c, &refusal);
    if (!refusal.empty() && !(out.records.empty() && is_heading(line, c))) {
      out.refused_line = number;
      out.refusal = refusal;
      out.records.clear();
      return out;
    }
    out.records += record;
  }
  return out;
}

}  // namespace quelor
