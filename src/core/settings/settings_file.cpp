#include "settings/settings_file.h"

#include <optional>
#include <string>

#include "settings/instrument_defaults.h"
#include "settings/line_reader.h"
#include "settings/settings_path.h"
#include "settings/settings_text.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

// Creates C:\ProgramData\Quelor and the variant's folder when missing, then
// writes the whole file.
int write_settings_file(const Settings& s, const Variant& v, FileSystem& fs) {
  fs.create_directory(settings_root_folder());
  fs.create_directory(settings_folder_path(v));
  return fs.write_file(settings_file_path(v), settings_file_text(s, v)) ? 1 : 0;
}

}  // namespace

int settings_file_operation(int mode, Settings& s, const Variant& v, FileSystem& fs) {
  if (!is_valid_variant(v)) return 0;
  if (mode == kSaveSettings) return write_settings_file(s, v, fs);
  if (mode != kLoadSettings && mode != kDeleteSettings) return 0;

  const std::wstring path = settings_file_path(v);
  std::optional<std::string> text = fs.read_file(path);
  if (!text) return write_settings_file(s, v, fs);

  LineReader reader{*text};
  std::optional<std::string_view> first = next_line(reader);
  const bool same_version = first && *first == settings_version_line(v);
  if (!same_version || mode == kDeleteSettings) {
    const bool deleted = fs.delete_file(path);
    if (mode == kDeleteSettings) return deleted ? 1 : 0;
    return write_settings_file(s, v, fs);
  }
  read_settings_text(std::string_view(*text).substr(reader.position), s, v);
  return 1;
}

Settings settings_at_start(const Variant& v, FileSystem& fs) {
  Settings s = initial_settings(v);
  settings_file_operation(kLoadSettings, s, v, fs);
  if (has_trait(v.instrument_type, Trait::kNoGeometryUnits)) s.geometry_units = 0;
  return s;
}

}  // namespace quelor
