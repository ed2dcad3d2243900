#pragma once
// The dilution shown on a GSA sentence: its 16th comma-separated field
// (the sentence name counts as field 1), the PDOP of a standard GSA.

#include <optional>
#include <string>
#include <string_view>

namespace quelor {

// The value of field 16, or nothing when the sentence has fewer fields or
// the field is empty or not a number. A checksum ("*hh") ends the field.
std::optional<double> gsa_dilution(std::string_view sentence);

// "%-4.1f" of the dilution, or "N/A".
std::string gsa_dilution_text(std::string_view sentence);

}  // namespace quelor
