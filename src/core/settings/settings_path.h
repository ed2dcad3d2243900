#pragma once
// Where a variant keeps its settings file and how the file's first line reads.

#include <string>

#include "variant/variant.h"

namespace quelor {

// "C:\ProgramData\Quelor": the parent of every variant's settings folder.
std::wstring settings_root_folder();

// "C:\ProgramData\Quelor\<stem>"; empty for a variant outside the table.
std::wstring settings_folder_path(const Variant& v);

// "C:\ProgramData\Quelor\<stem>\<stem>_<digits>.INI", e.g.
// C:\ProgramData\Quelor\Zelko31MK2\Zelko31MK2_230.INI; empty for a variant
// outside the table.
std::wstring settings_file_path(const Variant& v);

// "Ver" + version, e.g. "Ver2.30"; empty for a variant outside the table.
std::string settings_version_line(const Variant& v);

}  // namespace quelor
