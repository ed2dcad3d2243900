#include "settings/settings_path.h"

#include <string_view>

namespace quelor {

namespace {

std::wstring widen_ascii(std::string_view s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

std::wstring settings_root_folder() { return L"C:\\ProgramData\\Quelor"; }

std::wstring settings_folder_path(const Variant& v) {
  if (!is_valid_variant(v)) return {};
  return settings_root_folder() + L"\\" + widen_ascii(product_names(v).settings_stem);
}

std::wstring settings_file_path(const Variant& v) {
  if (!is_valid_variant(v)) return {};
  const ProductNames& names = product_names(v);
  return settings_folder_path(v) + L"\\" + widen_ascii(names.settings_stem) + L"_" +
         widen_ascii(version_digits(names.version)) + L".INI";
}

std::string settings_version_line(const Variant& v) {
  if (!is_valid_variant(v)) return {};
  return "Ver" + std::string(product_names(v).version);
}

}  // namespace quelor
