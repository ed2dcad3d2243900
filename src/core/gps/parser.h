#pragma once
// The parser of position sentences: the format table's (role, field) pairs in
// order, with every validity rule, the feet conversion of the pseudo-GGA grid
// values and the time of day.

#include <optional>
#include <string>
#include <string_view>

#include "gps/fix.h"
#include "gps/formats.h"
#include "variant/variant.h"

namespace quelor {

struct FixOptions {
  int rts_units = 0;        // 0 international feet, 1 US survey feet
  bool show_extras = true;  // the three p-GGA SLAM values (not for EM61-LX2)
};

FixOptions fix_options(int rts_units, InstrumentType instrument_type);

// Parses a sentence already accepted by the reader. Geographic fixes are not
// projected here (see gps/survey_zone.h).
GpsFix parse_gps_fix(std::string_view sentence, const FormatTable& table, const FixOptions& options);

// True when the table has a pair with this role.
bool format_has_role(const FormatTable& table, int role);

// PDOP of a GSA sentence: field 16, or nothing when the field is missing.
std::optional<double> gsa_pdop(std::string_view gsa_sentence);

// "%-4.1f" of the PDOP, or "N/A" when the field is missing.
std::wstring pdop_text(std::string_view gsa_sentence);

// Dilution as shown: "%3.1f" below 10, "%3.0f" from 10.
std::wstring dilution_text(double dilution);

}  // namespace quelor
