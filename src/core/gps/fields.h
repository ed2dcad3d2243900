#pragma once
// Field extraction from a separated sentence. Field 1 is the text up to the
// first separator (the sentence head, "$GPGGA"); field n is the text between
// separator n-1 and separator n, or the rest of the text when separator n is
// missing, so the last field of a sentence keeps "*" and the checksum digits.

#include <string_view>

namespace quelor {

// True and the field in `out` when the text has at least n-1 separators.
bool extract_field(std::string_view text, int n, char separator, std::string_view& out);

}  // namespace quelor
