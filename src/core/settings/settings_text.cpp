#include "settings/settings_text.h"

#include <cmath>

#include <optional>
#include <type_traits>

#include "settings/line_reader.h"
#include "settings/settings_lines.h"
#include "settings/settings_path.h"
#include "settings/value_text.h"

namespace quelor {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string format_value(const FieldRef& field) {
  return std::visit(
      [](auto* value) -> std::string {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, int>)
          return format_int(*value);
        else if constexpr (std::is_same_v<T, long>)
          return format_long(*value);
        else if constexpr (std::is_same_v<T, ColorRef>)
          return format_colour(*value);
        else if constexpr (std::is_same_v<T, double>)
          return format_double(*value);
        else if constexpr (std::is_same_v<T, std::wstring>)
          return narrow_printable(std::wstring_view(*value).substr(0, kMaxFolderLength));
        else
          return printable_bytes(value->substr(0, kMaxSurveyLineLength));
      },
      field);
}

void parse_value(std::string_view text, const FieldRef& field, double (*read_rule)(double)) {
  std::visit(
      [text, read_rule](auto* value) {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, int>)
          *value = parse_int(text);
        else if constexpr (std::is_same_v<T, long>)
          *value = parse_long(text);
        else if constexpr (std::is_same_v<T, ColorRef>)
          *value = parse_colour(text);
        else if constexpr (std::is_same_v<T, double>) {
          // "inf" or "nan" in a damaged file: the row's rule, else the value in force stays.
          const double d = parse_double(text);
          if (read_rule != nullptr)
            *value = read_rule(d);
          else if (std::isfinite(d))
            *value = d;
        } else if constexpr (std::is_same_v<T, std::wstring>)
          *value = widen_text(text.substr(0, kMaxFolderLength));
        else
          *value = std::string(text.substr(0, kMaxSurveyLineLength));
      },
      field);
}

bool is_present(const SettingsLine& row, const Variant& v) { return row.present == nullptr || row.present(v); }

}  // namespace

std::string settings_values_text(const Settings& s, const Variant& v) {
  Settings values = s;  // the accessors hand out references into a record
  const bool navigation = v.navigation_mode == kNavigation;
  std::string text;
  for (const SettingsLine& row : settings_lines(v.instrument_type)) {
    if (!is_present(row, v)) continue;
    for (int i = row.first; i < row.first + row.count; ++i) {
      text += row.zero_in_navigation && navigation ? std::string("0") : format_value(row.field(values, i));
      text += kLineEnd;
    }
  }
  return text;
}

std::string settings_file_text(const Settings& s, const Variant& v) {
  std::string text = settings_version_line(v);
  text += kLineEnd;
  return text + settings_values_text(s, v);
}

int read_settings_text(std::string_view text_after_version, Settings& s, const Variant& v) {
  LineReader reader{text_after_version};
  int lines_read = 0;
  bool at_end = false;
  for (const SettingsLine& row : settings_lines(v.instrument_type)) {
    if (!is_present(row, v)) continue;
    for (int i = row.first; i < row.first + row.count && !at_end; ++i) {
      std::optional<std::string_view> line = next_line(reader);
      if (!line) {
        at_end = true;
        break;
      }
      parse_value(*line, row.field(s, i), row.read_rule);
      ++lines_read;
    }
  }
  if (s.instrument_state == 0 || v.navigation_mode == kNavigation) s.colour_map_view = 0;
  return lines_read;
}

}  // namespace quelor
