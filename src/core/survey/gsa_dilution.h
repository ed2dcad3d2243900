#pragma once
// The dilution cell of the GPS block: filled from the 16th comma-separated
// field of a GSA sentence (the sentence name counts as field 1), the PDOP of
// a standard GSA, and from the position sentence's own dilution where its
// format has one (the HDOP of GGA, field 9).

#include <optional>
#include <string>
#include <string_view>

namespace quelor {

// The value of field 16, or nothing when the sentence has fewer fields or
// the field is empty or not a number. A checksum ("*hh") ends the field.
std::optional<double> gsa_dilution(std::string_view sentence);

// "%-4.1f" of the dilution, or "N/A".
std::string gsa_dilution_text(std::string_view sentence);

// "%-4.1f" of a dilution field's number, or "N/A" when it is empty or no number.
std::string dilution_field_text(std::string_view field);

}  // namespace quelor
