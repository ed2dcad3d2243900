#pragma once
// The text of a settings file: the version line and one value per line, each
// line ended by CR LF, in the order of the variant's family.

#include <string>
#include <string_view>

#include "settings/settings.h"
#include "variant/variant.h"

namespace quelor {

// Longest values a file line may carry into the record.
inline constexpr std::size_t kMaxFolderLength = 263;  // 264 with terminator
inline constexpr std::size_t kMaxSurveyLineLength = 15;

// The value lines only (no version line), each ended with CR LF.
std::string settings_values_text(const Settings& s, const Variant& v);

// The whole file: "Ver<version>" CR LF, then the value lines.
std::string settings_file_text(const Settings& s, const Variant& v);

// Reads the value lines (the text after the version line) into `s` in the
// family's order. Numbers are read as atoi/atol/atof do; folders keep at most
// 263 characters and the survey line 15. Lines missing at the end leave their
// fields as they were. Afterwards colour map view is 0 when the instrument is
// disabled or in the navigation line. Returns the number of lines read.
int read_settings_text(std::string_view text_after_version, Settings& s, const Variant& v);

}  // namespace quelor
