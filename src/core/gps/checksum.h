#pragma once
// The NMEA checksum: the XOR of every character after "$" up to "*", written
// after "*" as a hexadecimal number.

#include <cstdint>
#include <string_view>

namespace quelor {

enum class ChecksumResult { kOk, kMissing, kMismatch };

// XOR of the characters after the first "$" (or from the start when the
// text has no "$" at position 0) up to the first "*" or the end.
std::uint8_t nmea_checksum(std::string_view sentence);

// kMissing without "*" or without a hexadecimal digit after it.
ChecksumResult check_nmea_checksum(std::string_view sentence);

inline bool checksum_ok(std::string_view sentence) { return check_nmea_checksum(sentence) == ChecksumResult::kOk; }

}  // namespace quelor
