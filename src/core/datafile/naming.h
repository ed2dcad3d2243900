#pragma once
// Names of survey data files: extensions, the save dialog's file-type entry,
// the file marker and program codes of header record 1, and the automatic
// name of the day.

#include <optional>
#include <string>
#include <string_view>

#include "datafile/local_time.h"
#include "io/file_system.h"
#include "variant/variant.h"

namespace quelor {

// ".T31" / ".H31" ...; ".gxy" when no instrument is used (instrument state 0).
std::string_view data_file_extension(const Variant& v, bool instrument_used);

struct FileTypeEntry {
  std::string label;    // "Qyn31 Files (*.H31)"
  std::string pattern;  // "*.H31"
};
FileTypeEntry file_type_entry(const Variant& v, bool instrument_used);

// The extension without its dot, upper case: "H31", "GXY".
std::string default_extension(const Variant& v, bool instrument_used);

// Real-time map line marker at the start of record 1: "ZLK31", "ZLKMK2" ...
std::string_view file_marker(InstrumentType instrument_type);

// The nine characters of record 1 columns 0-8. EM61-LX2 by number of sensors
// (0 one, 1 two) and EM61 type (N.C.C. when not 0); EM61-MK2 navigation line
// "QYNMK2H W" for the High Power types (odd EM61 type).
std::string program_code(const Variant& v, int em61_model, int number_of_sensors);

// The variant whose program code this is (first letter in either case).
std::optional<Variant> variant_of_program_code(std::string_view code);

// Record 1 columns 9-11: the version without its point ("230").
std::string format_version(const Variant& v);

// "File not from Zelko31 program" with the variant's product name.
std::string foreign_file_notice(const Variant& v);

// "250307_" for 7 March 2025.
std::string date_stem(const LocalTime& t);

// The first free name stem + "%03d" (n = 0..999) in `folder` (which is
// created when missing), without extension; nothing when all 1000 exist.
std::optional<std::wstring> automatic_name(FileSystem& fs, const std::wstring& folder, const LocalTime& today,
                                           std::string_view extension);

// The data file name: the characters between the last backslash and the
// following dot, as 8-bit text.
std::string data_file_name(const std::wstring& path);

// The folder part of a path, with its trailing backslash ("C:\Data\").
std::wstring folder_of(const std::wstring& path);

// The path with the default extension added when its file name has none.
std::wstring with_default_extension(const std::wstring& path, std::string_view extension_without_dot);

}  // namespace quelor
