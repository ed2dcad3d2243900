#include "datafile/naming.h"

#include <array>
#include <cctype>

#include "datafile/record_layout.h"
#include "settings/value_text.h"

namespace quelor {

namespace {

struct FileIdentity {
  InstrumentType instrument_type;
  const char* code[2];       // by navigation mode
  const char* extension[2];  // ".T31" / ".H31"
  const char* label[2];      // file-type label stem: "ZLK31" / "Qyn31"
  const char* marker;
};

// Program codes of EM61-LX2 and of the High Power EM61-MK2 come from their
// own rule (program_code below).
constexpr std::array<FileIdentity, 9> kIdentities{{
    {kEm31Mk2, {"ZLK31   W", "QYN31   W"}, {".T31", ".H31"}, {"ZLK31", "Qyn31"}, "ZLK31"},
    {kEm38, {"ZLK38   W", "QYN38   W"}, {".T38", ".H38"}, {"ZLK38", "Qyn38"}, "ZLK38"},
    {kEm34_3, {"ZLK343  W", "QYN343  W"}, {".T34", ".H34"}, {"ZLK34-3", "Qyn34-3"}, "ZLK343"},
    {kEm38Mk2, {"ZLK38MK2W", "QYN382  W"}, {".TM8", ".382"}, {"ZLK38MK2", "Qyn38MK2"}, "ZLK38MK2"},
    {kEm38_4, {"ZLK384  W", "QYN384  W"}, {".38A", ".38N"}, {"ZLK38-4", "Qyn38-4"}, "ZLK384"},
    {kCs21, {"ZLKCS21 W", "QYNCS21 W"}, {".R21", ".D21"}, {"ZLKCS21", "QynCS21"}, "ZLKCS21"},
    {kGrad601, {"ZLK601 AW", "QYN601 AW"}, {".RGR", ".601"}, {"ZLK601", "Qyn601"}, "ZLK601"},
    {kEm61Lx2, {"ZLKLX1  W", "QYNLX1  W"}, {".RX2", ".TX2"}, {"ZLK61LX2", "Qyn61LX2"}, "ZLKLX"},
    {kEm61Mk2, {"ZLKMK2  W", "QYNMK2  W"}, {".T61", ".P61"}, {"ZLK61MK2", "Qyn61MK2"}, "ZLKMK2"},
}};

const FileIdentity& identity(InstrumentType instrument_type) {
  for (const FileIdentity& id : kIdentities)
    if (id.instrument_type == instrument_type) return id;
  return kIdentities[0];
}

int line_of(const Variant& v) { return v.navigation_mode == kNavigation ? 1 : 0; }

}  // namespace

std::string_view data_file_extension(const Variant& v, bool instrument_used) {
  if (!instrument_used) return ".gxy";
  return identity(v.instrument_type).extension[line_of(v)];
}

std::string default_extension(const Variant& v, bool instrument_used) {
  std::string ext(data_file_extension(v, instrument_used).substr(1));
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

FileTypeEntry file_type_entry(const Variant& v, bool instrument_used) {
  const std::string pattern = "*." + default_extension(v, instrument_used);
  const std::string stem = instrument_used ? identity(v.instrument_type).label[line_of(v)] : "ZLKGXY";
  return {stem + " Files (" + pattern + ")", pattern};
}

std::string_view file_marker(InstrumentType instrument_type) { return identity(instrument_type).marker; }

std::string program_code(const Variant& v, int em61_model, int number_of_sensors) {
  std::string code = identity(v.instrument_type).code[line_of(v)];
  if (v.instrument_type == kEm61Lx2) {
    code[5] = number_of_sensors > 0 ? '2' : '1';
    if (em61_model != 0) code[6] = 'N';
  } else if (v.instrument_type == kEm61Mk2 && v.navigation_mode == kNavigation && em61_model % 2 == 1) {
    code[6] = 'H';
  }
  return code;
}

std::optional<Variant> variant_of_program_code(std::string_view code) {
  if (code.size() < 9) return std::nullopt;
  std::string upper(code.substr(0, 9));
  upper[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(upper[0])));
  for (const FileIdentity& id : kIdentities)
    for (int line = 0; line < 2; ++line)
      for (int model = 0; model < 4; ++model)
        for (int sensors = 0; sensors < 2; ++sensors) {
          const Variant v{id.instrument_type, line};
          if (program_code(v, model, sensors) == upper) return v;
        }
  return std::nullopt;
}

std::string format_version(const Variant& v) {
  if (!is_valid_variant(v)) return "000";
  return version_digits(product_names(v).version);
}

std::string foreign_file_notice(const Variant& v) {
  const Variant map_line{v.instrument_type, kRealTimeMap};
  std::string name = is_valid_variant(map_line) ? std::string(product_names(map_line).program_name) : "Zelko";
  return "File not from " + name + " program";
}

std::string date_stem(const LocalTime& t) { return format_text("%02d%02d%02d_", t.year % 100, t.month, t.day); }

std::optional<std::wstring> automatic_name(FileSystem& fs, const std::wstring& folder, const LocalTime& today,
                                           std::string_view extension) {
  fs.create_directory(folder);
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  const std::string stem = date_stem(today);
  for (int n = 0; n < 1000; ++n) {
    const std::string name = stem + format_text("%03d", n);
    const std::wstring wide(name.begin(), name.end());
    const std::wstring ext(extension.begin(), extension.end());
    if (!fs.file_exists(base + wide + ext)) return wide;
  }
  return std::nullopt;
}

std::string data_file_name(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  const std::size_t start = slash == std::wstring::npos ? 0 : slash + 1;
  const std::size_t dot = path.find(L'.', start);
  const std::wstring title = path.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
  return narrow_printable(title);  // a CR or LF would break the header record
}

std::wstring folder_of(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring with_default_extension(const std::wstring& path, std::string_view extension_without_dot) {
  const std::size_t slash = path.rfind(L'\\');
  const std::size_t start = slash == std::wstring::npos ? 0 : slash + 1;
  if (path.find(L'.', start) != std::wstring::npos) return path;
  return path + L"." + std::wstring(extension_without_dot.begin(), extension_without_dot.end());
}

}  // namespace quelor
