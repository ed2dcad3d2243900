#include "background/point_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quelor {

namespace {

double number_at(std::string_view record, std::size_t from, std::size_t count) {
  const std::string field(record.substr(from, count));
  return std::strtod(field.c_str(), nullptr);
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

bool fits_point_field(double value) {
  // "%14.3f" holds -999999999.999 ... 9999999999.999 in 14 columns.
  return std::isfinite(value) && value > -999999999.9995 && value < 9999999999.9995;
}

std::string point_record(double easting, double northing, std::string_view label) {
  if (!fits_point_field(easting) || !fits_point_field(northing)) return unusable_point_record();
  std::string cut(label.substr(0, kPointLabelLength));
  for (char& c : cut)
    if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = '?';
  char buf[64];
  std::snprintf(buf, sizeof buf, "%14.3f,%14.3f,%1d,%-5s\n", easting, northing, static_cast<int>(cut.size()),
                cut.c_str());
  return buf;
}

std::string break_record() {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%14.3f,%14.3f,%1d,%-5s\n", kBreakCoordinate, kBreakCoordinate, 0, "");
  return buf;
}

std::string unusable_point_record() {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%14.3f,%14.3f,%1d,%-5s\n", kUnusableCoordinate, kUnusableCoordinate, 0, "");
  return buf;
}

std::vector<BackgroundPoint> read_point_file(std::string_view bytes) {
  std::vector<BackgroundPoint> points;
  for (std::size_t at = 0; at + kPointRecordLength <= bytes.size(); at += kPointRecordLength) {
    const std::string_view r = bytes.substr(at, kPointRecordLength);
    BackgroundPoint p;
    p.easting = number_at(r, 0, 14);
    p.northing = number_at(r, 15, 14);
    const int length = r[30] >= '0' && r[30] <= '5' ? r[30] - '0' : 0;
    p.label = trimmed(r.substr(32, static_cast<std::size_t>(length)));
    p.pen_up = p.easting == kBreakCoordinate && p.northing == kBreakCoordinate && length == 0;
    points.push_back(std::move(p));
  }
  return points;
}

std::wstring file_name_part(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring folder_part(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring program_temporary_folder(std::wstring_view base, std::string_view program_name, unsigned long process_id) {
  std::wstring folder(base);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  for (char c : program_name) folder += static_cast<wchar_t>(static_cast<unsigned char>(c));
  folder += L'-' + std::to_wstring(process_id) + L'\\';
  return folder;
}

bool make_temporary_folder(const std::wstring& folder, FileSystem& fs) {
  bool made = false;
  for (std::size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
    made = fs.create_directory(folder.substr(0, at));
  return made;
}

std::wstring temporary_point_file_name(std::wstring_view source_path, int index, std::wstring_view folder) {
  std::wstring name = file_name_part(source_path);
  const std::size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  wchar_t suffix[16];
  std::swprintf(suffix, 16, L".$%02d", index);
  std::wstring out(folder);
  if (!out.empty() && out.back() != L'\\' && out.back() != L'/') out += L'\\';
  return out + name + suffix;
}

}  // namespace quelor
