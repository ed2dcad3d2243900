#include "gps/checksum.h"

#include "gps/number_text.h"

namespace quelor {

std::uint8_t nmea_checksum(std::string_view sentence) {
  std::size_t i = !sentence.empty() && sentence[0] == '$' ? 1 : 0;
  std::uint8_t sum = 0;
  for (; i < sentence.size() && sentence[i] != '*'; ++i) sum ^= static_cast<std::uint8_t>(sentence[i]);
  return sum;
}

ChecksumResult check_nmea_checksum(std::string_view sentence) {
  const std::size_t star = sentence.find('*');
  if (star == std::string_view::npos) return ChecksumResult::kMissing;
  std::string_view digits = sentence.substr(star + 1);
  // A "0x" prefix is read as strtol reads it in base 16.
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    unsigned probe = 0;
    if (leading_hex(digits.substr(2), probe)) digits.remove_prefix(2);
  }
  unsigned written = 0;
  if (!leading_hex(digits, written)) return ChecksumResult::kMissing;
  return written == nmea_checksum(sentence) ? ChecksumResult::kOk : ChecksumResult::kMismatch;
}

}  // namespace quelor
